#include "widgets/Controls.h"

#include "widgets/Handles.h"

#include <commctrl.h>
#include <windowsx.h>

namespace tv {

namespace {
constexpr COLORREF kCream = RGB(250, 246, 232);
constexpr COLORREF kFace = RGB(96, 110, 128);
constexpr COLORREF kFaceLight = RGB(126, 140, 158);
constexpr COLORREF kFaceDark = RGB(70, 82, 98);
constexpr COLORREF kFaceHot = RGB(168, 180, 196);
constexpr COLORREF kFaceHotLight = RGB(196, 206, 218);
constexpr COLORREF kFaceDown = RGB(140, 152, 168);
constexpr COLORREF kFaceDownLight = RGB(156, 167, 181);
constexpr COLORREF kOffFace = RGB(228, 230, 233);
constexpr COLORREF kOffGlyph = RGB(150, 154, 160);

HWND tooltipFor(HWND parent) {
    // One tooltip window per top-level window, kept as a property of it.
    HWND top = GetAncestor(parent, GA_ROOT);
    auto tip = static_cast<HWND>(GetPropW(top, L"TvTooltip"));
    if (!tip) {
        tip = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, 0, 0,
                              0, 0, top, nullptr, GetModuleHandleW(nullptr), nullptr);
        SetPropW(top, L"TvTooltip", tip);
    }
    return tip;
}

int dpiScale(HWND h, int v) { return dpiOf(h).scale(v); }

void fillRounded(HDC dc, const RECT& r, COLORREF fill, int radius) {
    const Brush b(CreateSolidBrush(fill));
    const Pen p(CreatePen(PS_SOLID, 1, fill));
    const Selection sb(dc, b.get()), sp(dc, p.get());
    RoundRect(dc, r.left, r.top, r.right, r.bottom, radius, radius);
}
}  // namespace

void Control::createControl(HWND parent, const wchar_t* name, int x, int y, int w, int h, bool visible) {
    create(registerWindowClass(L"TvControl"), name, 0, WS_CHILD | (visible ? WS_VISIBLE : 0), x, y, w, h, parent);
}

void Control::setTooltip(const std::wstring& text) {
    HWND tip = tooltipFor(hwnd);
    TOOLINFOW ti{};
    ti.cbSize = sizeof ti;
    ti.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    ti.hwnd = GetParent(hwnd);
    ti.uId = reinterpret_cast<UINT_PTR>(hwnd);
    ti.lpszText = const_cast<wchar_t*>(text.c_str());
    SendMessageW(tip, TTM_DELTOOLW, 0, reinterpret_cast<LPARAM>(&ti));
    SendMessageW(tip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&ti));
}

LRESULT Control::handle(UINT msg, WPARAM wp, LPARAM lp) {
    if (LRESULT result = 0; message(msg, wp, lp, result)) return result;
    const HWND h = hwnd;
    switch (msg) {
    case WM_MOUSEACTIVATE: return MA_NOACTIVATE;  // the editor keeps the focus and its selection
    case WM_SETCURSOR: SetCursor(cursor()); return TRUE;
    case WM_ERASEBKGND: return 1;
    case WM_PAINT:
        paintBuffered(h, [this](HDC dc, const RECT& r) {
            FillRect(dc, &r, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
            paint(dc, r);
        });
        return 0;
    case WM_MOUSEMOVE:
        if (mouse_.moved(h)) InvalidateRect(h, nullptr, FALSE);
        return 0;
    case WM_MOUSELEAVE:
        mouse_.left();
        InvalidateRect(h, nullptr, FALSE);
        return 0;
    case WM_LBUTTONDOWN:
        pressed_ = true;
        SetCapture(h);
        InvalidateRect(h, nullptr, FALSE);
        return 0;
    case WM_LBUTTONUP: {
        bool was = pressed_;
        pressed_ = false;
        ReleaseCapture();
        InvalidateRect(h, nullptr, FALSE);
        POINT p{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};
        RECT r;
        GetClientRect(h, &r);
        if (was && PtInRect(&r, p)) guarded([&] { click(); });
        return 0;
    }
    }
    return base(msg, wp, lp);
}

void BitmapButton::create(HWND parent, const wchar_t* name, int x, int y, int w, int h, const std::wstring& caption,
                          POINT captionAt, const wchar_t* faceName, int pixelHeight) {
    caption_ = caption;
    at_ = captionAt;
    face = faceName;
    points = MulDiv(pixelHeight, 72, 96);
    font_ = cachedFont(faceName, pixelHeight);
    createControl(parent, name, x, y, w, h);
}

void BitmapButton::paint(HDC dc, const RECT& r) {
    // Plain, lighter under the pointer, darker while pressed; the caption is
    // cream on the plain face and black on the other two.
    const bool down = pressed(), lit = hot() && !down;
    fillRounded(dc, r, down ? kFaceDown : lit ? kFaceHot : kFace, dpiScale(hwnd, 8));
    RECT top{r.left + 2, r.top + 2, r.right - 2, r.top + (r.bottom - r.top) / 2};
    fillRounded(dc, top, down ? kFaceDownLight : lit ? kFaceHotLight : kFaceLight, dpiScale(hwnd, 6));
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, down || lit ? RGB(0, 0, 0) : kCream);
    const Selection f(dc, fontFor(hwnd, font_));
    const Dpi dpi = dpiOf(hwnd);
    TextOutW(dc, dpi.scale(at_.x), dpi.scale(at_.y), caption_.c_str(), static_cast<int>(caption_.size()));
}

