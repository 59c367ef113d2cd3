#include "commands/Ayuda.h"

#include "commands/core/CommandMap.h"
#include "i18n/Resources.h"
#include "workspace/Principal.h"

namespace tv {

TfAyuda* fAyuda = nullptr;

namespace {
constexpr COLORREF kKeyColour = RGB(0, 0, 0);
constexpr COLORREF kDescriptionColour = RGB(128, 128, 128);
}  // namespace

void TfAyuda::FormCreate() {
    font_ = tahoma(11);
    for (const HelpRow& row : helpRows()) {
        const std::pair<const wchar_t*, POINT> parts[2] = {{row.key, {row.keyLeft, row.keyTop}},
                                                           {row.description, {row.descriptionLeft, row.descriptionTop}}};
        for (int i = 0; i < 2; ++i) {
            std::wstring text = resourceString(parts[i].first);
            HWND l = CreateWindowExW(0, L"STATIC", text.c_str(), WS_CHILD | WS_VISIBLE | SS_NOPREFIX, parts[i].second.x,
                                     parts[i].second.y, 180, 14, hwnd,
                                     reinterpret_cast<HMENU>(static_cast<INT_PTR>(i)), GetModuleHandleW(nullptr),
                                     nullptr);
            SendMessageW(l, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
            labels_.push_back(l);
        }
    }
    RECT c;
    GetClientRect(hwnd, &c);
    setRoundedRegion(hwnd, c.right, c.bottom, 20, TRUE);
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
        fPrincipal->FormKeyDown(key, GetKeyState(VK_SHIFT) < 0, GetKeyState(VK_CONTROL) < 0,
                                GetKeyState(VK_MENU) < 0);
        return 0;
    }
    case WM_CLOSE: ShowWindow(hwnd, SW_HIDE); return 0;
    }
    return base(msg, wp, lp);
}

}  // namespace tv
