#include "widgets/ValueSlider.h"

#include "widgets/Handles.h"

#include <commctrl.h>
#include <windowsx.h>

#include <string>

namespace tv {

namespace {
constexpr int kThumbWidth = 11;
constexpr int kGrooveHeight = 6;
}  // namespace

void ValueSlider::create(HWND parent, const wchar_t* name, int x, int y, int w, int h, int min, int max) {
    min_ = min;
    max_ = max < min ? min : max;
    value_ = min_;
    font_ = tahoma(11);
    createControl(parent, name, x, y, w, h);
    // A stop of the dialog-style Tab order, like any other control of its window.
    SetWindowLongPtrW(hwnd, GWL_STYLE, GetWindowLongPtrW(hwnd, GWL_STYLE) | WS_TABSTOP);
}

SliderScale ValueSlider::scale() const {
    RECT r{};
    GetClientRect(hwnd, &r);
    return SliderScale{min_, max_, static_cast<int>(r.right), dpiOf(hwnd).scale(kThumbWidth)};
}

void ValueSlider::setValue(int v) {
    const int c = scale().clamp(v);
    if (c == value_) return;
    value_ = c;
    if (hwnd) InvalidateRect(hwnd, nullptr, FALSE);
}

void ValueSlider::userSets(int v) {
    value_ = scale().clamp(v);
    InvalidateRect(hwnd, nullptr, FALSE);
    UpdateWindow(hwnd);  // the number follows the pointer even while the handler repaints other windows
    // The handler's errors are reported here; they must not unwind through the system.
    if (onChange) guarded([&] { onChange(value_); });
}

void ValueSlider::paint(HDC dc, const RECT& r) {
    FillRect(dc, &r, GetSysColorBrush(COLOR_WINDOW));
    const Dpi dpi = dpiOf(hwnd);
    const int thumbWidth = dpi.scale(kThumbWidth), grooveHeight = dpi.scale(kGrooveHeight);
    const int mid = (r.top + r.bottom) / 2;
    RECT groove{r.left + thumbWidth / 2, mid - grooveHeight / 2, r.right - thumbWidth / 2,
                mid - grooveHeight / 2 + grooveHeight};
    DrawEdge(dc, &groove, EDGE_SUNKEN, BF_RECT | BF_ADJUST);
    FillRect(dc, &groove, GetSysColorBrush(COLOR_BTNFACE));

    // The number sits in a gap of the groove, so the line never strikes it through.
    const std::wstring text = std::to_wstring(value_);
    const Selection selectedFont(dc, fontFor(hwnd, font_));
    SIZE sz{};
    GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &sz);
    const int tx = (r.left + r.right - sz.cx) / 2;
    RECT gap{tx - 3, mid - sz.cy / 2, tx + sz.cx + 3, mid - sz.cy / 2 + sz.cy};
    FillRect(dc, &gap, GetSysColorBrush(COLOR_WINDOW));

    const int cx = scale().thumbCentre(value_);
    RECT thumb{cx - thumbWidth / 2, r.top + 2, cx - thumbWidth / 2 + thumbWidth, r.bottom - 2};
    DrawFrameControl(dc, &thumb, DFC_BUTTON, DFCS_BUTTONPUSH | (dragging_ ? DFCS_PUSHED : 0));

    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
    RECT t = r;
    DrawTextW(dc, text.c_str(), -1, &t, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    if (GetFocus() == hwnd) {
        RECT f = r;
        InflateRect(&f, -1, -1);
        DrawFocusRect(dc, &f);
    }
}

bool ValueSlider::message(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
    switch (msg) {
    case WM_MOUSEACTIVATE: result = MA_ACTIVATE; return true;
    case WM_LBUTTONDOWN:
        SetFocus(hwnd);
        dragging_ = true;
        SetCapture(hwnd);
        userSets(scale().valueAt(GET_X_LPARAM(lp)));
        return true;
    case WM_MOUSEMOVE:
        if (dragging_ && GetCapture() == hwnd) userSets(scale().valueAt(GET_X_LPARAM(lp)));
        return true;
    case WM_LBUTTONUP:
        if (dragging_) {
            dragging_ = false;
            ReleaseCapture();
            InvalidateRect(hwnd, nullptr, FALSE);
        }
        return true;
    case WM_CAPTURECHANGED:
        dragging_ = false;
        InvalidateRect(hwnd, nullptr, FALSE);
        return true;
    case WM_GETDLGCODE: result = DLGC_WANTARROWS; return true;
    case WM_SETFOCUS:
    case WM_KILLFOCUS: InvalidateRect(hwnd, nullptr, FALSE); return false;
    case WM_KEYDOWN: {
        SliderKey k;
        switch (wp) {
        case VK_LEFT:
        case VK_DOWN: k = SliderKey::Less; break;
        case VK_RIGHT:
        case VK_UP: k = SliderKey::More; break;
        case VK_PRIOR: k = SliderKey::PageMore; break;
        case VK_NEXT: k = SliderKey::PageLess; break;
        case VK_HOME: k = SliderKey::First; break;
        case VK_END: k = SliderKey::Last; break;
        default: return false;
        }
        userSets(sliderStep(scale(), value_, k));
        return true;
    }
    case TBM_GETPOS: result = value_; return true;
    case TBM_GETRANGEMIN: result = min_; return true;
    case TBM_GETRANGEMAX: result = max_; return true;
    case TBM_SETPOS: setValue(static_cast<int>(lp)); return true;
    }
    return false;
}

}  // namespace tv
