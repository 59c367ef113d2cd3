#include "widgets/Controls.h"

#include "widgets/Handles.h"

#include <commctrl.h>
#include <windowsx.h>

#include <cmath>
#include <initializer_list>
#include <vector>

namespace tv {

namespace {
constexpr COLORREF kCream = RGB(250, 246, 232);
constexpr COLORREF kFaceDark = RGB(70, 82, 98);
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

// The pictures are drawn on a grid of this many units a side, the size of the
// square at 96 dots per inch; they scale with the control's client size.
constexpr int kDesignSize = 28;

struct Shade {
    COLORREF top, bottom, edge;
};

COLORREF blend(COLORREF a, COLORREF b, int percentOfB) {
    auto mix = [&](int x, int y) { return x + (y - x) * percentOfB / 100; };
    return RGB(mix(GetRValue(a), GetRValue(b)), mix(GetGValue(a), GetGValue(b)), mix(GetBValue(a), GetBValue(b)));
}

void verticalGradient(HDC dc, const RECT& r, COLORREF top, COLORREF bottom) {
    auto c16 = [](BYTE v) { return static_cast<COLOR16>(v << 8); };
    TRIVERTEX v[2] = {{r.left, r.top, c16(GetRValue(top)), c16(GetGValue(top)), c16(GetBValue(top)), 0},
                      {r.right, r.bottom, c16(GetRValue(bottom)), c16(GetGValue(bottom)), c16(GetBValue(bottom)), 0}};
    GRADIENT_RECT g{0, 1};
    GradientFill(dc, v, 2, &g, 1, GRADIENT_FILL_RECT_V);
}

// Maps the design grid onto a control's square, centred when it is not square.
class Grid {
public:
    explicit Grid(const RECT& r) {
        const int w = r.right - r.left, h = r.bottom - r.top;
        scale_ = (w < h ? w : h) / static_cast<double>(kDesignSize);
        ox_ = r.left + (w - kDesignSize * scale_) / 2;
        oy_ = r.top + (h - kDesignSize * scale_) / 2;
    }
    int x(double u) const { return static_cast<int>(std::lround(ox_ + u * scale_)); }
    int y(double u) const { return static_cast<int>(std::lround(oy_ + u * scale_)); }
    POINT at(double ux, double uy) const { return {x(ux), y(uy)}; }
    int len(double u) const {
        const long n = std::lround(u * scale_);
        return n < 1 ? 1 : static_cast<int>(n);
    }

private:
    double scale_ = 1, ox_ = 0, oy_ = 0;
};

HPEN roundPen(COLORREF colour, int width) {
    LOGBRUSH lb{BS_SOLID, colour, 0};
    return ExtCreatePen(PS_GEOMETRIC | PS_SOLID | PS_ENDCAP_ROUND | PS_JOIN_ROUND, static_cast<DWORD>(width), &lb, 0,
                        nullptr);
}

void polygon(HDC dc, const Grid& g, COLORREF fill, std::initializer_list<POINT> units) {
    std::vector<POINT> pts;
    for (const POINT& u : units) pts.push_back(g.at(u.x, u.y));
    const Brush b(CreateSolidBrush(fill));
    const Pen p(CreatePen(PS_SOLID, 1, fill));
    const Selection sb(dc, b.get()), sp(dc, p.get());
    Polygon(dc, pts.data(), static_cast<int>(pts.size()));
}

void line(HDC dc, const Grid& g, COLORREF colour, double width, double x1, double y1, double x2, double y2) {
    const Pen p(roundPen(colour, g.len(width)));
    const Selection sp(dc, p.get());
    MoveToEx(dc, g.x(x1), g.y(y1), nullptr);
    LineTo(dc, g.x(x2), g.y(y2));
}

void box(HDC dc, const Grid& g, COLORREF fill, double l, double t, double rr, double b) {
    const RECT r{g.x(l), g.y(t), g.x(rr), g.y(b)};
    const Brush brush(CreateSolidBrush(fill));
    FillRect(dc, &r, brush.get());
}

void outline(HDC dc, const Grid& g, COLORREF colour, double width, double l, double t, double rr, double b) {
    const Pen p(roundPen(colour, g.len(width)));
    const Selection sp(dc, p.get()), sb(dc, GetStockObject(NULL_BRUSH));
    Rectangle(dc, g.x(l), g.y(t), g.x(rr), g.y(b));
}

// The four pictures of the command panel's switches, in ink on the face
// colour. Off, each is struck through, so the state reads at a glance even
// without the change of colour.
void drawIcon(HDC dc, const RECT& r, SwitchIcon icon, bool on, COLORREF ink, COLORREF face) {
    const Grid g(r);
    switch (icon) {
    case SwitchIcon::Sound: {
        // A loudspeaker; sound waves while on.
        polygon(dc, g, ink, {{6, 11}, {10, 11}, {15, 6}, {15, 22}, {10, 17}, {6, 17}});
        if (on) {
            const Pen p(roundPen(ink, g.len(1.6)));
            const Selection sp(dc, p.get());
            // Counter-clockwise from below to above: the arcs open to the right.
            Arc(dc, g.x(13), g.y(10), g.x(21), g.y(18), g.x(18), g.y(19), g.x(18), g.y(9));
            Arc(dc, g.x(11), g.y(6), g.x(25), g.y(22), g.x(20), g.y(23), g.x(20), g.y(5));
        }
        break;
    }
    case SwitchIcon::KeyClick: {
        // A keyboard; the click's marks above it while on.
        const Brush b(CreateSolidBrush(ink));
        const Pen p(CreatePen(PS_SOLID, 1, ink));
        {
            const Selection sb(dc, b.get()), sp(dc, p.get());
            RoundRect(dc, g.x(4), g.y(10), g.x(24), g.y(22), g.len(3), g.len(3));
        }
        for (double kx : {7.0, 11.0, 15.0, 19.0}) {
            box(dc, g, face, kx, 12, kx + 2, 14);
            box(dc, g, face, kx, 15, kx + 2, 17);
        }
        box(dc, g, face, 9, 18, 19, 20);
        if (on) {
            line(dc, g, ink, 1.4, 14, 3, 14, 7);
            line(dc, g, ink, 1.4, 8, 4, 10, 7);
            line(dc, g, ink, 1.4, 20, 4, 18, 7);
        }
        break;
    }
    case SwitchIcon::Picture:
        // A framed landscape: mountains under a sun.
        outline(dc, g, ink, 1.6, 5, 7, 23, 21);
        polygon(dc, g, ink, {{7, 19}, {12, 12}, {15, 16}, {18, 12}, {21, 19}});
        {
            const Brush b(CreateSolidBrush(ink));
            const Pen p(CreatePen(PS_SOLID, 1, ink));
            const Selection sb(dc, b.get()), sp(dc, p.get());
            Ellipse(dc, g.x(8), g.y(9), g.x(11), g.y(12));
        }
        break;
    case SwitchIcon::SeeThrough:
        // Two sheets: while on, the back one shows through the tinted front
        // one; while off the front one is solid and hides it.
        if (on) {
            box(dc, g, blend(face, ink, 35), 11, 11, 23, 23);
            outline(dc, g, ink, 1.6, 5, 5, 17, 17);
        } else {
            outline(dc, g, ink, 1.6, 5, 5, 17, 17);
            box(dc, g, ink, 11, 11, 23, 23);
        }
        outline(dc, g, ink, 1.6, 11, 11, 23, 23);
        break;
    case SwitchIcon::None: break;
    }
    if (!on) {
        // A gap in the face colour either side of the stroke keeps it clear
        // of the picture below.
        line(dc, g, face, 4.5, 5, 23, 23, 5);
        line(dc, g, ink, 1.8, 5, 23, 23, 5);
    }
}

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
    pixelHeight_ = pixelHeight;
    createControl(parent, name, x, y, w, h);
}

void BitmapButton::paint(HDC dc, const RECT& r) {
    // A rounded face shaded from top to bottom: slate with a cream caption,
    // lighter with a black caption under the pointer, and shaded the other
    // way round while pressed, as if pushed in.
    const bool down = pressed(), lit = hot() && !down;
    const Shade shade = down ? Shade{RGB(150, 162, 178), RGB(184, 194, 207), RGB(96, 108, 124)}
                        : lit ? Shade{RGB(214, 221, 230), RGB(166, 178, 194), RGB(110, 122, 138)}
                              : Shade{RGB(108, 124, 144), RGB(58, 70, 86), RGB(40, 50, 64)};
    const int w = r.right - r.left, h = r.bottom - r.top;
    const int radius = MulDiv(8, h, kDesignSize);
    {
        const Region face(CreateRoundRectRgn(r.left, r.top, r.right + 1, r.bottom + 1, radius, radius));
        SelectClipRgn(dc, face.get());
        verticalGradient(dc, r, shade.top, shade.bottom);
        // A highlight along the upper edge gives the face its relief.
        const Pen light(CreatePen(PS_SOLID, 1, blend(shade.top, RGB(255, 255, 255), down ? 0 : 40)));
        const Selection sp(dc, light.get());
        MoveToEx(dc, r.left + radius / 2, r.top + 1, nullptr);
        LineTo(dc, r.right - radius / 2, r.top + 1);
        SelectClipRgn(dc, nullptr);
        const Brush edge(CreateSolidBrush(shade.edge));
        FrameRgn(dc, face.get(), edge.get(), 1, 1);
    }
    // The caption keeps its design offset and size relative to the square,
    // so it lands in the same place at any size of the control.
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, down || lit ? RGB(0, 0, 0) : kCream);
    const Selection f(dc, cachedFont(face.c_str(), MulDiv(pixelHeight_, h, kDesignSize)));
    TextOutW(dc, r.left + MulDiv(at_.x, w, kDesignSize), r.top + MulDiv(at_.y, h, kDesignSize), caption_.c_str(),
             static_cast<int>(caption_.size()));
}

void SwitchButton::create(HWND parent, const wchar_t* name, int x, int y, int w, int h, const std::wstring& glyph,
                          const wchar_t* faceName, int weight, bool italic, bool underline) {
    glyph_ = glyph;
    font_ = cachedFont(faceName, 13, weight, italic, underline);
    createControl(parent, name, x, y, w, h);
}

void SwitchButton::create(HWND parent, const wchar_t* name, int x, int y, int w, int h, SwitchIcon icon) {
    icon_ = icon;
    createControl(parent, name, x, y, w, h);
}

void SwitchButton::paint(HDC dc, const RECT& r) {
    fillRounded(dc, r, state ? kFaceDark : kOffFace, MulDiv(8, r.bottom - r.top, kDesignSize));
    if (icon_ != SwitchIcon::None) {
        drawIcon(dc, r, icon_, state, state ? kCream : kOffGlyph, state ? kFaceDark : kOffFace);
        return;
    }
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
