#include "widgets/ColourButton.h"

#include "widgets/Handles.h"
#include "widgets/Errors.h"
#include "widgets/core/ColourPalette.h"

#include <commctrl.h>
#include <commdlg.h>
#include <windowsx.h>

namespace tv {

namespace pal = palette;

namespace {
constexpr const wchar_t* kPaletteClass = L"TvColourPalette";
constexpr const wchar_t* kFloatingCaption = L"Color Window";
constexpr int kArrowWidth = 12;

COLORREF shown(std::int32_t value, int automaticSys) { return resolveColour(value, automaticSys); }

void fill(HDC dc, const RECT& r, COLORREF c) {
    const Brush b(CreateSolidBrush(c));
    FillRect(dc, &r, b.get());
}

void frame(HDC dc, const RECT& r, COLORREF c, int width = 1) {
    const Brush b(CreateSolidBrush(c));
    RECT f = r;
    for (int i = 0; i < width; ++i) {
        FrameRect(dc, &f, b.get());
        InflateRect(&f, -1, -1);
    }
}


// Colours the user mixed in the system dialog, offered again for the rest of the run.
COLORREF customColours[16] = {0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF,
                              0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF};
}  // namespace

// The palette, dropped down under its button or floating on its own.
class ColourPaletteWindow : public Window {
public:
    static ColourPaletteWindow* open(ColourButton* owner);
    void close() { DestroyWindow(hwnd); }  // `this` is gone afterwards
    void moveHot(pal::Move m);
    void chooseHot() { choose(hot_); }
    bool floating() const { return floating_; }
    void bringForward() { SetWindowPos(hwnd, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW); }

protected:
    LRESULT handle(UINT msg, WPARAM wp, LPARAM lp) override;
    void destroyed() override;

private:
    void paint(HDC dc);
    void setHot(pal::Item item);
    void choose(pal::Item item);
    void becomeFloating();
    void addHint();
    // The palette's layout is designed at 96 DPI; on screen it is at the
    // density of its button's window.
    RECT rect(const pal::Box& b) const {
        return RECT{dpi_.scale(b.left), dpi_.scale(b.top), dpi_.scale(b.right), dpi_.scale(b.bottom)};
    }
    pal::Item itemAt(LPARAM lp) const {
        return pal::hitTest(dpi_.unscale(GET_X_LPARAM(lp)), dpi_.unscale(GET_Y_LPARAM(lp)));
    }

    ColourButton* owner_ = nullptr;
    Dpi dpi_;
    HWND tip_ = nullptr;
    HFONT font_ = nullptr;  // from the font cache
    bool floating_ = false;
    pal::Item hot_{};
    pal::Item pressed_{};
    bool dragging_ = false;
    POINT dragFrom_{};        // screen point where the drag started
    POINT clientFrom_{};      // screen position of the client origin then
};

ColourPaletteWindow* ColourPaletteWindow::open(ColourButton* owner) {
    registerWindowClass(kPaletteClass, nullptr, nullptr, CS_DROPSHADOW);
    auto* p = new ColourPaletteWindow();
    p->owner_ = owner;
    p->dpi_ = dpiOf(owner->hwnd);
    p->font_ = fontAtDpi(tahoma(11), p->dpi_.dpi);
    p->hot_ = pal::itemFor(owner->colour());

    RECT b{};
    GetWindowRect(owner->hwnd, &b);
    const DWORD style = WS_POPUP | WS_BORDER, ex = WS_EX_TOOLWINDOW | WS_EX_TOPMOST;
    RECT w{0, 0, p->dpi_.scale(pal::kWidth), p->dpi_.scale(pal::kHeight)};
    AdjustWindowRectExForDpi(&w, style, FALSE, ex, static_cast<UINT>(p->dpi_.dpi));
    const int ww = w.right - w.left, wh = w.bottom - w.top;
    // Under the button, kept on its monitor: above it when there is no room below.
    MONITORINFO mi{};
    mi.cbSize = sizeof mi;
    GetMonitorInfoW(MonitorFromWindow(owner->hwnd, MONITOR_DEFAULTTONEAREST), &mi);
    int x = b.left, y = b.bottom;
    if (y + wh > mi.rcWork.bottom) y = b.top - wh;
    if (x + ww > mi.rcWork.right) x = mi.rcWork.right - ww;
    if (x < mi.rcWork.left) x = mi.rcWork.left;
    if (y < mi.rcWork.top) y = mi.rcWork.top;

    HWND root = GetAncestor(owner->hwnd, GA_ROOT);
    HWND h = CreateWindowExW(ex, kPaletteClass, L"", style, x, y, ww, wh, root, nullptr, GetModuleHandleW(nullptr), p);
    if (!h) {
        delete p;
        throw Failure(L"Cannot open the colour palette: " + systemErrorText(GetLastError()));
    }
    p->addHint();
    // Dropped down: it does not take the activation from its window; the
    // capture brings it every click, so a click elsewhere closes it.
    ShowWindow(h, SW_SHOWNA);
    SetCapture(h);
    return p;
}

void ColourPaletteWindow::addHint() {
    tip_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, 0, 0, 0,
                           0, hwnd, nullptr, GetModuleHandleW(nullptr), nullptr);
    if (!tip_) return;
    TOOLINFOW ti{};
    ti.cbSize = sizeof ti;
    ti.uFlags = TTF_SUBCLASS;
    ti.hwnd = hwnd;
    ti.uId = 1;
    ti.rect = rect(pal::dragBar());
    ti.lpszText = const_cast<wchar_t*>(L"Drag to float");
    SendMessageW(tip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&ti));
}

