#include "rest/Descanso.h"

#include "settings/Configuracion.h"

#include <commctrl.h>

#include <vector>

namespace tv {

TfDescanso* fDescanso = nullptr;

namespace {
constexpr int kCancelarId = 1001;

HWND control(HWND parent, const wchar_t* cls, const wchar_t* text, DWORD style, int x, int y, int w, int h,
             HFONT font, int id = 0) {
    return createChild(parent, cls, text, WS_VISIBLE | style, x, y, w, h, id, font);
}

}  // namespace

void TfDescanso::FormCreate() {
    big_ = tahoma(21);
    normal_ = tahoma(13);
    Label1 = control(hwnd, L"STATIC", L"Time to rest!", SS_LEFT, 184, 16, 120, 25, big_);
    JvgStaticText1 = control(hwnd, L"STATIC",
                             L"To keep your productivity high it is important to take short breaks.", SS_LEFT, 32,
                             79, 416, 18, normal_);
    JvgStaticText2 = control(hwnd, L"STATIC",
                             L"Leave the computer, get up and walk, look out the window, do whatever you want "
                             L"without touching the keyboard, but take a break for a few minutes.",
                             SS_LEFT, 32, 103, 416, 48, normal_);
    barraProgreso = control(hwnd, PROGRESS_CLASSW, L"", PBS_SMOOTH, 32, 168, 416, 17, normal_);
    lTiempo = control(hwnd, L"STATIC", L"", SS_LEFT | SS_NOPREFIX, 32, 191, 0, 16, normal_);
    bCancelar = control(hwnd, L"BUTTON", L"Close", WS_TABSTOP | BS_PUSHBUTTON, 375, 218, 75, 25, normal_,
                        kCancelarId);
    temporizador = std::make_unique<PeriodicTimer>([this] { temporizadorTimer(); }, 1000, false);

    roundCorners();
    setAlphaBlend(hwnd, true, 220);
}

void TfDescanso::roundCorners() {
    RECT c;
    GetClientRect(hwnd, &c);
    setRoundedRegion(hwnd, c.right, c.bottom, dpiOf(hwnd).scale(20), TRUE);
}

void TfDescanso::ShowModal() {
    ModalHooks hooks;
    hooks.show = [this] {
        // Centred on the whole desktop, in front of the stay-on-top text window.
        const int dx = GetSystemMetrics(SM_XVIRTUALSCREEN), dy = GetSystemMetrics(SM_YVIRTUALSCREEN);
        const int dw = GetSystemMetrics(SM_CXVIRTUALSCREEN), dh = GetSystemMetrics(SM_CYVIRTUALSCREEN);
        FormShow();
        SetWindowPos(hwnd, HWND_TOPMOST, dx + (dw - width()) / 2, dy + (dh - height()) / 2, 0, 0,
                     SWP_NOSIZE | SWP_SHOWWINDOW);
        SetForegroundWindow(hwnd);
        SetFocus(bCancelar);
    };
    hooks.quit = [this] { close(); };
    showModal(hwnd, modal_, hooks);
}

void TfDescanso::FormShow() {
    rest_.show(fConfiguracion->live.iSegundos.value);
    const ProgressBar& b = rest_.bar();
    SendMessageW(barraProgreso, PBM_SETRANGE32, b.min, b.max);
    SendMessageW(barraProgreso, PBM_SETPOS, b.pos, 0);
    temporizador->setEnabled(true);  // the first tick comes at once
}

void TfDescanso::temporizadorTimer() {
    const RestCountdown::Tick t = rest_.tick();
    if (t.close) {
        close();
        return;
    }
    SendMessageW(barraProgreso, PBM_SETPOS, t.barPos, 0);
    setTiempo(t.label);
}

void TfDescanso::setTiempo(const std::wstring& text) {
    // The label's width follows its text.
    const SIZE size = textExtent(lTiempo, fontFor(hwnd, normal_), text);
    SetWindowTextW(lTiempo, text.c_str());
    SetWindowPos(lTiempo, nullptr, 0, 0, size.cx, size.cy > 0 ? size.cy : dpiOf(hwnd).scale(16),
                 SWP_NOMOVE | SWP_NOZORDER);
    InvalidateRect(hwnd, nullptr, TRUE);  // the old, longer text goes with the background
}

void TfDescanso::bCancelarClick() {
    temporizador->setEnabled(false);
    close();
}

void TfDescanso::FormClose() { temporizador->setEnabled(false); }

void TfDescanso::close() {
    FormClose();
    if (modal_) modal_ = false;  // ShowModal hides the window once the others are enabled again
    else ShowWindow(hwnd, SW_HIDE);
}

LRESULT TfDescanso::handle(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_COMMAND:
        if (LOWORD(wp) == kCancelarId && HIWORD(wp) == BN_CLICKED) bCancelarClick();
        return 0;
    case WM_CTLCOLORSTATIC: {
        HDC dc = reinterpret_cast<HDC>(wp);
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
        return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
    }
    case WM_CLOSE: close(); return 0;
    case WM_DPICHANGED: {
        takeDpiChange(hwnd, wp, lp);
        roundCorners();
        wchar_t text[64] = {};
        GetWindowTextW(lTiempo, text, 64);
        setTiempo(text);  // sized to its text again
        return 0;
    }
    }
    return base(msg, wp, lp);
}

}  // namespace tv
