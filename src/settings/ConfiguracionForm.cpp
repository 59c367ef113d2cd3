// The configuration window itself: its tabs and controls, the live previews,
// the file pickers, the About links and the modal showing.
#include "widgets/Errors.h"
#include "settings/Configuracion.h"
#include "settings/FilePicker.h"
#include "widgets/Handles.h"

#include <commctrl.h>
#include <shellapi.h>
#include <windowsx.h>

#include <vector>

namespace tv {

namespace {

constexpr int kClientW = 586, kClientH = 305;
constexpr int kAlpha = 220;
constexpr int kCorner = 20;

enum : int {
    kGuardarId = 1001,
    kTabId = 1002,
    kSonidoId = 1010,
    kAmbienteId,
    kKeyboardId,
    kClickId,
    kFondoId = 1020,
    kImagenId,
    kTransparenciaId,
    kResetId = 1030,
    kTemporalId = 1040,
    kIdiomasId = 1050,
    kHomeLinkId = 1060,
    kFeedbackLinkId,
    kMakerLinkId,
    kLogoId = 1070,
};
constexpr UINT kPickMsg = WM_APP + 40;  // wParam: the PathField whose picker opens

enum Page { kSoundPage, kBackgroundPage, kTextAreaPage, kBreakPage, kOtherPage, kLanguagesPage, kAboutPage };
const wchar_t* const kPageCaptions[] = {L"Sound", L"Background", L"Text area", L"Break timer",
                                        L"Other", L"Languages", L"About"};
// The Languages page exists, but no tab leads to it.
constexpr bool kPageHasTab[] = {true, true, true, true, true, false, true};

constexpr const wchar_t* kHomePage = L"https://www.tolvane.org/";
constexpr const wchar_t* kFeedbackMail = L"feedback@tolvane.org";
constexpr const wchar_t* kMakerSite = L"https://www.virelo.org/";
constexpr const wchar_t* kMakerNotice = L"\u00A9 2009-2025 Virelo";
constexpr const wchar_t* kRightsNotice = L"All rights reserved.";


HWND make(HWND parent, const wchar_t* cls, const wchar_t* text, DWORD style, int x, int y, int w, int h, int id,
          HFONT font, const wchar_t* controlName = nullptr, DWORD ex = 0) {
    return createChild(parent, cls, text, WS_VISIBLE | style, x, y, w, h, id, font, controlName, ex);
}

// A label as wide and high as its text.
HWND label(HWND parent, const wchar_t* text, int x, int y, HFONT font, int id = 0, DWORD style = 0,
           const wchar_t* controlName = nullptr) {
    return make(parent, L"STATIC", text, SS_LEFT | SS_NOPREFIX | style, x, y, fitText(1), fitText(), id, font,
                controlName);
}

// A check box at least as wide as the design gives it, and wide enough for its
// text in the font the system actually has.
HWND checkBox(HWND parent, const wchar_t* text, int x, int y, int w, int id, HFONT font, const wchar_t* controlName) {
    const Dpi dpi = dpiOf(parent);
    const SIZE sz = textExtent(parent, fontAtDpi(font, dpi.dpi), text);
    const int need = sz.cx + GetSystemMetricsForDpi(SM_CXMENUCHECK, static_cast<UINT>(dpi.dpi)) + dpi.scale(8);
    // Designed widths are at 96 DPI: the measured need goes back there, rounded up.
    const int need96 = dpi.base() ? need : dpi.unscale(need) + 1;
    return make(parent, L"BUTTON", text, BS_AUTOCHECKBOX | WS_TABSTOP, x, y, need96 > w ? need96 : w, 17, id, font,
                controlName);
}

bool checked(HWND box) { return SendMessageW(box, BM_GETCHECK, 0, 0) == BST_CHECKED; }

std::wstring textOf(HWND h) {
    std::wstring t(static_cast<size_t>(GetWindowTextLengthW(h)) + 1, L'\0');
    t.resize(static_cast<size_t>(GetWindowTextW(h, t.data(), static_cast<int>(t.size()))));
    return t;
}

std::optional<Image> logoPicture() {
    const std::optional<std::string_view> data = programResource(L"LOGO");
    if (!data) return std::nullopt;
    return decodeJpeg(reinterpret_cast<const unsigned char*>(data->data()), data->size());
}

}  // namespace

void TfConfiguracion::FormCreate() {
    version = GetVersion(programPath());

    font_ = tahoma(11);
    titleFont_ = tahoma(13);  // 10 point
    linkFont_ = cachedFont(L"Tahoma", 11, FW_NORMAL, false, true);
    logo_ = logoPicture();

    // The controls' reactions that stay in this window; those that reach
    // other windows are wired at start-up.
    form.hooks.save = [this] { escribeConfiguracion(); };
    form.hooks.hide = [this] {
        colorFondo.closePalette();
        colorTexto.closePalette();
        colorAreaTexto.closePalette();
        modal_ = false;  // ShowModal hides the window once the others are enabled again
    };

    createControls();

    // No border, no title bar: a rounded rectangle, slightly see-through.
    SetWindowLongPtrW(hwnd, GWL_STYLE, WS_POPUP | WS_CLIPCHILDREN);
    const Dpi dpi = dpiOf(hwnd);
    SetWindowPos(hwnd, nullptr, 0, 0, dpi.scale(kClientW), dpi.scale(kClientH),
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    setRoundedRegion(hwnd, dpi.scale(kClientW), dpi.scale(kClientH), dpi.scale(kCorner), TRUE);
    setAlphaBlend(hwnd, true, kAlpha);
    syncControls();
}

void TfConfiguracion::createControls() {
    const wchar_t* pageClass = registerWindowClass(L"TvConfigPage", pageProc);
    HFONT f = font_;

    PageControl1 = make(hwnd, WC_TABCONTROLW, L"", WS_TABSTOP | WS_CLIPSIBLINGS, 8, 24, 553, 217, kTabId, f,
                        L"PageControl1");
    int tab = 0;
    for (int p = 0; p < kPages; ++p) {
        if (!kPageHasTab[p]) continue;
        TCITEMW item{};
        item.mask = TCIF_TEXT | TCIF_PARAM;
        item.pszText = const_cast<wchar_t*>(kPageCaptions[p]);
        item.lParam = p;
        SendMessageW(PageControl1, TCM_INSERTITEMW, tab++, reinterpret_cast<LPARAM>(&item));
    }
    for (int p = 0; p < kPages; ++p) {
        // Placed by placePages, over the tab control's display area.
        pages_[p] = createChild(hwnd, pageClass, kPageCaptions[p], WS_CLIPCHILDREN | (p == 0 ? WS_VISIBLE : 0), 0, 0,
                                0, 0, 0, nullptr, nullptr, WS_EX_CONTROLPARENT);
    }
    placePages();

    const DWORD edit = ES_AUTOHSCROLL | WS_TABSTOP;
    auto pathField = [&](HWND page, int x, int y, int id, PathField field, const wchar_t* n) {
        HWND e = make(page, L"EDIT", L"", edit, x, y, 480, 21, id, f, n, WS_EX_CLIENTEDGE);
        SetWindowSubclass(e, editProc, 1, static_cast<DWORD_PTR>(field));
        return e;
    };

    HWND p = pages_[kSoundPage];
    cSonido = checkBox(p, L"Ambient Sound ", 7, 7, 130, kSonidoId, f, L"cSonido");
    label(p, L"File:", 23, 30, f);
    sFicheroSonidoAmbiente = pathField(p, 23, 49, kAmbienteId, PathField::AmbientSound, L"sFicheroSonidoAmbiente");
    cKeyboardSound = checkBox(p, L"Keyboard Sound ", 7, 91, 130, kKeyboardId, f, L"cKeyboardSound");
    label(p, L"File:", 23, 114, f);
    sFicheroSonidoClick = pathField(p, 23, 133, kClickId, PathField::ClickSound, L"sFicheroSonidoClick");

    p = pages_[kBackgroundPage];
    cFondo = checkBox(p, L"Background image (on/off)", 10, 11, 159, kFondoId, f, L"cFondo");
    label(p, L"File:", 26, 36, f);
    sFicheroImagenFondo = pathField(p, 26, 55, kImagenId, PathField::BackgroundImage, L"sFicheroImagenFondo");
    label(p, L"Background color", 24, 88, f);
    colorFondo.create(p, L"colorFondo", 112, 82, 35, 22, COLOR_WINDOW);
    cTransparencia = checkBox(p, L"Transparency (on/off)", 8, 142, 137, kTransparenciaId, f, L"cTransparencia");
    label(p, L"Transparency value (1-255):", 192, 144, f);
    transparenciaPrincipal.create(p, L"transparenciaPrincipal", 336, 138, 186, 26, 0, 255);

    p = pages_[kTextAreaPage];
    label(p, L"Text area color", 22, 15, f);
    colorAreaTexto.create(p, L"colorAreaTexto", 111, 9, 35, 22, COLOR_WINDOW);
    label(p, L"Text color", 22, 46, f);
    colorTexto.create(p, L"colorTexto", 111, 38, 35, 22, COLOR_WINDOWTEXT);
    label(p, L"Transparency value (1-255):", 23, 82, f);
    transparenciaAreaTexto.create(p, L"transparenciaAreaTexto", 111, 101, 296, 26, 0, 255);
    JvXPButton1 = make(p, L"BUTTON", L"Reset text area dimensions", BS_PUSHBUTTON | BS_FLAT | WS_TABSTOP, 22, 150, 187,
                       25, kResetId, f, L"JvXPButton1");

    p = pages_[kBreakPage];
    make(p, L"STATIC",
         L"To keep your productivity high it is important to take short breaks. From here, you can set how many "
         L"minutes you want to write, and how many seconds you need to rest.",
         SS_LEFT | SS_NOPREFIX, 17, 12, 512, 42, 0, f);
    label(p, L"Time to rest break (minutes):", 17, 58, f);
    iMinutos.create(p, L"iMinutos", 53, 77, 348, 26, 0, 180);
    label(p, L"Break duration (seconds):", 17, 107, f);
    iSegundos.create(p, L"iSegundos", 53, 126, 348, 26, 0, 600);

    p = pages_[kOtherPage];
    make(p, L"STATIC", L"Every two minutes, Tolvane autosaves your writing. Please set a temporary file. ",
         SS_LEFT | SS_NOPREFIX, 17, 12, 512, 18, 0, f);
    label(p, L"Autosave  file:", 17, 36, f);
    sFicheroTemporal = pathField(p, 30, 55, kTemporalId, PathField::Autosave, L"sFicheroTemporal");

    p = pages_[kLanguagesPage];
    label(p, L"Languages:", 23, 18, f);
    listaIdiomas = make(p, L"LISTBOX", L"", LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | WS_BORDER | WS_TABSTOP, 35, 39, 121, 47,
                        kIdiomasId, f, L"listaIdiomas");
    for (const wchar_t* entry : {L"System default", L"English", L"Spanish"})
        SendMessageW(listaIdiomas, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(entry));

    p = pages_[kAboutPage];
    imgLogo = make(p, L"STATIC", L"", SS_OWNERDRAW, 43, 34, 104, 88, kLogoId, f, L"imgLogo");
    lbNombreAplicacion = label(p, productLabel(version).c_str(), 173, 30, titleFont_, 0, 0, L"lbNombreAplicacion");
    JvgStaticText3 = label(p, kMakerNotice, 173, 52, linkFont_, kMakerLinkId, SS_NOTIFY, L"JvgStaticText3");
    label(p, kRightsNotice, 173, 71, f);
    JvgStaticText1 = label(p, L"Homepage: www.tolvane.org", 173, 112, linkFont_, kHomeLinkId,
                           SS_NOTIFY, L"JvgStaticText1");
    JvgStaticText2 = label(p, (std::wstring(L"Feedback: ") + kFeedbackMail).c_str(), 173, 131, linkFont_,
                           kFeedbackLinkId,
                           SS_NOTIFY, L"JvgStaticText2");
    for (HWND link : {JvgStaticText1, JvgStaticText2, JvgStaticText3})
        SetWindowSubclass(link, linkProc, 1, reinterpret_cast<DWORD_PTR>(this));

    const DWORD push = BS_PUSHBUTTON | BS_FLAT | WS_TABSTOP;
    bGuardarConfiguracion = make(hwnd, L"BUTTON", L"Save actual configuration", push, 8, 247, 193, 25, kGuardarId, f,
                                 L"bGuardarConfiguracion");
    bAceptar = make(hwnd, L"BUTTON", L"OK", BS_DEFPUSHBUTTON | BS_FLAT | WS_TABSTOP, 398, 247, 75, 25, IDOK, f,
                    L"bAceptar");
    bCancelar = make(hwnd, L"BUTTON", L"Cancel", push, 488, 247, 75, 25, IDCANCEL, f, L"bCancelar");

    // Reactions of the program's own controls.
    colorFondo.onChange = [this](std::int32_t c) { form.colorFondoChange(c); };
    colorTexto.onChange = [this](std::int32_t c) { form.colorTextoChange(c); };
    colorAreaTexto.onChange = [this](std::int32_t c) { form.colorAreaTextoChange(c); };
    transparenciaPrincipal.onChange = [this](int v) { form.transparenciaPrincipalChange(v); };
    transparenciaAreaTexto.onChange = [this](int v) { form.transparenciaAreaTextoChange(v); };
    iMinutos.onChange = [this](int v) { form.iMinutosChange(v); };
    iSegundos.onChange = [this](int v) { form.iSegundosChange(v); };
}

void TfConfiguracion::placePages() {
    RECT area;
    GetWindowRect(PageControl1, &area);
    MapWindowPoints(HWND_DESKTOP, hwnd, reinterpret_cast<POINT*>(&area), 2);
    SendMessageW(PageControl1, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&area));
    for (HWND page : pages_) {
        // Above the tab control, so that clicks on the page reach its controls.
        SetWindowPos(page, HWND_TOP, area.left, area.top, area.right - area.left, area.bottom - area.top,
                     SWP_NOACTIVATE);
    }
}

void TfConfiguracion::syncControls() {
    if (!cSonido) return;  // not created yet
    struct Syncing {
        bool& flag;
        explicit Syncing(bool& f) : flag(f) { flag = true; }
        ~Syncing() { flag = false; }
    } syncing{syncing_};
    auto check = [](HWND box, bool on) { SendMessageW(box, BM_SETCHECK, on ? BST_CHECKED : BST_UNCHECKED, 0); };
    check(cSonido, live.confSonido);
    check(cKeyboardSound, live.keyboardSound);
    check(cFondo, live.confImagenFondo);
    check(cTransparencia, live.confTransparente);
    auto text = [](HWND field, const std::wstring& t) {
        if (textOf(field) != t) SetWindowTextW(field, t.c_str());
    };
    text(sFicheroSonidoAmbiente, live.ficheroSonidoAmbiente);
    text(sFicheroSonidoClick, live.ficheroSonidoClick);
    text(sFicheroImagenFondo, live.ficheroImagenFondo);
    text(sFicheroTemporal, live.ficheroTemporal);
    colorFondo.setColour(live.colorFondo);
    colorTexto.setColour(live.colorTexto);
    colorAreaTexto.setColour(live.colorAreaTexto);
    transparenciaPrincipal.setValue(live.transparenciaPrincipal.value);
    transparenciaAreaTexto.setValue(live.transparenciaAreaTexto.value);
    iMinutos.setValue(live.iMinutos.value);
    iSegundos.setValue(live.iSegundos.value);
    SendMessageW(listaIdiomas, LB_SETCURSEL, static_cast<WPARAM>(live.languageIndex), 0);
}

void TfConfiguracion::setKeyboardSound(bool ticked) {
    form.cKeyboardSoundClick(ticked);  // the workspace's key-click switch follows
    if (cKeyboardSound && checked(cKeyboardSound) != ticked)
        SendMessageW(cKeyboardSound, BM_SETCHECK, ticked ? BST_CHECKED : BST_UNCHECKED, 0);
}

void TfConfiguracion::FormShow() {
    form.FormShow();
    // Every control shows its holder again; the check boxes thus mirror the
    // three flags that the workspace's switches may have changed.
    syncControls();
}

void TfConfiguracion::ShowModal() {
    ModalHooks hooks;
    hooks.show = [this] {
        FormShow();
        // Centred on the screen, in front of the stay-on-top text window.
        const int x = (GetSystemMetrics(SM_CXSCREEN) - width()) / 2, y = (GetSystemMetrics(SM_CYSCREEN) - height()) / 2;
        SetWindowPos(hwnd, HWND_TOPMOST, x, y, 0, 0, SWP_NOSIZE | SWP_SHOWWINDOW);
        SetForegroundWindow(hwnd);
        SetFocus(PageControl1);
    };
    hooks.quit = [this] { form.hooks.hide(); };
    hooks.filter = [this](const MSG& msg) {
        const bool ours = msg.hwnd == hwnd || IsChild(hwnd, msg.hwnd);
        if (ours && msg.message == WM_KEYDOWN && msg.wParam == VK_TAB && GetKeyState(VK_CONTROL) < 0) {
            selectNextTab(GetKeyState(VK_SHIFT) < 0);
            return true;
        }
        return false;
    };
    showModal(hwnd, modal_, hooks);
}

void TfConfiguracion::ShellOpen(const std::wstring& url, const std::wstring& params) {
    ShellExecuteW(nullptr, L"open", url.c_str(), params.empty() ? nullptr : params.c_str(), nullptr, SW_SHOWNORMAL);
}

void TfConfiguracion::showPage(int page) {
    if (page < 0 || page >= kPages) return;
    HWND focus = GetFocus();
    page_ = page;
    ShowWindow(pages_[page], SW_SHOW);
    for (int i = 0; i < kPages; ++i)
        if (i != page) ShowWindow(pages_[i], SW_HIDE);
    if (focus && !IsWindowVisible(focus)) SetFocus(PageControl1);
}

void TfConfiguracion::selectNextTab(bool back) {
    const int count = static_cast<int>(SendMessageW(PageControl1, TCM_GETITEMCOUNT, 0, 0));
    if (count <= 0) return;
    const int cur = static_cast<int>(SendMessageW(PageControl1, TCM_GETCURSEL, 0, 0));
    const int next = ((cur < 0 ? 0 : cur) + (back ? count - 1 : 1)) % count;
    SendMessageW(PageControl1, TCM_SETCURSEL, next, 0);
    TCITEMW item{};
    item.mask = TCIF_PARAM;
    SendMessageW(PageControl1, TCM_GETITEMW, next, reinterpret_cast<LPARAM>(&item));
    showPage(static_cast<int>(item.lParam));
}

HWND TfConfiguracion::pathEdit(PathField field) const {
    switch (field) {
    case PathField::AmbientSound: return sFicheroSonidoAmbiente;
    case PathField::ClickSound: return sFicheroSonidoClick;
    case PathField::BackgroundImage: return sFicheroImagenFondo;
    case PathField::Autosave: break;
    }
    return sFicheroTemporal;
}

void TfConfiguracion::pickFile(PathField field) {
    const std::optional<std::wstring> chosen =
        tv::pickFile(hwnd, pathFilter(field), field == PathField::BackgroundImage);
    // The field's change notification carries the new path into the settings.
    if (chosen) SetWindowTextW(pathEdit(field), chosen->c_str());
}

void TfConfiguracion::command(int id, int code, HWND from) {
    switch (id) {
    case IDOK: form.bAceptarClick(); return;
    case IDCANCEL: form.bCancelarClick(); return;
    case kGuardarId: form.bGuardarConfiguracionClick(); return;
    case kResetId:
        if (code == BN_CLICKED) form.resetTextAreaClick();
        return;
    case kSonidoId:
        if (code == BN_CLICKED) form.cSonidoClick(checked(from));
        return;
    case kKeyboardId:
        if (code == BN_CLICKED) setKeyboardSound(checked(from));
        return;
    case kFondoId:
        if (code == BN_CLICKED) form.cFondoClick(checked(from));
        return;
    case kTransparenciaId:
        if (code == BN_CLICKED) form.cTransparenciaClick(checked(from));
        return;
    case kAmbienteId:
    case kClickId:
    case kImagenId:
    case kTemporalId: {
        if (code != EN_CHANGE || syncing_) return;
        const PathField field = id == kAmbienteId ? PathField::AmbientSound
                                : id == kClickId  ? PathField::ClickSound
                                : id == kImagenId ? PathField::BackgroundImage
                                                  : PathField::Autosave;
        form.pathChange(field, textOf(from));
        return;
    }
    case kIdiomasId:
        if (code == LBN_SELCHANGE && !syncing_)
            form.listaIdiomasChange(static_cast<int>(SendMessageW(from, LB_GETCURSEL, 0, 0)));
        return;
    case kHomeLinkId:
        if (code == STN_CLICKED) ShellOpen(kHomePage, L"");
        return;
    case kFeedbackLinkId:
        if (code == STN_CLICKED) ShellOpen(std::wstring(L"mailto:") + kFeedbackMail, L"");
        return;
    case kMakerLinkId:
        if (code == STN_CLICKED) ShellOpen(kMakerSite, L"");
        return;
    }
}

LRESULT CALLBACK TfConfiguracion::pageProc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_ERASEBKGND: {
        RECT r;
        GetClientRect(h, &r);
        FillRect(reinterpret_cast<HDC>(wp), &r, GetSysColorBrush(COLOR_WINDOW));
        return 1;
    }
    case WM_COMMAND:
    case WM_NOTIFY:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
    case WM_DRAWITEM:
        // The window owns every reaction; its pages only hold the controls.
        return SendMessageW(GetParent(h), msg, wp, lp);
    }
    return DefWindowProcW(h, msg, wp, lp);
}