void ColourPaletteWindow::destroyed() {
    if (owner_ && owner_->palette_ == this) {
        owner_->palette_ = nullptr;
        InvalidateRect(owner_->hwnd, nullptr, FALSE);
    }
    delete this;  // opened with new, gone with its window
}

void ColourPaletteWindow::setHot(pal::Item item) {
    if (item.kind == pal::Kind::DragBar || item == hot_) return;
    hot_ = item;
    InvalidateRect(hwnd, nullptr, FALSE);
}

void ColourPaletteWindow::moveHot(pal::Move m) { setHot(pal::move(hot_, m)); }

void ColourPaletteWindow::choose(pal::Item item) {
    ColourButton* owner = owner_;
    const bool keepOpen = floating_;
    switch (item.kind) {
    case pal::Kind::Automatic:
    case pal::Kind::Colour: {
        const std::int32_t v =
            item.kind == pal::Kind::Automatic ? kColorAutomatic : pal::kStandardColours[static_cast<size_t>(item.index)];
        if (!keepOpen) close();
        owner->chosen(v);
        if (keepOpen) InvalidateRect(hwnd, nullptr, FALSE);
        return;
    }
    case pal::Kind::Other: {
        if (!keepOpen) close();  // the system dialog takes over; the drop-down would only be in its way
        CHOOSECOLORW cc{};
        cc.lStructSize = sizeof cc;
        cc.hwndOwner = GetAncestor(owner->hwnd, GA_ROOT);
        cc.rgbResult = shown(owner->colour(), owner->automaticSysColour());
        cc.lpCustColors = customColours;
        cc.Flags = CC_RGBINIT | CC_FULLOPEN | CC_ANYCOLOR;
        if (ChooseColorW(&cc)) owner->chosen(static_cast<std::int32_t>(cc.rgbResult & 0x00FFFFFF));
        return;
    }
    case pal::Kind::DragBar:
    case pal::Kind::None: break;
    }
}

