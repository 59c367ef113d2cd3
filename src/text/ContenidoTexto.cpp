#include "text/ContenidoTexto.h"

#include "widgets/Errors.h"
#include "commands/core/CommandMap.h"
#include "settings/Configuracion.h"
#include "sound/Click.h"
#include "text/Documents.h"
#include "text/Editor.h"
#include "text/Recovery.h"
#include "text/core/StatusLine.h"

#include <commctrl.h>
#include <richedit.h>

namespace tv {

TfContenidoTexto* fContenidoTexto = nullptr;
std::string sonido_click;
bool verResumen = false;

namespace {
constexpr int kMargin = 20;
constexpr int kEditorId = 100;
constexpr int kStatusHeight = 19;

LRESULT CALLBACK panelProc(HWND h, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR data) {
    // Margin panels paint themselves in the text-area colour.
    if (msg == WM_ERASEBKGND) {
        RECT r;
        GetClientRect(h, &r);
        FillRect(reinterpret_cast<HDC>(wp), &r, reinterpret_cast<const SolidBrush*>(data)->current());
        return 1;
    }
    if (msg == WM_PAINT) {
        const PaintDC validated(h);
        return 0;
    }
    if (msg == WM_NCDESTROY) RemoveWindowSubclass(h, panelProc, 1);
    return DefSubclassProc(h, msg, wp, lp);
}
}  // namespace

void TfContenidoTexto::FormCreate() {
    font_ = tahoma(11);
    areaBrush_.get(RGB(255, 255, 255));
    auto panel = [this]() {
        HWND p = createChild(hwnd, L"STATIC", L"", WS_VISIBLE | WS_CLIPCHILDREN, 0, 0, 0, 0);
        SetWindowSubclass(p, panelProc, 1, reinterpret_cast<DWORD_PTR>(&areaBrush_));
        return p;
    };
    Panel1 = panel();
    Panel2 = panel();
    Panel3 = panel();
    Panel4 = panel();
    barraEstado = createChild(Panel2, STATUSCLASSNAMEW, L"", WS_VISIBLE | CCS_NOPARENTALIGN | CCS_NORESIZE, 0, 0, 0, 0,
                              0, font_);
    // The bar is painted here, not by the control or the theme: in the
    // text-area colour, with the first panel's text to the left and the
    // others centred.
    SetWindowSubclass(barraEstado, statusProc, 1, reinterpret_cast<DWORD_PTR>(this));
    setStatusParts();
    const wchar_t* initial[5] = {L"", L"Lin:Col", L"Words", L"Date and time", L"File name"};
    for (int i = 0; i < 5; ++i) SendMessageW(barraEstado, SB_SETTEXTW, i, reinterpret_cast<LPARAM>(initial[i]));

    rtText.create(hwnd, kEditorId);
    editor::setup(rtText.hwnd);
    editor::readRegionalFormats();
    rtText.onKeyDown = [this](WORD& k, bool s, bool c, bool a) { rtTextKeyDown(k, s, c, a); };
    rtText.onKeyPress = [this](wchar_t ch) { rtTextKeyPress(ch); };
    rtText.onMouseEnter = [this] { host->pointerOnText(); };
    rtText.onKeyMessage = [this](UINT msg, WPARAM key) { status_.keyStarting(rtText.hwnd, msg, key); };
    rtText.onKeyMessageDone = [this] { status_.keyDone(rtText.hwnd); };
    const Dpi dpi = dpiOf(hwnd);
    setRoundedRegion(hwnd, dpi.scale(570), dpi.scale(328), dpi.scale(40), TRUE);
}

void TfContenidoTexto::setStatusParts() {
    const Dpi dpi = dpiOf(hwnd);
    int edges[5] = {dpi.scale(50), dpi.scale(150), dpi.scale(270), dpi.scale(410), -1};
    SendMessageW(barraEstado, SB_SETPARTS, 5, reinterpret_cast<LPARAM>(edges));
}

void TfContenidoTexto::layout() {
    RECT c;
    GetClientRect(hwnd, &c);
    const int w = c.right, h = c.bottom;
    const Dpi dpi = dpiOf(hwnd);
    const int margin = dpi.scale(kMargin), statusHeight = dpi.scale(kStatusHeight);
    const int middle = h - 2 * margin > 0 ? h - 2 * margin : 0;
    SetWindowPos(Panel1, nullptr, 0, 0, w, margin, SWP_NOZORDER | SWP_NOACTIVATE);
    SetWindowPos(Panel2, nullptr, 0, h - margin, w, margin, SWP_NOZORDER | SWP_NOACTIVATE);
    SetWindowPos(Panel3, nullptr, w - margin, margin, margin, middle, SWP_NOZORDER | SWP_NOACTIVATE);
    SetWindowPos(Panel4, nullptr, 0, margin, margin, middle, SWP_NOZORDER | SWP_NOACTIVATE);
    const int ew = w - 2 * margin > 0 ? w - 2 * margin : 0;
    SetWindowPos(rtText.hwnd, nullptr, margin, margin, ew, middle, SWP_NOZORDER | SWP_NOACTIVATE);
    SetWindowPos(barraEstado, nullptr, 0, margin - statusHeight, w, statusHeight, SWP_NOZORDER | SWP_NOACTIVATE);
}

void TfContenidoTexto::setTextAreaField(int field, int value) {
    RECT r = bounds();
    int x = r.left, y = r.top, w = r.right - r.left, h = r.bottom - r.top;
    switch (field) {
    case 0: y = value; break;
    case 1: x = value; break;
    case 2: w = value; break;
    default: h = value; break;
    }
    SetWindowPos(hwnd, nullptr, x, y, w, h, SWP_NOZORDER | SWP_NOACTIVATE);
}

void TfContenidoTexto::show() {
    bool first = !shown_;
    shown_ = true;
    ShowWindow(hwnd, SW_SHOW);
    if (!first) return;
    try {
        documents::cargaPrimerFichero();  // FormShow
    } catch (...) {
        recovery::documentLoaded();  // a document that failed to load leaves the editor as it is
        throw;
    }
    recovery::documentLoaded();
}

void TfContenidoTexto::setEditorBorder(int width) {
    editorBorder_ = width;
    rtText.setBorder(width, editorBorderColour());
}

COLORREF TfContenidoTexto::editorBorderColour() const {
    // Halfway between the text and the area: seen on any pair of colours,
    // quieter than the text itself.
    auto mix = [](int a, int b) { return (a + b) / 2; };
    return RGB(mix(GetRValue(area_), GetRValue(ink_)), mix(GetGValue(area_), GetGValue(ink_)),
               mix(GetBValue(area_), GetBValue(ink_)));
}

LRESULT CALLBACK TfContenidoTexto::statusProc(HWND h, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR data) {
    switch (msg) {
    case WM_ERASEBKGND: return 1;
    case WM_PAINT: {
        const auto* self = reinterpret_cast<const TfContenidoTexto*>(data);
        paintBuffered(h, [self](HDC dc, const RECT& r) { self->paintStatus(dc, r); });
        return 0;
    }
    case SB_SETTEXTW:
    case SB_SETPARTS: {
        // The control invalidates only the part as it measured it; the
        // panel is painted here over the bar's whole height.
        const LRESULT r = DefSubclassProc(h, msg, wp, lp);
        InvalidateRect(h, nullptr, FALSE);
        return r;
    }
    case WM_NCDESTROY: RemoveWindowSubclass(h, statusProc, 1); break;
    }
    return DefSubclassProc(h, msg, wp, lp);
}

void TfContenidoTexto::paintStatus(HDC dc, const RECT& r) const {
    FillRect(dc, &r, areaBrush_.current());
    const COLORREF text = GetSysColor(COLOR_BTNTEXT);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, text);
    const Selection f(dc, font_);
    const Pen separator(CreatePen(PS_SOLID, 1, RGB((GetRValue(area_) * 3 + GetRValue(text)) / 4,
                                                   (GetGValue(area_) * 3 + GetGValue(text)) / 4,
                                                   (GetBValue(area_) * 3 + GetBValue(text)) / 4)));
    const Selection sp(dc, separator.get());
    // The panels span the bar's whole height between their edges; the
    // control's own part rectangles are not used, as they keep the height
    // the bar had when it was created.
    int edges[16] = {};
    int parts = static_cast<int>(SendMessageW(barraEstado, SB_GETPARTS, 16, reinterpret_cast<LPARAM>(edges)));
    if (parts > 16) parts = 16;
    for (int i = 0; i < parts; ++i) {
        RECT part{i == 0 ? r.left : edges[i - 1], r.top, edges[i] < 0 || i + 1 == parts ? r.right : edges[i],
                  r.bottom};
        const int length = LOWORD(SendMessageW(barraEstado, SB_GETTEXTLENGTHW, i, 0));
        std::wstring s(static_cast<size_t>(length) + 1, L'\0');
        SendMessageW(barraEstado, SB_GETTEXTW, i, reinterpret_cast<LPARAM>(s.data()));
        s.resize(static_cast<size_t>(length));
        // Centred by what shows: a trailing space ("File name: ") would pull
        // the text to the left.
        while (i > 0 && !s.empty() && s.back() == L' ') s.pop_back();
        RECT t{part.left + 2, part.top, part.right - 2, part.bottom};
        // The first panel stays to the left; the others are centred, and a
        // long path loses its middle rather than its file name.
        UINT format = DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX;
        format |= i == 0 ? DT_LEFT : DT_CENTER;
        format |= i == 4 ? DT_PATH_ELLIPSIS : DT_END_ELLIPSIS;
        DrawTextW(dc, s.c_str(), -1, &t, format);
        if (i + 1 < parts) {
            MoveToEx(dc, part.right, part.top + 3, nullptr);
            LineTo(dc, part.right, part.bottom - 3);
        }
    }
}

