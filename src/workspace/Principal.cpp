#include "workspace/Principal.h"

#include "widgets/Errors.h"
#include "commands/Ayuda.h"
#include "commands/core/CommandMap.h"
#include "i18n/Resources.h"
#include "rest/Descanso.h"
#include "settings/Configuracion.h"
#include "settings/core/Settings.h"
#include "sound/Ambient.h"
#include "text/ContenidoTexto.h"
#include "text/Documents.h"
#include "text/Recovery.h"

#include <commctrl.h>

#include <algorithm>
#include <cstdlib>

namespace tv {

namespace {
// Test seam: TOLVANE_TEST_AUTOSAVE_MS sets the autosave interval alone, so that a
// long run saves often while every other timer keeps its own pace.
UINT autosaveInterval() {
    const char* v = std::getenv("TOLVANE_TEST_AUTOSAVE_MS");
    const long ms = v ? std::atol(v) : 0;
    return ms > 0 ? static_cast<UINT>(ms) : 120000;
}
}  // namespace

TfPrincipal* fPrincipal = nullptr;

void TfPrincipal::FormCreate() {
    // The frame that mirrors the text window for the placement handles; never shown.
    pMover = createChild(hwnd, L"STATIC", L"pMover", 0, 0, 0, 0, 0);
    createPanels();
    CreateNodes();
    DrawRounded(pMenu);
    DrawRounded(pEstilos);
    verResumen = false;
    jvtTemporizador = std::make_unique<PeriodicTimer>([this] { jvtTemporizadorTimer(); }, 60000);
    jvtTemporizadorGuardadoAutomatico = std::make_unique<PeriodicTimer>([] { documents::autosave(); }, autosaveInterval());
    temporizadorResumen = std::make_unique<PeriodicTimer>([] { fContenidoTexto->refreshStatus(); }, 1000);
    ambient::create(hwnd);
    setVolumen(kVolumeMax / 2);  // setting the position applies it
}

bool TfPrincipal::pictureShown() const {
    const LiveSettings& s = fConfiguracion->live;
    return s.confImagenFondo && !s.ficheroImagenFondo.empty() && fileExists(s.ficheroImagenFondo) && jpgFondo &&
           !jpgFondo->empty();
}

namespace {
// What a picture file is now: a reload of a file that is the same by name, size
// and last write, for the same size shown, gives the same picture.
std::optional<PictureSource> pictureSourceOf(const std::wstring& path, FitSize fit) {
    WIN32_FILE_ATTRIBUTE_DATA a{};
    if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &a)) return std::nullopt;
    return PictureSource{path, (ULONGLONG{a.nFileSizeHigh} << 32) | a.nFileSizeLow,
                         (ULONGLONG{a.ftLastWriteTime.dwHighDateTime} << 32) | a.ftLastWriteTime.dwLowDateTime, fit};
}

DecodedPicture decodePicture(const std::wstring& path, FitSize fit) {
    DecodedPicture d;
    d.source = pictureSourceOf(path, fit);
    try {
        const std::string data = readWholeFile(path);
        std::string reason;
        d.image = decodeJpeg(reinterpret_cast<const unsigned char*>(data.data()), data.size(), &reason, fit);
        d.why.assign(reason.begin(), reason.end());  // libjpeg's reasons are ASCII
    } catch (const Failure& e) {
        d.why = e.text();
    }
    return d;
}
}  // namespace

bool PictureSource::operator==(const PictureSource& o) const {
    return path == o.path && size == o.size && written == o.written && fit.width == o.fit.width &&
           fit.height == o.fit.height;
}

void TfPrincipal::prefetchPicture() {
    const LiveSettings& s = fConfiguracion->live;
    if (!(s.confImagenFondo && !s.ficheroImagenFondo.empty() && fileExists(s.ficheroImagenFondo))) return;
    // Decoding touches nothing of the windows: it runs during the splash pause,
    // and the reload that comes after takes its result.
    prefetch_ = std::async(std::launch::async, decodePicture, s.ficheroImagenFondo, pictureFit());
}

