// The workspace's two hover panels and the eight placement handles around the
// hidden frame pMover.
#include "widgets/Errors.h"
#include "settings/Configuracion.h"
#include "sound/core/Fade.h"
#include "text/ContenidoTexto.h"
#include "text/Documents.h"
#include "text/Editor.h"
#include "workspace/Principal.h"
#include "workspace/core/HandleGeometry.h"

#include <commctrl.h>
#include <richedit.h>
#include <windowsx.h>

namespace tv {

namespace {

constexpr int kMenuWidth = 105, kMenuHeight = 370;
constexpr int kStylesWidth = 33, kStylesHeight = 370;

HWND label(HWND parent, const wchar_t* name, const wchar_t* text, int x, int y, HFONT font, bool visible) {
    // Sized to its text, as the panel's labels are. Named for tools and tests:
    // a static's text is what it shows.
    return createChild(parent, L"STATIC", text, SS_LEFT | SS_NOPREFIX | (visible ? WS_VISIBLE : 0), x, y, fitText(),
                       fitText(), 0, font, name);
}

Rect boundsIn(HWND parent, HWND child) {
    RECT r;
    GetWindowRect(child, &r);
    MapWindowPoints(HWND_DESKTOP, parent, reinterpret_cast<POINT*>(&r), 2);
    return {r.left, r.top, r.right - r.left, r.bottom - r.top};
}

Rect screenRect() {
    return {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
}

// Typing goes on in the text after a command. The editor usually has the focus
// already, and setting it again is not free: under Wine it makes the display
// resend focus events, which drop a Ctrl held for the next command.
void focusEditor() {
    HWND editor = fContenidoTexto->rtText.hwnd;
    if (GetFocus() != editor) SetFocus(editor);
}

const wchar_t* nodeCursor(int node) {
    switch (node) {
    case 0:
    case 4: return IDC_SIZENWSE;
    case 2:
    case 6: return IDC_SIZENESW;
    case 1:
    case 5: return IDC_SIZENS;
    default: return IDC_SIZEWE;
    }
}

}  // namespace

void TfPrincipal::createPanels() {
    panelFont_ = tahoma(11);
    HFONT font = panelFont_;
    pMenu = createPanel(hwnd, L"pMenu", 670, 0, kMenuWidth, kMenuHeight);
    SendMessageW(pMenu, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);

    struct ButtonRow {
        BitmapButton& button;
        const wchar_t* name;
        int x, y;
        const wchar_t* caption;
        POINT at;
        const wchar_t* tip;
        void (*run)(TfPrincipal&);
    };
    const ButtonRow buttons[] = {
        {bNew, L"bNew", 4, 8, L"New", {4, 6}, L"New document", [](TfPrincipal&) { documents::bNewClick(); }},
        {bConfiguracion, L"bConfiguracion", 37, 8, L"Cfg", {4, 6}, L"Configuration",
         [](TfPrincipal& p) { p.bConfiguracionClick(); }},
        {bSalir, L"bSalir", 70, 8, L"EXIT", {4, 6}, L"Exit", [](TfPrincipal& p) { p.bSalirClick(); }},
        {bGuardarComo, L"bGuardarComo", 4, 53, L"Sv A", {3, 6}, L"Save as",
         [](TfPrincipal&) { documents::bGuardarComoClick(); }},
        {bGuardar, L"bGuardar", 37, 53, L"Sv", {7, 6}, L"Save", [](TfPrincipal&) { documents::bGuardarClick(); }},
        {bAbrir, L"bAbrir", 70, 53, L"Op", {5, 6}, L"Open", [](TfPrincipal&) { documents::bAbrirClick(); }},
    };
    for (const ButtonRow& b : buttons) {
        b.button.create(pMenu, b.name, b.x, b.y, 28, 28, b.caption, b.at);
        b.button.setTooltip(b.tip);
        b.button.onClick = [this, run = b.run] { run(*this); };
    }

    struct SwitchRow {
        SwitchButton& sw;
        const wchar_t* name;
        int x, y;
        SwitchIcon icon;
        const wchar_t* tip;
        void (TfPrincipal::*run)();
    };
    const SwitchRow switches[] = {
        {bSonido, L"bSonido", 4, 108, SwitchIcon::Sound, L"Sound (on/off)", &TfPrincipal::bSonidoClick},
        {bTeclado, L"bTeclado", 38, 108, SwitchIcon::KeyClick, L"Keyboard click Sound (on/off)", &TfPrincipal::bTecladoClick},
        {bFondo, L"bFondo", 4, 142, SwitchIcon::Picture, L"Background image (Show/Hide)", &TfPrincipal::bFondoClick},
        {btnTransparente, L"btnTransparente", 38, 142, SwitchIcon::SeeThrough, L"Transparent background (on/off)",
         &TfPrincipal::btnTransparenteClick},
    };
    for (const SwitchRow& s : switches) {
        s.sw.create(pMenu, s.name, s.x, s.y, 28, 28, s.icon);
        s.sw.setTooltip(s.tip);
        s.sw.onClick = [this, run = s.run] { (this->*run)(); };
    }

    lVolumen = label(pMenu, L"lVolumen", L"Ambient volume:", 8, 197, font, true);
    sbVolumen = createChild(pMenu, TRACKBAR_CLASSW, L"sbVolumen",
                            WS_VISIBLE | WS_TABSTOP | TBS_HORZ | TBS_AUTOTICKS | TBS_FIXEDLENGTH, 1, 210, 101, 28);
    SendMessageW(sbVolumen, TBM_SETPAGESIZE, 0, 20);
    SendMessageW(sbVolumen, TBM_SETTHUMBLENGTH, dpiOf(sbVolumen).scale(15), 0);
    SendMessageW(sbVolumen, TBM_SETRANGEMIN, FALSE, kVolumeMin);
    SendMessageW(sbVolumen, TBM_SETRANGEMAX, FALSE, kVolumeMax);
    SendMessageW(sbVolumen, TBM_SETTICFREQ, 100, 0);
    SendMessageW(sbVolumen, TBM_SETPOS, TRUE, 0);
    lblTxtMinutos = label(pMenu, L"lblTxtMinutos", L"Time to rest:", 8, 244, font, false);
    pbTiempoDescanso.create(pMenu, L"pbTiempoDescanso", 8, 259, 89, 8, false);

    // Counters kept for the status line's figures; never shown.
    createChild(pMenu, L"STATIC", L"", SS_GRAYFRAME, 8, 282, 89, 63);
    label(pMenu, L"Label27", L"Count", 12, 286, font, false);
    label(pMenu, L"Label1", L"Lines:", 20, 305, font, false);
    label(pMenu, L"Label2", L"Words:", 20, 324, font, false);
    lContLineas = label(pMenu, L"lContLineas", L"0", 61, 305, font, false);
    lContPalabras = label(pMenu, L"lContPalabras", L"0", 61, 324, font, false);

    pEstilos = createPanel(hwnd, L"pEstilos", 0, 0, kStylesWidth, kStylesHeight);
    SendMessageW(pEstilos, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    bNegrita.create(pEstilos, L"bNegrita", 0, 7, 33, 31, L"B", L"Times New Roman", FW_BOLD);
    bItalica.create(pEstilos, L"bItalica", 0, 44, 33, 31, L"I", L"Times New Roman", FW_NORMAL, true);
    bSubrayado.create(pEstilos, L"bSubrayado", 0, 81, 33, 31, L"U", L"Times New Roman", FW_NORMAL, false, true);
    bNegrita.onClick = [this] { bNegritaClick(); };
    bItalica.onClick = [this] { bItalicaClick(); };
    bSubrayado.onClick = [this] { bSubrayadoClick(); };

    struct FontRow {
        BitmapButton& button;
        const wchar_t* name;
        int y;
        const wchar_t* caption;
        int captionX;
        const wchar_t* face;
        int pixels;
        const wchar_t* tip;
        bool size;  // a size button; otherwise a face button
    };
    const FontRow fonts[] = {
        {bFuenteP, L"bFuenteP", 147, L"T", 10, L"Tahoma", 11, L"Little font", true},
        {bFuenteM, L"bFuenteM", 181, L"T", 10, L"Tahoma", 13, L"Medium font", true},
        {bFuenteG, L"bFuenteG", 215, L"T", 10, L"Tahoma", 16, L"Big font", true},
        {bFuenteA, L"bFuenteA", 264, L"F", 10, L"Tahoma", 11, L"Font A", false},
        {bFuenteB, L"bFuenteB", 298, L"F", 8, L"Courier", 11, L"Font B", false},
        {bFuenteC, L"bFuenteC", 332, L"F", 10, L"Times", 11, L"Font C", false},
    };
    for (const FontRow& f : fonts) {
        f.button.create(pEstilos, f.name, 2, f.y, 28, 28, f.caption, {f.captionX, 6}, f.face, f.pixels);
        f.button.setTooltip(f.tip);
        BitmapButton* sender = &f.button;
        if (f.size)
            f.button.onClick = [this, sender] { bFuenteTamanyoClick(*sender); };
        else
            f.button.onClick = [this, sender] { bFuenteClick(*sender); };
    }
}

void TfPrincipal::muestraMenu() {
    const RECT t = fContenidoTexto->bounds();
    const Rect text{t.left, t.top, t.right - t.left, t.bottom - t.top};
    ShowWindow(pMenu, SW_HIDE);
    const int gap = dpiOf(hwnd).scale(kPanelGap);
    const Point menu = commandPanelOrigin(text, gap);
    SetWindowPos(pMenu, HWND_TOP, menu.x, menu.y, 0, 0, SWP_NOSIZE | SWP_NOACTIVATE);
    ShowWindow(pMenu, SW_SHOWNA);
    RECT styleBounds;
    GetWindowRect(pEstilos, &styleBounds);
    const Point styles = stylePanelOrigin(text, styleBounds.right - styleBounds.left, gap);
    SetWindowPos(pEstilos, HWND_TOP, styles.x, styles.y, 0, 0, SWP_NOSIZE | SWP_NOACTIVATE);
    ShowWindow(pEstilos, SW_SHOWNA);
    SetNodesVisible(true);
}

void TfPrincipal::ocultaMenu() {
    ShowWindow(pMenu, SW_HIDE);
    ShowWindow(pEstilos, SW_HIDE);
    SetNodesVisible(false);
}

void TfPrincipal::FormMouseEnter() {
    muestraMenu();
    PositionNodes(pMover);
    SetNodesVisible(true);
}

void TfPrincipal::bConfiguracionClick() {
    fConfiguracion->ShowModal();
    focusEditor();
}

void TfPrincipal::bNegritaClick() {
    editor::toggleEffect(fContenidoTexto->rtText.hwnd, CFE_BOLD);
    fContenidoTexto->formatChanged();  // no change notice comes for a format
    focusEditor();
}

void TfPrincipal::bItalicaClick() {
    editor::toggleEffect(fContenidoTexto->rtText.hwnd, CFE_ITALIC);
    fContenidoTexto->formatChanged();  // no change notice comes for a format
    focusEditor();
}

void TfPrincipal::bSubrayadoClick() {
    editor::toggleEffect(fContenidoTexto->rtText.hwnd, CFE_UNDERLINE);
    fContenidoTexto->formatChanged();  // no change notice comes for a format
    focusEditor();
}

void TfPrincipal::bFuenteClick(const BitmapButton& sender) {
    editor::setFace(fContenidoTexto->rtText.hwnd, sender.face.c_str());
    fContenidoTexto->formatChanged();  // no change notice comes for a format
    focusEditor();
}

void TfPrincipal::bFuenteTamanyoClick(const BitmapButton& sender) {
    editor::setPointSize(fContenidoTexto->rtText.hwnd, sender.points + 2);
    fContenidoTexto->formatChanged();  // no change notice comes for a format
    focusEditor();
}

void TfPrincipal::showVolumeControls(bool visible) {
    ShowWindow(lVolumen, visible ? SW_SHOWNA : SW_HIDE);
    ShowWindow(sbVolumen, visible ? SW_SHOWNA : SW_HIDE);
}

void TfPrincipal::showBreakCountdown() {
    const ProgressBar& bar = countdown.bar();
    pbTiempoDescanso.setRange(bar.min, bar.max);
    pbTiempoDescanso.setPosition(bar.pos);
    pbTiempoDescanso.setTooltip(countdown.hint());
    pbTiempoDescanso.setVisible(bar.visible);
    ShowWindow(lblTxtMinutos, countdown.labelVisible() ? SW_SHOWNA : SW_HIDE);
}

void TfPrincipal::setVolumen(int position) {
    const int p = position < kVolumeMin ? kVolumeMin : position > kVolumeMax ? kVolumeMax : position;
    if (sbVolumen) SendMessageW(sbVolumen, TBM_SETPOS, TRUE, p);
    if (p == volume) return;
    volume = p;
    sbVolumenChange();
}

// Placement handles.

void TfPrincipal::CreateNodes() {
    const wchar_t* cls = registerWindowClass(L"TvNode");
    FNodes.clear();
    nodes_.clear();
    for (int i = 0; i < kNodeCount; ++i) {
        const std::wstring name = L"Node" + std::to_wstring(i);
        auto node = std::make_unique<Node>(*this, i);
        node->create(cls, name.c_str(), 0, WS_CHILD, 0, 0, kNodeSize, kNodeSize, hwnd, i);
        FNodes.push_back(node->hwnd);
        nodes_.push_back(std::move(node));
    }
}

Rect TfPrincipal::frameBounds(HWND control) const {
    // The frame may hold a rectangle no window can: negative sizes mid-drag.
    return control == pMover ? moverRect_ : boundsIn(hwnd, control);
}

void TfPrincipal::setFrame(const Rect& r) {
    moverRect_ = r;
    SetWindowPos(pMover, nullptr, r.left, r.top, r.width > 0 ? r.width : 0, r.height > 0 ? r.height : 0,
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

void TfPrincipal::PositionNodes(HWND aroundControl) {
    const std::array<Point, kNodeCount> at =
        nodePositions(frameBounds(aroundControl), dpiOf(hwnd).scale(kNodeOutside));
    HWND from = GetParent(aroundControl);
    for (int i = 0; i < kNodeCount && i < static_cast<int>(FNodes.size()); ++i) {
        POINT p{at[i].x, at[i].y};
        MapWindowPoints(from, GetParent(FNodes[i]), &p, 1);
        SetWindowPos(FNodes[i], HWND_TOP, p.x, p.y, 0, 0, SWP_NOSIZE | SWP_NOACTIVATE);
    }
    FCurrentNodeControl = aroundControl;
    SetNodesVisible(true);
}

void TfPrincipal::SetNodesVisible(bool value) {
    for (HWND n : FNodes) ShowWindow(n, value ? SW_SHOWNA : SW_HIDE);
}

void TfPrincipal::NodeMouseMove(int node) {
    if (!FNodePositioning || !FCurrentNodeControl) return;
    POINT p;
    GetCursorPos(&p);
    ScreenToClient(GetParent(FCurrentNodeControl), &p);
    const Rect r = dragRect(node, frameBounds(FCurrentNodeControl), Point{p.x, p.y});
    if (FCurrentNodeControl == pMover)
        setFrame(r);
    else
        SetWindowPos(FCurrentNodeControl, nullptr, r.left, r.top, r.width, r.height, SWP_NOZORDER | SWP_NOACTIVATE);
    PositionNodes(FCurrentNodeControl);
}

void TfPrincipal::NodeMouseUp() {
    if (!FNodePositioning) return;
    FNodePositioning = false;  // first: releasing the capture reports a capture change
    ReleaseCapture();
    pMoverResize();
    HWND text = fContenidoTexto->hwnd;
    RedrawWindow(text, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    SetForegroundWindow(text);
    focusEditor();
}

void TfPrincipal::pMoverResize() {
    // A rectangle dragged inside out, to nothing or off the screen is put in
    // order and kept on screen, so the text window can always be reached.
    const Rect given = usableRect(moverRect_, screenRect());
    SetWindowPos(fContenidoTexto->hwnd, nullptr, given.left, given.top, given.width, given.height,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    // The frame and the handles mirror what the text window now has.
    setFrame(given);
    if (FCurrentNodeControl && IsWindowVisible(FNodes.front())) PositionNodes(pMover);
}

LRESULT TfPrincipal::Node::handle(UINT msg, WPARAM wp, LPARAM lp) {
    TfPrincipal* self = &owner_;
    const int node = index_;
    const HWND h = hwnd;
    switch (msg) {
    case WM_SETCURSOR: SetCursor(LoadCursorW(nullptr, nodeCursor(node))); return TRUE;
    case WM_MOUSEACTIVATE: return MA_NOACTIVATE;
    case WM_ERASEBKGND: return 1;
    case WM_PAINT: {
        const PaintDC dc(h);
        RECT r;
        GetClientRect(h, &r);
        FillRect(dc.get(), &r, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
        return 0;
    }
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
        // Any button starts a drag; the handle then gets all mouse input.
        self->FNodePositioning = true;
        SetCapture(h);
        return 0;
    case WM_MOUSEMOVE: guarded([&] { self->NodeMouseMove(node); }); return 0;
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
    case WM_MBUTTONUP: guarded([&] { self->NodeMouseUp(); }); return 0;
    case WM_CAPTURECHANGED:
        // Capture taken away (a message box, Alt+Tab): the drag ends where it stands.
        if (self && self->FNodePositioning && reinterpret_cast<HWND>(lp) != h) guarded([&] { self->NodeMouseUp(); });
        return 0;
    }
    return base(msg, wp, lp);
}

}  // namespace tv
