#include "app/SplashScreen.h"

#include "widgets/Handles.h"

namespace tv {

TfSplashScreen* fSplashScreen = nullptr;

namespace {
constexpr int kWidth = 473, kHeight = 296, kLabelHeight = 16, kAlpha = 210;
constexpr const wchar_t* kLabel = L"Tolvane  -  a quiet place to write  -  www.tolvane.org";
}  // namespace

void TfSplashScreen::FormCreate() {
    font_ = tahoma(13);
    if (const std::optional<std::string_view> data = programResource(L"LOGO"))
        imgLogo = decodeJpeg(reinterpret_cast<const unsigned char*>(data->data()), data->size());
}

void TfSplashScreen::showAndPaint() {
    RECT area{0, 0, kWidth, kHeight};
    int x = (GetSystemMetrics(SM_CXSCREEN) - kWidth) / 2, y = (GetSystemMetrics(SM_CYSCREEN) - kHeight) / 2;
    // Shown without taking the activation from the program's later windows;
    // the see-through level it would set on activation is set here instead.
    SetWindowPos(hwnd, HWND_TOP, x, y, area.right, area.bottom, SWP_SHOWWINDOW | SWP_NOACTIVATE);
    setAlphaBlend(hwnd, true, kAlpha);
    // No message is handled during the pause that follows, so paint now.
    if (const WindowDC dc(hwnd); dc) paint(dc.get());
    GdiFlush();
}

void TfSplashScreen::paint(HDC dc) {
    RECT all{0, 0, kWidth, kHeight};
    FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    const int top = kHeight - kLabelHeight;
    {
        const Pen pen(CreatePen(PS_SOLID, 1, RGB(128, 128, 128)));
        const Selection p(dc, pen.get()), b(dc, GetStockObject(WHITE_BRUSH));
        Rectangle(dc, 0, 0, kWidth, top);
    }
    if (imgLogo && !imgLogo->empty()) {
        BITMAPINFO bi{};
        bi.bmiHeader = {sizeof(BITMAPINFOHEADER), imgLogo->width, -imgLogo->height, 1, 32, BI_RGB};
        int x = (kWidth - imgLogo->width) / 2, y = (top - imgLogo->height) / 2;
        SetDIBitsToDevice(dc, x, y, imgLogo->width, imgLogo->height, 0, 0, 0, imgLogo->height,
                          imgLogo->pixels.data(), &bi, DIB_RGB_COLORS);
    }
    RECT label{0, top, kWidth, kHeight};
    const Selection f(dc, font_);
    SetBkMode(dc, TRANSPARENT);
    DrawTextW(dc, kLabel, -1, &label, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
}

LRESULT TfSplashScreen::handle(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_ACTIVATE:
        if (LOWORD(wp) != WA_INACTIVE) setAlphaBlend(hwnd, true, kAlpha);  // FormActivate
        return 0;
    case WM_ERASEBKGND: return 1;
    case WM_PAINT: {
        const PaintDC dc(hwnd);
        paint(dc.get());
        return 0;
    }
    }
    return base(msg, wp, lp);
}

}  // namespace tv