void ColourPaletteWindow::becomeFloating() {
    floating_ = true;
    RECT c{};
    GetClientRect(hwnd, &c);
    POINT origin{0, 0};
    ClientToScreen(hwnd, &origin);
    const DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU;
    const DWORD ex = static_cast<DWORD>(GetWindowLongPtrW(hwnd, GWL_EXSTYLE));
    SetWindowLongPtrW(hwnd, GWL_STYLE, style | WS_VISIBLE);
    SetWindowTextW(hwnd, kFloatingCaption);
    RECT w = c;
    AdjustWindowRectEx(&w, style, FALSE, ex);
    SetWindowPos(hwnd, nullptr, origin.x + w.left, origin.y + w.top, w.right - w.left, w.bottom - w.top,
                 SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

LRESULT ColourPaletteWindow::handle(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_ERASEBKGND: return 1;
    case WM_PAINT: paintBuffered(hwnd, [this](HDC dc, const RECT&) { paint(dc); }); return 0;
    case WM_MOUSEACTIVATE: return floating_ ? MA_ACTIVATE : MA_NOACTIVATE;
    case WM_LBUTTONDOWN: {
        const int x = GET_X_LPARAM(lp), y = GET_Y_LPARAM(lp);
        RECT c{};
        GetClientRect(hwnd, &c);
        if (!floating_ && (x < 0 || y < 0 || x >= c.right || y >= c.bottom)) {
            close();  // a click outside the drop-down only closes it
            return 0;
        }
        const pal::Item item = itemAt(lp);
        if (item.kind == pal::Kind::DragBar) {
            dragging_ = true;
            POINT at{x, y};
            ClientToScreen(hwnd, &at);
            dragFrom_ = at;
            clientFrom_ = POINT{0, 0};
            ClientToScreen(hwnd, &clientFrom_);
            if (GetCapture() != hwnd) SetCapture(hwnd);  // floating: the drag needs it back
            return 0;
        }
        pressed_ = item;
        setHot(item);
        return 0;
    }
    case WM_MOUSEMOVE: {
        const int x = GET_X_LPARAM(lp), y = GET_Y_LPARAM(lp);
        if (dragging_) {
            POINT now{x, y};
            ClientToScreen(hwnd, &now);
            const int dx = now.x - dragFrom_.x, dy = now.y - dragFrom_.y;
            if (!floating_) {
                if (abs(dx) < GetSystemMetrics(SM_CXDRAG) && abs(dy) < GetSystemMetrics(SM_CYDRAG)) return 0;
                becomeFloating();
            }
            // The client area follows the pointer; the frame is around it.
            POINT origin{0, 0};
            ClientToScreen(hwnd, &origin);
            RECT w{};
            GetWindowRect(hwnd, &w);
            SetWindowPos(hwnd, nullptr, clientFrom_.x + dx + (w.left - origin.x), clientFrom_.y + dy + (w.top - origin.y),
                         0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
            return 0;
        }
        const pal::Item item = itemAt(lp);
        if (item.kind != pal::Kind::None) setHot(item);
        return 0;
    }
    case WM_LBUTTONUP: {
        if (dragging_) {
            dragging_ = false;
            if (floating_) ReleaseCapture();  // floating: no capture needed any more
            return 0;
        }
        const pal::Item item = itemAt(lp);
        const pal::Item was = pressed_;
        pressed_ = {};
        if (item == was && item.kind != pal::Kind::None) choose(item);
        return 0;
    }
    case WM_CAPTURECHANGED:
        if (reinterpret_cast<HWND>(lp) == hwnd) return 0;  // taken again by itself
        // Dropped down, losing the capture (another window took it, the
        // system colour dialog opened) closes the palette.
        if (!floating_) PostMessageW(hwnd, WM_CLOSE, 0, 0);
        dragging_ = false;
        return 0;
    case WM_KEYDOWN:
        switch (wp) {
        case VK_LEFT: moveHot(pal::Move::Left); return 0;
        case VK_RIGHT: moveHot(pal::Move::Right); return 0;
        case VK_UP: moveHot(pal::Move::Up); return 0;
        case VK_DOWN: moveHot(pal::Move::Down); return 0;
        case VK_RETURN:
        case VK_SPACE: chooseHot(); return 0;
        case VK_ESCAPE: close(); return 0;
        }
        break;
    case WM_CLOSE: close(); return 0;
    }
    return base(msg, wp, lp);
}

void ColourPaletteWindow::paint(HDC dc) {
    RECT all{};
    GetClientRect(hwnd, &all);
    FillRect(dc, &all, GetSysColorBrush(COLOR_MENU));
    const COLORREF hi = GetSysColor(COLOR_HIGHLIGHT), shadow = GetSysColor(COLOR_BTNSHADOW);
    const std::int32_t current = owner_->colour();
    const pal::Item selected = pal::itemFor(current);

    // Drag bar: a dotted grip.
    RECT bar = rect(pal::dragBar());
    fill(dc, bar, GetSysColor(COLOR_BTNFACE));
    for (int x = bar.left + 2; x < bar.right - 2; x += 3) {
        SetPixel(dc, x, bar.top + 2, shadow);
        SetPixel(dc, x + 1, bar.top + 4, shadow);
    }

    SetBkMode(dc, TRANSPARENT);
    const Selection selectedFont(dc, font_);
    auto row = [&](pal::Item item, const wchar_t* text, bool swatch) {
        RECT r = rect(pal::boxOf(item));
        if (item == hot_) {
            fill(dc, r, GetSysColor(COLOR_BTNHIGHLIGHT));
            frame(dc, r, hi);
        } else if (item == selected) {
            DrawEdge(dc, &r, BDR_SUNKENOUTER, BF_RECT);
        }
        RECT t = r;
        if (swatch) {
            const int inset = dpi_.scale(4);
            RECT s{r.left + inset, r.top + inset, r.left + inset + (r.bottom - r.top - 2 * inset), r.bottom - inset};
            fill(dc, s, shown(kColorAutomatic, owner_->automaticSysColour()));
            frame(dc, s, shadow);
            t.left = s.right + inset;
        }
        SetTextColor(dc, GetSysColor(COLOR_MENUTEXT));
        DrawTextW(dc, text, -1, &t, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    };
    row({pal::Kind::Automatic, 0}, L"Automatic", true);
    for (int i = 0; i < pal::kCells; ++i) {
        const pal::Item item{pal::Kind::Colour, i};
        RECT r = rect(pal::cell(i));
        RECT s = r;
        InflateRect(&s, -dpi_.scale(2), -dpi_.scale(2));
        fill(dc, s, static_cast<COLORREF>(pal::kStandardColours[static_cast<size_t>(i)]));
        frame(dc, s, shadow);
        if (item == hot_) frame(dc, r, hi, 2);
        else if (item == selected) frame(dc, r, GetSysColor(COLOR_WINDOWTEXT));
    }
    row({pal::Kind::Other, 0}, L"Other Colors...", false);
}

// The button.

ColourButton::~ColourButton() { closePalette(); }

void ColourButton::create(HWND parent, const wchar_t* name, int x, int y, int w, int h, int automaticSysColour) {
    automatic_ = automaticSysColour;
    createControl(parent, name, x, y, w, h);
    SetWindowLongPtrW(hwnd, GWL_STYLE, GetWindowLongPtrW(hwnd, GWL_STYLE) | WS_TABSTOP);
}

void ColourButton::setColour(std::int32_t value) {
    value_ = value;
    if (hwnd) InvalidateRect(hwnd, nullptr, FALSE);
}

void ColourButton::chosen(std::int32_t value) {
    setColour(value);
    if (onChange) onChange(value);
}

void ColourButton::closePalette() {
    if (palette_) palette_->close();
}

void ColourButton::dropDown() {
    if (palette_) {
        // A second click on the button closes what the first opened; a
        // floating palette is brought forward instead.
        if (palette_->floating()) palette_->bringForward();
        else palette_->close();
        return;
    }
    palette_ = ColourPaletteWindow::open(this);
    InvalidateRect(hwnd, nullptr, FALSE);
}

void ColourButton::paint(HDC dc, const RECT& r) {
    RECT face = r;
    DrawFrameControl(dc, &face, DFC_BUTTON, DFCS_BUTTONPUSH | (palette_ && !palette_->floating() ? DFCS_PUSHED : 0));
    RECT swatch{r.left + 4, r.top + 4, r.right - kArrowWidth - 2, r.bottom - 4};
    fill(dc, swatch, shown(value_, automatic_));
    frame(dc, swatch, GetSysColor(COLOR_BTNSHADOW));
    // The drop-down arrow.
    const int ax = r.right - kArrowWidth + 1, ay = (r.top + r.bottom) / 2 - 1;
    POINT tri[3] = {{ax, ay}, {ax + 6, ay}, {ax + 3, ay + 3}};
    {
        const Brush b(CreateSolidBrush(GetSysColor(COLOR_BTNTEXT)));
        const Pen p(CreatePen(PS_SOLID, 1, GetSysColor(COLOR_BTNTEXT)));
        const Selection sb(dc, b.get()), sp(dc, p.get());
        Polygon(dc, tri, 3);
    }
    if (GetFocus() == hwnd) {
        RECT f = r;
        InflateRect(&f, -2, -2);
        DrawFocusRect(dc, &f);
    }
}

bool ColourButton::message(UINT msg, WPARAM wp, LPARAM, LRESULT& result) {
    switch (msg) {
    case kColourButtonGetColour: result = value_; return true;
    case WM_MOUSEACTIVATE: result = MA_ACTIVATE; return true;
    case WM_LBUTTONDOWN: SetFocus(hwnd); return false;  // the base presses the button
    case WM_SETFOCUS:
    case WM_KILLFOCUS: InvalidateRect(hwnd, nullptr, FALSE); return false;
    case WM_GETDLGCODE:
        // While dropped down the keys drive the palette, Enter and Escape included.
        result = palette_ && !palette_->floating() ? DLGC_WANTALLKEYS : DLGC_WANTCHARS;
        return true;
    case WM_SYSKEYDOWN:
        if (wp == VK_DOWN && !palette_) {
            guarded([&] { dropDown(); });
            return true;
        }
        return false;
    case WM_KEYDOWN:
        if (palette_ && !palette_->floating()) {
            switch (wp) {
            case VK_LEFT: palette_->moveHot(palette::Move::Left); return true;
            case VK_RIGHT: palette_->moveHot(palette::Move::Right); return true;
            case VK_UP: palette_->moveHot(palette::Move::Up); return true;
            case VK_DOWN: palette_->moveHot(palette::Move::Down); return true;
            case VK_RETURN:
            case VK_SPACE: guarded([&] { palette_->chooseHot(); }); return true;
            case VK_ESCAPE:
            case VK_F4: palette_->close(); return true;
            }
            return true;
        }
        if (wp == VK_SPACE || wp == VK_F4) {
            guarded([&] { dropDown(); });
            return true;
        }
        return false;
    }
    return false;
}

}  // namespace tv
