#include "commands/Ayuda.h"

#include "commands/core/CommandMap.h"
#include "i18n/Localization.h"
#include "widgets/Handles.h"

namespace tv {

TfAyuda* fAyuda = nullptr;

namespace {
constexpr COLORREF kKeyColour = RGB(0, 0, 0);
constexpr COLORREF kDescriptionColour = RGB(128, 128, 128);

// Each label as large as its text, which may be a translation of any length:
// a fixed box would cut long texts and paint its blank part over the label
// beside it.
void fitLabels(HWND window, HFONT font, const std::vector<HWND>& labels) {
    const WindowDC windowDC(window);
    const HDC dc = windowDC.get();
    const Selection selectedFont(dc, font);
    for (HWND l : labels) {
        const int n = GetWindowTextLengthW(l);
        std::wstring text(static_cast<std::size_t>(n > 0 ? n : 0) + 1, L'\0');
        text.resize(static_cast<std::size_t>(GetWindowTextW(l, text.data(), n + 1)));
        RECT r{0, 0, 0, 0};
        DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &r, DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
        SetWindowPos(l, nullptr, 0, 0, r.right, r.bottom, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
}
}  // namespace

void TfAyuda::FormCreate() {
    font_ = tahoma(11);
    for (const HelpRow& row : helpRows()) {
        const std::pair<const wchar_t*, POINT> parts[2] = {{row.key, {row.keyLeft, row.keyTop}},
                                                           {row.description, {row.descriptionLeft, row.descriptionTop}}};
        for (int i = 0; i < 2; ++i) {
            labels_.push_back(createChild(hwnd, L"STATIC", parts[i].first, WS_VISIBLE | SS_NOPREFIX, parts[i].second.x,
                                          parts[i].second.y, 180, 14, i, font_));
        }
    }
    TranslateComponent(hwnd);
    layout();
}

void TfAyuda::layout() {
    fitLabels(hwnd, fontFor(hwnd, font_), labels_);
    RECT c;
    GetClientRect(hwnd, &c);
    setRoundedRegion(hwnd, c.right, c.bottom, dpiOf(hwnd).scale(20), TRUE);
}

void TfAyuda::toggle() {
    if (IsWindowVisible(hwnd)) {
        ShowWindow(hwnd, SW_HIDE);
        return;
    }
    ShowWindow(hwnd, SW_SHOW);
    SetForegroundWindow(hwnd);
    SetFocus(hwnd);
}

LRESULT TfAyuda::handle(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_ERASEBKGND: {
        RECT r;
        GetClientRect(hwnd, &r);
        FillRect(reinterpret_cast<HDC>(wp), &r, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
        DrawEdge(reinterpret_cast<HDC>(wp), &r, EDGE_RAISED, BF_RECT);
        return 1;
    }
    case WM_CTLCOLORSTATIC: {
        HDC dc = reinterpret_cast<HDC>(wp);
        bool key = GetDlgCtrlID(reinterpret_cast<HWND>(lp)) == 0;
        SetTextColor(dc, key ? kKeyColour : kDescriptionColour);
        SetBkMode(dc, TRANSPARENT);
        return reinterpret_cast<LRESULT>(GetStockObject(WHITE_BRUSH));
    }
    case WM_KEYDOWN: {
        WORD key = static_cast<WORD>(wp);
        if (onKeyDown)
            onKeyDown(key, GetKeyState(VK_SHIFT) < 0, GetKeyState(VK_CONTROL) < 0, GetKeyState(VK_MENU) < 0);
        return 0;
    }
    case WM_CLOSE: ShowWindow(hwnd, SW_HIDE); return 0;
    case WM_DPICHANGED:
        // Its place is the workspace's to give, when the workspace is laid out again.
        applyDpi(hwnd, LOWORD(wp));
        if (const auto* r = reinterpret_cast<const RECT*>(lp))
            SetWindowPos(hwnd, nullptr, 0, 0, r->right - r->left, r->bottom - r->top,
                         SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        layout();
        return 0;
    }
    return base(msg, wp, lp);
}

}  // namespace tv
