// Program entry: the fixed start-up order, the message loop, the end.
#include "widgets/Errors.h"
#include "app/SplashScreen.h"
#include "commands/Ayuda.h"
#include "i18n/Localization.h"
#include "i18n/Resources.h"
#include "rest/Descanso.h"
#include "settings/Configuracion.h"
#include "text/ContenidoTexto.h"
#include "text/Recovery.h"
#include "widgets/Win.h"
#include "workspace/Principal.h"

#include <commctrl.h>

using namespace tv;

namespace {

template <typename T>
T* makeWindow(const wchar_t* cls, const wchar_t* caption, DWORD ex, DWORD style, int w, int h, HWND owner,
              HBRUSH background = nullptr, int x = CW_USEDEFAULT, int y = CW_USEDEFAULT) {
    auto* win = new T();  // lives until the process ends
    Window::registerClass(cls, background);
    win->create(cls, caption, ex, style, x, y, w, h, owner);
    return win;
}

// The windows reach each other only through what is wired here: the text
// window through its host (the workspace), the configuration window through
// its links and hooks, the help overlay through its key handler.
void wireConfiguration(TfConfiguracion& c) {
    TfConfiguracion::Links& l = c.links;
    l.textArea = [] { return fContenidoTexto->bounds(); };
    l.moveTextArea = [](const Rect& r) {
        SetWindowPos(fContenidoTexto->hwnd, nullptr, r.left, r.top, r.width, r.height, SWP_NOZORDER | SWP_NOACTIVATE);
    };
    l.setTextAreaField = [](int field, int v) { fContenidoTexto->setTextAreaField(field, v); };
    l.setMinuteCounter = [](std::int32_t m) { fPrincipal->setMinutes(m); };
    l.showSwitches = [](bool sound, bool picture, bool transparent) {
        fPrincipal->showSwitches(sound, picture, transparent);
    };
    ConfigHooks& h = c.form.hooks;
    h.setWorkspaceColour = [](std::int32_t colour) { fPrincipal->setColor(colour); };
    h.setWorkspaceOpacity = [](int v) {
        // Only the opacity value: whether the workspace is see-through stays as it is.
        HWND ws = fPrincipal->hwnd;
        if (GetWindowLongPtrW(ws, GWL_EXSTYLE) & WS_EX_LAYERED) setAlphaBlend(ws, true, v);
    };
    h.setTextOpacity = [](int v) { setAlphaBlend(fContenidoTexto->hwnd, true, v); };
    h.setKeyClickSwitch = [](bool b) {
        if (fPrincipal) fPrincipal->showKeyClick(b);
    };
    h.workspaceWidth = [] { return fPrincipal->width(); };
    h.placeTextArea = [](const TextArea& a) {
        HWND text = fContenidoTexto->hwnd;
        SetWindowPos(text, nullptr, a.left, a.top, a.width, a.height, SWP_NOZORDER | SWP_NOACTIVATE);
        // The workspace's own resize step lays the frame pMover over the text window.
        fPrincipal->FormResize();
        RedrawWindow(text, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
    };
    h.initialise = [] { fPrincipal->inicializa(); };
}

void createWindows() {
    const DWORD popup = WS_POPUP | WS_CLIPCHILDREN;
    const Dpi dpi = dpiOf(nullptr);  // sizes are designed at 96 DPI
    // Created over the whole screen, so the maximized size holds even where no
    // window manager applies the maximized state.
    fPrincipal = makeWindow<TfPrincipal>(L"TfPrincipal", kAppTitle, WS_EX_APPWINDOW, popup,
                                         GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN), nullptr, 0, 0);
    fPrincipal->FormCreate();
    fAyuda = makeWindow<TfAyuda>(L"TfAyuda", L"Help", WS_EX_TOOLWINDOW, WS_POPUP, dpi.scale(563),
                                 dpi.scale(119), fPrincipal->hwnd);
    fAyuda->onKeyDown = [](WORD& key, bool shift, bool ctrl, bool alt) { fPrincipal->FormKeyDown(key, shift, ctrl, alt); };
    fAyuda->FormCreate();
    fConfiguracion = makeWindow<TfConfiguracion>(L"TfConfiguracion", L"Configuration", WS_EX_TOOLWINDOW, popup,
                                                 dpi.scale(586), dpi.scale(305), fPrincipal->hwnd, GetSysColorBrush(COLOR_BTNFACE));
    wireConfiguration(*fConfiguracion);
    fConfiguracion->FormCreate();
    fDescanso = makeWindow<TfDescanso>(L"TfDescanso", L"Rest", WS_EX_TOOLWINDOW, popup, dpi.scale(474), dpi.scale(266),
                                       fPrincipal->hwnd,
                                       GetSysColorBrush(COLOR_BTNFACE));
    fDescanso->FormCreate();
    fContenidoTexto = makeWindow<TfContenidoTexto>(L"TfContenidoTexto", L"Text", WS_EX_TOPMOST, popup, dpi.scale(570),
                                                   dpi.scale(328), fPrincipal->hwnd);
    setTopmostOwner(fContenidoTexto->hwnd);
    fContenidoTexto->host = fPrincipal;
    fContenidoTexto->FormCreate();
}

int run() {
    // Localisation is set up before any window exists. The catalog language
    // is Spanish whatever the user's locale or the stored language setting:
    // without Spanish catalogs everything stays English.
    AddDomainForResourceString(kWidgetsDomain);
    UseLanguage(L"es");
    // Message-box buttons are looked up like any resource string: the
    // program's domain first, then the widget set's.
    setToolkitTranslator(resourceString);
    // The help overlay looks its texts up while the windows are still being
    // created; a complaint about the catalog shown then would serve timer
    // ticks inside its box before the windows those timers drive exist.
    openDomain(kDefaultDomain);
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_BAR_CLASSES | ICC_PROGRESS_CLASS | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&icc);