void TfContenidoTexto::applyColours(int textColour, int areaColour) {
    areaColour_ = areaColour;
    COLORREF area = resolveColour(areaColour, COLOR_WINDOW);
    areaBrush_.get(area);
    area_ = area;
    ink_ = resolveColour(textColour, COLOR_WINDOWTEXT);
    editor::setColours(rtText.hwnd, ink_, area);
    rtText.setBorder(editorBorder_, editorBorderColour());
    SendMessageW(rtText.hwnd, EM_SHOWSCROLLBAR, SB_VERT, FALSE);
    SendMessageW(rtText.hwnd, EM_SHOWSCROLLBAR, SB_HORZ, FALSE);
    RedrawWindow(hwnd, nullptr, nullptr, RDW_ERASE | RDW_INVALIDATE | RDW_ALLCHILDREN);
}

void TfContenidoTexto::showStatusBar(bool visible) { ShowWindow(barraEstado, visible ? SW_SHOW : SW_HIDE); }

namespace {
constexpr UINT_PTR kCountTimer = 1;  // the next step of a long count
}  // namespace

bool TfContenidoTexto::calculaResumenTexto() {
    // Only the paragraphs changed since the last refresh are looked at again.
    const std::optional<editor::Stats> st = status_.refreshWithin(rtText.hwnd, editor::kCountStep);
    if (!st) {
        // Not done yet: the rest follows as soon as the queue holds nothing
        // more urgent (a timer message comes after input and painting).
        SetTimer(hwnd, kCountTimer, USER_TIMER_MINIMUM, nullptr);
        return false;
    }
    linea = st->linea;
    columna = st->columna;
    lineas = st->lineas;
    palabras = st->palabras;
    host->showCounts(lineas, palabras);
    return true;
}