void SwitchButton::create(HWND parent, const wchar_t* name, int x, int y, int w, int h, const std::wstring& glyph,
                          const wchar_t* faceName, int weight, bool italic, bool underline) {
    glyph_ = glyph;
    font_ = cachedFont(faceName, 13, weight, italic, underline);
    createControl(parent, name, x, y, w, h);
}

void SwitchButton::paint(HDC dc, const RECT& r) {
    fillRounded(dc, r, state ? kFaceDark : kOffFace, dpiScale(hwnd, 8));
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, state ? kCream : kOffGlyph);
    const Selection f(dc, fontFor(hwnd, font_));
    RECT t = r;
    DrawTextW(dc, glyph_.c_str(), -1, &t, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
}

void GradientBar::create(HWND parent, const wchar_t* name, int x, int y, int w, int h, bool visible) {
    createControl(parent, name, x, y, w, h, visible);
}

void GradientBar::setRange(int min, int max) {
    min_ = min;
    max_ = max < min ? min : max;
    setPosition(pos_);
}

void GradientBar::setPosition(int pos) {
    pos_ = pos < min_ ? min_ : pos > max_ ? max_ : pos;
    if (hwnd) InvalidateRect(hwnd, nullptr, FALSE);
}

bool GradientBar::message(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
    switch (msg) {
    case PBM_SETRANGE32: result = MAKELRESULT(min_, max_); setRange(static_cast<int>(wp), static_cast<int>(lp)); return true;
    case PBM_SETPOS: result = pos_; setPosition(static_cast<int>(wp)); return true;
    case PBM_GETPOS: result = pos_; return true;
    case PBM_GETRANGE:
        if (lp) *reinterpret_cast<PBRANGE*>(lp) = {min_, max_};
        result = wp ? min_ : max_;
        return true;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP: result = 0; return true;  // a display, not a button
    }
    return false;
}

void GradientBar::paint(HDC dc, const RECT& r) {
    const Brush frame(CreateSolidBrush(RGB(160, 160, 160)));
    FrameRect(dc, &r, frame.get());
    const long long span = static_cast<long long>(max_) - min_;
    const int inner = r.right - r.left - 2;
    const int filled = span > 0 ? static_cast<int>(inner * (static_cast<long long>(pos_) - min_) / span) : 0;
    if (filled <= 0) return;
    // Grey at the start to silver at the end of the whole bar, so the colour
    // under the fill says how far it has come.
    TRIVERTEX v[2] = {{r.left + 1, r.top + 1, 0x8000, 0x8000, 0x8000, 0},
                      {r.left + 1 + filled, r.bottom - 1, 0xC000, 0xC000, 0xC000, 0}};
    const int end = 0x8000 + static_cast<int>((0xC000 - 0x8000) * static_cast<long long>(filled) / (inner > 0 ? inner : 1));
    v[1].Red = v[1].Green = v[1].Blue = static_cast<COLOR16>(end);
    GRADIENT_RECT g{0, 1};
    GradientFill(dc, v, 2, &g, 1, GRADIENT_FILL_RECT_H);
}

namespace {
LRESULT CALLBACK panelProc(HWND h, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR) {
    switch (msg) {
    case WM_ERASEBKGND: {
        RECT r;
        GetClientRect(h, &r);
        FillRect(reinterpret_cast<HDC>(wp), &r, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
        return 1;
    }
    case WM_CTLCOLORSTATIC:
        SetBkMode(reinterpret_cast<HDC>(wp), TRANSPARENT);
        return reinterpret_cast<LRESULT>(GetStockObject(WHITE_BRUSH));
    case WM_MOUSEACTIVATE: return MA_NOACTIVATE;
    case WM_HSCROLL:
    case WM_COMMAND:
    case WM_NOTIFY:
        // Controls report to the workspace window, which owns the handlers.
        return SendMessageW(GetParent(h), msg, wp, lp);
    case WM_NCDESTROY: RemoveWindowSubclass(h, panelProc, 1); break;
    }
    return DefSubclassProc(h, msg, wp, lp);
}
}  // namespace

HWND createPanel(HWND parent, const wchar_t* name, int x, int y, int w, int h) {
    // Its own class: the name is the window text and must not be drawn.
    HWND p = createChild(parent, registerWindowClass(L"TvPanel"), name, WS_CLIPCHILDREN, x, y, w, h);
    SetWindowSubclass(p, panelProc, 1, 0);
    return p;
}

void DrawRounded(HWND panel) {
    RECT r;
    GetWindowRect(panel, &r);
    // The client area: the panel less its 1-pixel border on each side.
    const int corner = dpiOf(panel).scale(10);
    setRoundedRegion(panel, r.right - r.left - 2, r.bottom - r.top - 2, corner, TRUE);
    InvalidateRect(panel, nullptr, TRUE);
}

}  // namespace tv
