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
    const Dpi dpi = dpiOf(hwnd);
    RECT area{0, 0, dpi.scale(kWidth), dpi.scale(kHeight)};
    int x = (GetSystemMetrics(SM_CXSCREEN) - area.right) / 2, y = (GetSystemMetrics(SM_CYSCREEN) - area.bottom) / 2;
    // Shown without taking the activation from the program's later windows;
    // the see-through level it would set on activation is set here instead.
    SetWindowPos(hwnd, HWND_TOP, x, y, area.right, area.bottom, SWP_SHOWWINDOW | SWP_NOACTIVATE);
    setAlphaBlend(hwnd, true, kAlpha);
    // No message is handled during the pause that follows, so paint now.
    if (const WindowDC dc(hwnd); dc) paint(dc.get());
    GdiFlush();
}

void TfSplashScreen::paint(HDC dc) {
    const Dpi dpi = dpiOf(hwnd);
    const int width = dpi.scale(kWidth), height = dpi.scale(kHeight);
    RECT all{0, 0, width, height};
    FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    const int top = height - dpi.scale(kLabelHeight);
    {
        const Pen pen(CreatePen(PS_SOLID, 1, RGB(128, 128, 128)));
        const Selection p(dc, pen.get()), b(dc, GetStockObject(WHITE_BRUSH));
        Rectangle(dc, 0, 0, width, top);
    }
    if (imgLogo && !imgLogo->empty()) {
        const int w = dpi.scale(imgLogo->width), h = dpi.scale(imgLogo->height);
        const int x = (width - w) / 2, y = (top - h) / 2;
        if (dpi.base()) {
            BITMAPINFO bi{};
            bi.bmiHeader = {sizeof(BITMAPINFOHEADER), imgLogo->width, -imgLogo->height, 1, 32, BI_RGB};
            SetDIBitsToDevice(dc, x, y, imgLogo->width, imgLogo->height, 0, 0, 0, imgLogo->height,
                              imgLogo->pixels.data(), &bi, DIB_RGB_COLORS);
        } else {
            drawImage(dc, RECT{x, y, x + w, y + h}, *imgLogo);
        }
    }
    RECT label{0, top, width, height};
    const Selection f(dc, fontFor(hwnd, font_));
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