void TfContenidoTexto::formatChanged() { status_.formatChanged(rtText.hwnd); }

void TfContenidoTexto::documentReplaced() { status_.documentReplaced(); }

void TfContenidoTexto::refreshStatus() {
    if (!verResumen) {
        showStatusBar(false);
        host->statusLineStopped();
        return;
    }
    // While a long count is still going on, the counts keep their last texts.
    const int first = calculaResumenTexto() ? 0 : 2;
    const std::wstring texts[4] = {LinePanelText(linea, lineas, columna), WordsPanelText(palabras),
                                   editor::dateTimeNow(), FileNamePanelText(documents::sFicheroNombre)};
    for (int i = first; i < 4; ++i)
        SendMessageW(barraEstado, SB_SETTEXTW, i + 1, reinterpret_cast<LPARAM>(texts[i].c_str()));
}

std::string TfContenidoTexto::LoadFile(const std::wstring& fileName) { return readWholeFile(fileName); }

void TfContenidoTexto::FormActivate() {
    RECT c;
    GetClientRect(hwnd, &c);
    setRoundedRegion(hwnd, c.right, c.bottom, dpiOf(hwnd).scale(20), TRUE);
    setAlphaBlend(hwnd, true, fConfiguracion->live.transparenciaAreaTexto.value);
    // The window itself has no border to drop; the editor's frame, given while
    // the background picture is off, goes for as long as the text is active.
    setEditorBorder(0);
    const std::wstring& name = fConfiguracion->live.ficheroSonidoClick;
    if (name.empty()) return;
    try {
        std::string image = LoadFile(name);
        click::replaceImage(sonido_click, std::move(image));
        clickLoadFailed_.clear();
    } catch (const Failure&) {
        // The click keeps the last image read completely. The failure is told
        // once per file name, and only while the click is on: a file found
        // missing at start-up has been reported already and switched it off.
        if (clickLoadFailed_ == name || !fConfiguracion->live.keyboardSound) return;
        clickLoadFailed_ = name;
        throw;
    }
}