void TfPrincipal::pintaFondo() {
    const LiveSettings& s = fConfiguracion->live;
    if (!(fileExists(s.ficheroImagenFondo) && s.confImagenFondo && !s.ficheroImagenFondo.empty())) return;
    const FitSize fit = pictureFit();
    const std::optional<PictureSource> now = pictureSourceOf(s.ficheroImagenFondo, fit);
    // Switched off and on again over the same file: the picture held is what a reload would give.
    if (jpgFondo && now && pictureSource_ == now) return;
    DecodedPicture d;
    if (prefetch_.valid()) d = prefetch_.get();
    if (!(d.source && d.source == now)) d = decodePicture(s.ficheroImagenFondo, fit);
    // Decoded for the size it is shown at, not kept at a camera's 24 megapixels.
    pictureFit_ = fit;
    jpgFondo = std::move(d.image);
    pictureSource_ = jpgFondo ? d.source : std::nullopt;
    if (!jpgFondo && reportedBadPicture != s.ficheroImagenFondo) {
        // The colour is painted instead; say so once for this file.
        reportedBadPicture = s.ficheroImagenFondo;
        ShowMessage(L"The background image \"" + s.ficheroImagenFondo + L"\" cannot be shown (" + d.why +
                    L"). The background colour is used instead.");
    }
}

FitSize TfPrincipal::pictureFit() const {
    // The workspace covers its monitor; before it is placed, the monitor says how large it will be.
    RECT c{};
    GetClientRect(hwnd, &c);
    FitSize fit{c.right - c.left, c.bottom - c.top};
    MONITORINFO mi{};
    mi.cbSize = sizeof mi;
    if (GetMonitorInfoW(MonitorFromWindow(hwnd, MONITOR_DEFAULTTONEAREST), &mi)) {
        fit.width = std::max<int>(fit.width, mi.rcMonitor.right - mi.rcMonitor.left);
        fit.height = std::max<int>(fit.height, mi.rcMonitor.bottom - mi.rcMonitor.top);
    }
    return fit;
}

void TfPrincipal::FormPaint(HDC dc, const RECT& clip) {
    if (pictureShown()) {
        RECT rc;
        GetClientRect(hwnd, &rc);
        drawImage(dc, rc, *jpgFondo);
        return;
    }
    FillRect(dc, &clip, background_.get(resolveColour(color, COLOR_WINDOW)));
}

void TfPrincipal::showCounts(int lines, int words) {
    SetWindowTextW(lContLineas, std::to_wstring(lines).c_str());
    SetWindowTextW(lContPalabras, std::to_wstring(words).c_str());
}

void TfPrincipal::showSelectionEffects(bool bold, bool italic, bool underline) {
    bNegrita.state = bold;
    bItalica.state = italic;
    bSubrayado.state = underline;
}

void TfPrincipal::showSwitches(bool sound, bool picture, bool transparent) {
    bSonido.state = sound;
    bFondo.state = picture;
    btnTransparente.state = transparent;
}

void TfPrincipal::statusLineStopped() { temporizadorResumen->setEnabled(verResumen); }

void TfPrincipal::repaint() {
    InvalidateRect(hwnd, nullptr, FALSE);
    UpdateWindow(hwnd);
}

void TfPrincipal::setColor(int c) {
    color = c;
    InvalidateRect(hwnd, nullptr, FALSE);
}