    fSplashScreen = makeWindow<TfSplashScreen>(L"TfSplashScreen", kAppTitle, WS_EX_TOOLWINDOW, WS_POPUP,
                                               dpiOf(nullptr).scale(473), dpiOf(nullptr).scale(296), nullptr);
    fSplashScreen->FormCreate();

    if (!guarded(createWindows)) return 1;  // without its windows the program cannot run
    recovery::installCrashHandlers(fContenidoTexto->rtText.hwnd);

    // Errors here (a registry value of the wrong type) abandon the rest of the
    // load but not the start-up.
    guarded([] { fConfiguracion->leeConfiguracion(); });
    fConfiguracion->markLoaded();
    // Before any autosave can write: the last run's copy is kept aside.
    guarded([] { recovery::start(fConfiguracion->live.ficheroTemporal); });

    fSplashScreen->showAndPaint();
    // The slowest steps of applying the settings run inside the pause: the
    // picture is decoded on a thread of its own, and the ambient file's device
    // (for which Wine builds a whole media graph) is opened once the splash is
    // on screen; what either shows or plays keeps its place in inicializa.
    fPrincipal->prefetchPicture();
    // The pause handles no message. A wait through the window system, rather
    // than Sleep, also lets Wine put what was painted on the screen: it shows
    // window contents only then. A message sent to us meanwhile ends that
    // wait early, unanswered; Sleep serves the rest of the second.
    const ULONGLONG pauseEnd = GetTickCount64() + 1000;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, 0);
    guarded([] { fPrincipal->openAmbientAhead(); });
    if (const ULONGLONG now = GetTickCount64(); now < pauseEnd)
        MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(pauseEnd - now), 0);
    if (const ULONGLONG now = GetTickCount64(); now < pauseEnd) Sleep(static_cast<DWORD>(pauseEnd - now));
    guarded([] { fPrincipal->inicializa(); });
    ShowWindow(fSplashScreen->hwnd, SW_HIDE);

    ShowWindow(fPrincipal->hwnd, SW_SHOWMAXIMIZED);
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    // Only an end through the close handler comes here.
    recovery::cleanEnd();
    DestroyWindow(fSplashScreen->hwnd);
    return static_cast<int>(msg.wParam);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    // DLLs loaded by name come from the system folder only, never from the
    // program folder (a package unzipped into Downloads sits beside whatever
    // else was downloaded). The DLLs that are no KnownDLLs are delay-loaded,
    // so none of them has been looked for before this.
    SetDefaultDllDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32);
    // Exceptions in the fixed start-up order are reported like any other.
    int code = 0;
    if (!guarded([&] { code = run(); })) return 1;
    return code;
}