void TfContenidoTexto::rtTextKeyDown(WORD& key, bool shift, bool ctrl, bool alt) {
    switch (editorCommand(key, Modifiers{shift, alt, ctrl})) {
    case Command::SelectAll: editor::selectAll(rtText.hwnd); key = 0; break;
    case Command::Bold: host->bNegritaClick(); key = 0; break;
    case Command::Italic: host->bItalicaClick(); key = 0; break;
    case Command::Underline: host->bSubrayadoClick(); key = 0; break;
    case Command::InsertDateTime: editor::insertaTexto(rtText.hwnd, editor::dateTimeNow()); key = 0; break;
    default: break;
    }
    host->FormKeyDown(key, shift, ctrl, alt);
}

void TfContenidoTexto::rtTextSelectionChange() {
    // Each switch reads the selection's effects anew.
    host->showSelectionEffects(editor::selectionEffects(rtText.hwnd) & CFE_BOLD,
                               editor::selectionEffects(rtText.hwnd) & CFE_ITALIC,
                               editor::selectionEffects(rtText.hwnd) & CFE_UNDERLINE);
}

void TfContenidoTexto::rtTextKeyPress(wchar_t) {
    if (fConfiguracion->live.keyboardSound) click::play(sonido_click);
}

LRESULT TfContenidoTexto::handle(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_SIZE:
        layout();
        status_.layoutChanged();  // the lines wrap anew
        return 0;
    case WM_DPICHANGED:
        // Its rectangle is a screen position: the system's suggestion keeps it
        // on the monitor that now holds it.
        takeDpiChange(hwnd, wp, lp);
        setStatusParts();
        layout();
        {
            RECT c;  // the rounded outline at the new size
            GetClientRect(hwnd, &c);
            setRoundedRegion(hwnd, c.right, c.bottom, dpiOf(hwnd).scale(20), TRUE);
        }
        return 0;
    case WM_ERASEBKGND: {
        RECT r;
        GetClientRect(hwnd, &r);
        FillRect(reinterpret_cast<HDC>(wp), &r, areaBrush_.current());
        return 1;
    }
    case WM_ACTIVATE:
        if (LOWORD(wp) != WA_INACTIVE) {
            SetFocus(rtText.hwnd);
            FormActivate();
        }
        return 0;
    case WM_SETFOCUS: SetFocus(rtText.hwnd); return 0;
    case WM_COMMAND:
        if (HIWORD(wp) == EN_CHANGE && reinterpret_cast<HWND>(lp) == rtText.hwnd) {
            host->markChanged();
            status_.changeNotified();
        }
        return 0;
    case WM_NOTIFY: {
        auto* n = reinterpret_cast<NMHDR*>(lp);
        if (n->hwndFrom == rtText.hwnd && n->code == EN_SELCHANGE) rtTextSelectionChange();
        return 0;
    }
    case WM_TIMER:
        if (wp == kCountTimer) {
            KillTimer(hwnd, kCountTimer);
            if (verResumen) refreshStatus();  // nothing is counted while the status line is off
        }
        return 0;
    case kTellLostParts: documents::tellLostParts(); return 0;
    case WM_CTLCOLORSTATIC: return reinterpret_cast<LRESULT>(areaBrush_.current());
    case WM_CLOSE: SendMessageW(host->hostWindow(), WM_CLOSE, 0, 0); return 0;
    }
    return base(msg, wp, lp);
}

}  // namespace tv