void TfPrincipal::FormResize() {
    if (pictureShown()) {
        // Larger than the picture was decoded for (another monitor): decoded again, as sharp as before.
        const FitSize now = pictureFit();
        if (now.width > pictureFit_.width || now.height > pictureFit_.height) {
            pintaFondo();
            InvalidateRect(hwnd, nullptr, FALSE);
        }
    }
    if (!fContenidoTexto || !fContenidoTexto->hwnd || !fAyuda || !fAyuda->hwnd) return;
    RECT t = fContenidoTexto->bounds();
    auto layOut = [&] {
        setFrame({t.left, t.top, t.right - t.left, t.bottom - t.top});
        ShowWindow(pMover, SW_HIDE);
        RECT c;
        GetClientRect(hwnd, &c);
        const Point help = helpOverlayOrigin(c.right, c.bottom, fAyuda->width(), fAyuda->height(),
                                             dpiOf(hwnd).scale(kHelpBottomGap));
        SetWindowPos(fAyuda->hwnd, nullptr, help.x, help.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    };
    try {
        // The first show loads the command-line document, which may fail.
        fContenidoTexto->show();
    } catch (...) {
        // The frame and the overlay are placed whatever the load does; the
        // error still goes on to be reported.
        layOut();
        throw;
    }
    layOut();
}

void TfPrincipal::inicializa() {
    const LiveSettings& s = fConfiguracion->live;
    pintaFondo();
    bFondo.state = s.confImagenFondo;
    fContenidoTexto->setEditorBorder(s.confImagenFondo ? 0 : 1);
    btnTransparente.state = s.confTransparente;
    setAlphaBlend(hwnd, s.confTransparente, s.transparenciaPrincipal.value);
    repaint();
    bSonido.state = s.confSonido;
    if (s.cambioFicheroSonido) reproduceSonido();
    countdown.setUp(s.iMinutos.value);
    iMinutos = countdown.minutes();
    showBreakCountdown();
    jvtTemporizador->setEnabled(true);
    showVolumeControls(s.confSonido);
    setColor(s.colorFondo);
    fContenidoTexto->applyColours(s.colorTexto, s.colorAreaTexto);
}

bool TfPrincipal::FormClose() {
    if (!hayCambios) return true;
    // A Save As cancelled from the prompt keeps the program and the text.
    if (!documents::preguntaGuardarCambios()) return false;
    ShowWindow(fContenidoTexto->hwnd, SW_HIDE);
    ShowWindow(hwnd, SW_HIDE);
    // The fade pauses even with the sound off, so closing takes the same time.
    MPFadeOut();
    ambient::close();
    jpgFondo.reset();
    return true;
}

void TfPrincipal::bFondoClick() {
    const LiveSettings& s = fConfiguracion->live;
    if (!fileExists(s.ficheroImagenFondo)) {
        ShowMessage(resourceString(missingMediaText(MissingMedia::BackgroundImage)));
        bFondo.state = false;
        return;
    }
    fConfiguracion->saveImagenFondo(bFondo.state);
    fContenidoTexto->setEditorBorder(s.confImagenFondo ? 0 : 1);
    pintaFondo();
    repaint();
}

void TfPrincipal::btnTransparenteClick() {
    const LiveSettings& s = fConfiguracion->live;
    fConfiguracion->saveTransparente(btnTransparente.state);
    setAlphaBlend(hwnd, s.confTransparente, s.transparenciaPrincipal.value);
}

void TfPrincipal::bSalirClick() { PostMessageW(hwnd, WM_CLOSE, 0, 0); }

void TfPrincipal::FormKeyDown(WORD& key, bool shift, bool ctrl, bool alt) {
    Modifiers mods{shift, alt, ctrl};
    Command c = workspaceCommand(key, mods);
    if (c == Command::None) return;
    key = 0;
    switch (c) {
    case Command::Save:
        switch (saveAction(hayCambios, !documents::sFicheroNombre.empty())) {
        case SaveAction::Save: documents::bGuardarClick(); break;
        case SaveAction::SaveAs: documents::bGuardarComoClick(); break;
        case SaveAction::None: break;
        }
        break;
    case Command::Open: documents::bAbrirClick(); break;
    case Command::New: documents::bNewClick(); break;
    case Command::ToggleTransparent: btnTransparente.toggle(); break;
    case Command::ToggleSound: bSonido.toggle(); break;
    case Command::ToggleBackground: bFondo.toggle(); break;
    case Command::ToggleClick: bTeclado.toggle(); break;
    case Command::ToggleHelp: fAyuda->toggle(); break;
    case Command::Exit: bSalirClick(); break;
    case Command::ToggleStatusLine:
        verResumen = !verResumen;
        fContenidoTexto->showStatusBar(verResumen);
        temporizadorResumen->setEnabled(verResumen);
        break;
    default: break;
    }
}

void TfPrincipal::dpiChanged(int dpi) {
    applyDpi(hwnd, dpi);
    DrawRounded(pMenu);
    DrawRounded(pEstilos);
    // Still the whole monitor, whatever size the system suggests.
    HMONITOR mon = MonitorFromWindow(hwnd, MONITOR_DEFAULTTOPRIMARY);
    MONITORINFO mi{};
    mi.cbSize = sizeof mi;
    if (GetMonitorInfoW(mon, &mi))
        SetWindowPos(hwnd, nullptr, mi.rcMonitor.left, mi.rcMonitor.top, mi.rcMonitor.right - mi.rcMonitor.left,
                     mi.rcMonitor.bottom - mi.rcMonitor.top, SWP_NOZORDER | SWP_NOACTIVATE);
    FormResize();  // the frame and the help overlay
    if (IsWindowVisible(pMenu)) FormMouseEnter();  // panels and handles beside the text window again
}

LRESULT TfPrincipal::handle(UINT msg, WPARAM wp, LPARAM lp) {
    // A long run's question from outside: how many GDI objects the program holds.
    static const UINT liveGdiQuestion = RegisterWindowMessageW(L"TolvaneLiveGdiObjects");
    if (msg == liveGdiQuestion && msg != 0) return liveGdiObjects;
    switch (msg) {
    case WM_ERASEBKGND: return 1;
    case WM_PAINT: {
        const PaintDC dc(hwnd);
        FormPaint(dc.get(), dc.dirty());
        return 0;
    }
    case WM_SIZE: FormResize(); return 0;
    case WM_DPICHANGED: dpiChanged(LOWORD(wp)); return 0;
    case WM_MOUSEMOVE:
        // The workspace's own surface: coming back from a panel enters again.
        if (mouse_.moved(hwnd)) FormMouseEnter();
        return 0;
    case WM_MOUSELEAVE: mouse_.left(); return 0;
    case WM_HSCROLL:
        if (reinterpret_cast<HWND>(lp) == sbVolumen) {
            // The user moved the slider: the same path as a change from code.
            setVolumen(static_cast<int>(SendMessageW(sbVolumen, TBM_GETPOS, 0, 0)));
        }
        return 0;
    case WM_GETMINMAXINFO: {
        // Maximized means the whole monitor: no border, no caption, over everything.
        auto* mm = reinterpret_cast<MINMAXINFO*>(lp);
        HMONITOR mon = MonitorFromWindow(hwnd, MONITOR_DEFAULTTOPRIMARY);
        MONITORINFO mi{};
        mi.cbSize = sizeof mi;
        if (GetMonitorInfoW(mon, &mi)) {
            mm->ptMaxPosition = {0, 0};
            mm->ptMaxSize = {mi.rcMonitor.right - mi.rcMonitor.left, mi.rcMonitor.bottom - mi.rcMonitor.top};
        }
        return 0;
    }
    case WM_KEYDOWN: {
        WORD key = static_cast<WORD>(wp);
        FormKeyDown(key, GetKeyState(VK_SHIFT) < 0, GetKeyState(VK_CONTROL) < 0, GetKeyState(VK_MENU) < 0);
        return 0;
    }
    case WM_CLOSE:
        // An error in the close sequence (a failed save) leaves the program
        // running, and so does a refused close; either way the question
        // asked on behalf of a session end is answered now.
        {
            const bool closing = FormClose();
            recovery::allowEndOfSession(hwnd);
            if (closing) DestroyWindow(hwnd);
        }
        return 0;
    case WM_QUERYENDSESSION:
        if (!hayCambios) return TRUE;
        // The copy first: the session may end before the question is answered.
        documents::autosave();
        if (lp & ENDSESSION_CRITICAL) return TRUE;  // cannot be refused; the copy is recovered at the next start
        // Refused for now: the shutdown screen shows why, and the close
        // handler asks as for any other close request.
        recovery::blockEndOfSession(hwnd);
        PostMessageW(hwnd, WM_CLOSE, 0, 0);
        return FALSE;
    case WM_DESTROY: PostQuitMessage(0); return 0;
    }
    return base(msg, wp, lp);
}

}  // namespace tv