LRESULT CALLBACK TfConfiguracion::editProc(HWND h, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR field) {
    if (msg == WM_LBUTTONUP) {
        // A click into a path field opens its picker, once the click is over.
        LRESULT r = DefSubclassProc(h, msg, wp, lp);
        PostMessageW(GetAncestor(h, GA_ROOT), kPickMsg, static_cast<WPARAM>(field), 0);
        return r;
    }
    if (msg == WM_NCDESTROY) RemoveWindowSubclass(h, editProc, 1);
    return DefSubclassProc(h, msg, wp, lp);
}

LRESULT CALLBACK TfConfiguracion::linkProc(HWND h, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR data) {
    auto* self = reinterpret_cast<TfConfiguracion*>(data);
    switch (msg) {
    case WM_SETCURSOR: SetCursor(LoadCursorW(nullptr, IDC_HAND)); return TRUE;
    case WM_MOUSEMOVE:
        if (self->hoveredLink_ != h) {
            if (self->hoveredLink_) InvalidateRect(self->hoveredLink_, nullptr, TRUE);
            self->hoveredLink_ = h;
            TRACKMOUSEEVENT t{sizeof t, TME_LEAVE, h, 0};
            TrackMouseEvent(&t);
            InvalidateRect(h, nullptr, TRUE);
        }
        break;
    case WM_MOUSELEAVE:
        if (self->hoveredLink_ == h) {
            self->hoveredLink_ = nullptr;
            InvalidateRect(h, nullptr, TRUE);
        }
        break;
    case WM_NCDESTROY: RemoveWindowSubclass(h, linkProc, 1); break;
    }
    return DefSubclassProc(h, msg, wp, lp);
}

LRESULT TfConfiguracion::handle(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_ERASEBKGND: {
        RECT r;
        GetClientRect(hwnd, &r);
        FillRect(reinterpret_cast<HDC>(wp), &r, GetSysColorBrush(COLOR_WINDOW));
        return 1;
    }
    case WM_COMMAND: command(LOWORD(wp), HIWORD(wp), reinterpret_cast<HWND>(lp)); return 0;
    case WM_NOTIFY: {
        const auto* n = reinterpret_cast<const NMHDR*>(lp);
        if (n->hwndFrom == PageControl1 && n->code == TCN_SELCHANGE) {
            const int tab = static_cast<int>(SendMessageW(PageControl1, TCM_GETCURSEL, 0, 0));
            TCITEMW item{};
            item.mask = TCIF_PARAM;
            if (SendMessageW(PageControl1, TCM_GETITEMW, tab, reinterpret_cast<LPARAM>(&item)))
                showPage(static_cast<int>(item.lParam));
        }
        return 0;
    }
    case kPickMsg:
        if (modal_) pickFile(static_cast<PathField>(wp));
        return 0;
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN: {
        HDC dc = reinterpret_cast<HDC>(wp);
        HWND c = reinterpret_cast<HWND>(lp);
        SetBkMode(dc, TRANSPARENT);
        if (c == JvgStaticText1 || c == JvgStaticText2 || c == JvgStaticText3)
            SetTextColor(dc, GetSysColor(c == hoveredLink_ ? COLOR_ACTIVECAPTION : COLOR_WINDOWTEXT));
        else
            SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
        return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_WINDOW));
    }
    case WM_DRAWITEM: {
        const auto* d = reinterpret_cast<const DRAWITEMSTRUCT*>(lp);
        if (d->CtlID != kLogoId) return FALSE;
        FillRect(d->hDC, &d->rcItem, GetSysColorBrush(COLOR_WINDOW));
        if (logo_ && !logo_->empty()) drawImage(d->hDC, d->rcItem, *logo_);
        return TRUE;
    }
    case DM_GETDEFID: return MAKELONG(IDOK, DC_HASDEFID);
    case WM_DPICHANGED: {
        takeDpiChange(hwnd, wp, lp);
        placePages();
        const Dpi dpi = dpiOf(hwnd);
        setRoundedRegion(hwnd, dpi.scale(kClientW), dpi.scale(kClientH), dpi.scale(kCorner), TRUE);
        return 0;
    }
    case WM_CLOSE: form.FormClose(); return 0;  // a close request from the system: closing as by Cancel
    }
    return base(msg, wp, lp);
}

}  // namespace tv
