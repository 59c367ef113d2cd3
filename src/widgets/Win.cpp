#include "widgets/Win.h"
#include "widgets/Handles.h"
#include "widgets/core/JpegImage.h"
#include "widgets/core/Translatable.h"
#include "widgets/core/LongPath.h"

#include <commctrl.h>

#include <algorithm>
#include <map>
#include <set>
#include <vector>

namespace tv {

namespace {

std::function<std::wstring(const std::wstring&)>& toolkitTranslator() {
    static std::function<std::wstring(const std::wstring&)> translate;
    return translate;
}

struct ButtonLabel {
    int id;
    const wchar_t* english;
};
constexpr ButtonLabel kButtonLabels[] = {
    {IDOK, N_(L"OK")},         {IDCANCEL, N_(L"Cancel")},      {IDABORT, N_(L"Abort")},
    {IDRETRY, N_(L"Retry")},   {IDIGNORE, N_(L"Ignore")},      {IDYES, N_(L"Yes")},
    {IDNO, N_(L"No")},         {IDTRYAGAIN, N_(L"Try Again")}, {IDCONTINUE, N_(L"Continue")},
    {IDHELP, N_(L"Help")}};
constexpr size_t kButtonCount = sizeof kButtonLabels / sizeof kButtonLabels[0];

// The message box being shown on this thread, found at its first activation,
// and its button labels, translated before it was asked for: a lookup may
// open a catalog and complain about it in a box of its own.
struct BoxWatch {
    HWND box = nullptr;
    std::wstring labels[kButtonCount];
};
thread_local BoxWatch* currentBox = nullptr;

void relabelButtons(const BoxWatch& watch) {
    for (size_t i = 0; i < kButtonCount; ++i) {
        HWND button = GetDlgItem(watch.box, kButtonLabels[i].id);
        std::wstring text = watch.labels[i];
        if (!button || text == kButtonLabels[i].english) continue;
        // The system's labels carry an access key; a translation without one
        // gets its first letter.
        wchar_t current[64] = {};
        GetWindowTextW(button, current, 64);
        if (text.find(L'&') == std::wstring::npos && std::wstring(current).find(L'&') != std::wstring::npos)
            text.insert(0, 1, L'&');
        SetWindowTextW(button, text.c_str());
    }
}

LRESULT CALLBACK boxHook(int code, WPARAM wp, LPARAM lp) {
    if (code == HCBT_ACTIVATE && currentBox) {
        HWND h = reinterpret_cast<HWND>(wp);
        wchar_t cls[16] = {};
        GetClassNameW(h, cls, 16);
        // The first dialog activated while the box is asked for is the box;
        // it is relabelled again on each activation, which changes nothing.
        if (!currentBox->box && std::wstring(cls) == L"#32770") {
            currentBox->box = h;
            // What MB_TOPMOST asks for, done here too: Wine's message box
            // ignores the flag.
            SetWindowPos(h, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        }
        if (currentBox->box == h) relabelButtons(*currentBox);
    }
    return CallNextHookEx(nullptr, code, wp, lp);
}

HWND topmostOwner = nullptr;

// The dialog being shown on this thread and the window to centre it over,
// until it has been placed.
struct CentreWatch {
    HWND over = nullptr;
    HWND dialog = nullptr;
    UINT_PTR timer = 0;
};
thread_local CentreWatch* currentCentre = nullptr;

void centre(HWND dialog, HWND over) {
    RECT d{}, o{};
    if (!GetWindowRect(dialog, &d) || !GetWindowRect(over, &o)) return;
    MONITORINFO mi{sizeof mi};
    GetMonitorInfoW(MonitorFromWindow(over, MONITOR_DEFAULTTONEAREST), &mi);
    const RECT& work = mi.rcWork;
    const int w = d.right - d.left, h = d.bottom - d.top;
    int x = o.left + (o.right - o.left - w) / 2, y = o.top + (o.bottom - o.top - h) / 2;
    // Kept on the monitor, its caption first when it is taller than the work area.
    x = std::max(static_cast<int>(work.left), std::min(x, static_cast<int>(work.right) - w));
    y = std::max(static_cast<int>(work.top), std::min(y, static_cast<int>(work.bottom) - h));
    SetWindowPos(dialog, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// Once more when the dialog has settled: a file dialog may still change its
// size after it first becomes active (Wine's does). A timer comes after every
// other message.
void CALLBACK centreAgain(HWND, UINT, UINT_PTR id, DWORD) {
    KillTimer(nullptr, id);
    if (currentCentre && currentCentre->timer == id) {
        currentCentre->timer = 0;
        if (IsWindow(currentCentre->dialog)) centre(currentCentre->dialog, currentCentre->over);
    }
}

LRESULT CALLBACK centreHook(int code, WPARAM wp, LPARAM lp) {
    if (code == HCBT_ACTIVATE && currentCentre && !currentCentre->dialog) {
        HWND h = reinterpret_cast<HWND>(wp);
        wchar_t cls[16] = {};
        GetClassNameW(h, cls, 16);
        // The dialog is the first dialog window activated while it is shown.
        if (std::wstring(cls) == L"#32770") {
            currentCentre->dialog = h;
            centre(h, currentCentre->over);
            currentCentre->timer = SetTimer(nullptr, 0, 0, centreAgain);
        }
    }
    return CallNextHookEx(nullptr, code, wp, lp);
}

}  // namespace

void setTopmostOwner(HWND top) { topmostOwner = top; }

HWND dialogOwner(HWND fallback) {
    return topmostOwner && IsWindowVisible(topmostOwner) ? topmostOwner : fallback;
}

bool runCentredOver(HWND over, const std::function<bool()>& show) {
    CentreWatch watch{over};
    CentreWatch* outer = std::exchange(currentCentre, &watch);
    const WindowsHook hook(SetWindowsHookExW(WH_CBT, centreHook, nullptr, GetCurrentThreadId()));
    const bool answer = show();
    if (watch.timer) KillTimer(nullptr, watch.timer);
    currentCentre = outer;
    return answer;
}

void setToolkitTranslator(std::function<std::wstring(const std::wstring&)> translate) {
    toolkitTranslator() = std::move(translate);
}

int messageBox(HWND owner, const std::wstring& text, const wchar_t* caption, UINT type) {
    BoxWatch watch;
    const auto& translate = toolkitTranslator();
    for (size_t i = 0; i < kButtonCount; ++i)
        watch.labels[i] = translate ? translate(kButtonLabels[i].english) : kButtonLabels[i].english;
    BoxWatch* outer = std::exchange(currentBox, &watch);
    // Activation comes after the box has laid out its buttons and before it
    // is first drawn, so the new labels are all a user ever sees.
    const WindowsHook hook(SetWindowsHookExW(WH_CBT, boxHook, nullptr, GetCurrentThreadId()));
    // Topmost, or a box owned by a window below the text window would open
    // behind it.
    const int answer = MessageBoxW(owner, text.c_str(), caption, type | MB_TOPMOST);
    currentBox = outer;
    return answer;
}

void ShowMessage(const std::wstring& text) {
    HWND owner = GetActiveWindow();
    messageBox(owner, text, kAppTitle, MB_OK);
}

CurrentFolderKept::CurrentFolderKept() {
    const DWORD n = GetCurrentDirectoryW(0, nullptr);
    if (n == 0) return;
    folder_.resize(n);
    const DWORD got = GetCurrentDirectoryW(n, folder_.data());
    folder_.resize(got < n ? got : 0);
}

CurrentFolderKept::~CurrentFolderKept() {
    if (!folder_.empty()) SetCurrentDirectoryW(folder_.c_str());
}

std::wstring systemErrorText(DWORD code) {
    wchar_t* buf = nullptr;
    DWORD n = FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                             nullptr, code, 0, reinterpret_cast<wchar_t*>(&buf), 0, nullptr);
    const LocalMemory<wchar_t*> owned(buf);
    std::wstring s = n && buf ? std::wstring(buf, n) : L"Error " + std::to_wstring(code);
    while (!s.empty() && (s.back() == L'\n' || s.back() == L'\r' || s.back() == L' ')) s.pop_back();
    return s;
}

std::wstring programPath() {
    std::vector<wchar_t> buf(MAX_PATH);
    for (;;) {
        DWORD n = GetModuleFileNameW(nullptr, buf.data(), static_cast<DWORD>(buf.size()));
        if (n == 0) return {};
        if (n < buf.size()) return std::wstring(buf.data(), n);
        buf.resize(buf.size() * 2);
    }
}

std::wstring programFolder() {
    const std::wstring p = programPath();
    if (p.empty()) return L".\\";
    return p.substr(0, p.find_last_of(L"\\/") + 1);
}

std::optional<std::string_view> programResource(const wchar_t* name, const wchar_t* type) {
    HMODULE self = GetModuleHandleW(nullptr);
    HRSRC r = FindResourceW(self, name, type);
    HGLOBAL g = r ? LoadResource(self, r) : nullptr;  // resources live as long as the program: nothing to free
    const void* data = g ? LockResource(g) : nullptr;
    if (!data) return std::nullopt;
    return std::string_view(static_cast<const char*>(data), SizeofResource(self, r));
}

bool fileExists(const std::wstring& path) {
    if (path.empty()) return false;
    DWORD a = GetFileAttributesW(path.c_str());
    return a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY);
}

std::wstring absolutePath(const std::wstring& path) {
    DWORD n = GetFullPathNameW(path.c_str(), 0, nullptr, nullptr);
    if (n == 0) return path;
    std::wstring full(n, L'\0');
    n = GetFullPathNameW(path.c_str(), n, full.data(), nullptr);
    if (n == 0 || n >= full.size()) return path;
    full.resize(n);
    return full;
}

std::wstring fileSystemPath(const std::wstring& path) { return ExtendedLengthPath(absolutePath(path)); }

std::string readWholeFile(const std::wstring& path) {
    const KernelHandle file(CreateFileW(fileSystemPath(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                        FILE_ATTRIBUTE_NORMAL, nullptr));
    const HANDLE f = file.get();
    if (!file)
        throw Failure(L"Cannot open file \"" + path + L"\". " + systemErrorText(GetLastError()));
    std::string data;
    LARGE_INTEGER size{};
    DWORD got = 0;
    bool ok = GetFileSizeEx(f, &size) && size.QuadPart < 0x7FFFFFFF;
    if (ok) {
        data.resize(static_cast<std::size_t>(size.QuadPart));
        ok = data.empty() || (ReadFile(f, data.data(), static_cast<DWORD>(data.size()), &got, nullptr) &&
                              got == data.size());
    }
    DWORD err = GetLastError();
    if (!ok) throw Failure(L"Cannot open file \"" + path + L"\". " + systemErrorText(err));
    return data;
}

COLORREF resolveColour(int value, int defaultSysColour) {
    if (value == 0x20000000) return GetSysColor(defaultSysColour);
    if (value < 0) return GetSysColor(value & 0xFF);
    return static_cast<COLORREF>(value) & 0x00FFFFFF;
}

void setRoundedRegion(HWND hwnd, int w, int h, int ellipse, bool redraw) {
    Region rgn(CreateRoundRectRgn(0, 0, w, h, ellipse, ellipse));
    if (SetWindowRgn(hwnd, rgn.get(), redraw)) rgn.release();  // the system owns it only on success
}

void setAlphaBlend(HWND hwnd, bool on, int level) {
    LONG_PTR ex = GetWindowLongPtrW(hwnd, GWL_EXSTYLE);
    if (on) {
        if (!(ex & WS_EX_LAYERED)) SetWindowLongPtrW(hwnd, GWL_EXSTYLE, ex | WS_EX_LAYERED);
        // Windows lets every click pass through a layered window of level 0, so
        // the window could never be reached again; 1 looks the same.
        const int alpha = level & 0xFF;
        SetLayeredWindowAttributes(hwnd, 0, static_cast<BYTE>(alpha < 1 ? 1 : alpha), LWA_ALPHA);
    } else if (ex & WS_EX_LAYERED) {
        SetWindowLongPtrW(hwnd, GWL_EXSTYLE, ex & ~WS_EX_LAYERED);
        RedrawWindow(hwnd, nullptr, nullptr, RDW_ERASE | RDW_INVALIDATE | RDW_FRAME | RDW_ALLCHILDREN);
    }
}

HFONT tahoma(int pixelHeight) { return cachedFont(L"Tahoma", pixelHeight); }

const wchar_t* registerWindowClass(const wchar_t* name, WNDPROC proc, HBRUSH background, UINT style) {
    static std::set<std::wstring> registered;
    if (!registered.insert(name).second) return name;
    WNDCLASSEXW wc{sizeof wc};
    wc.style = style;
    wc.lpfnWndProc = proc ? proc : Window::classProc();
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = background;
    wc.lpszClassName = name;
    wc.hIcon = LoadIconW(wc.hInstance, L"MAINICON");
    RegisterClassExW(&wc);
    return name;
}

namespace {
std::vector<GlobalAtom>& testNames() {
    static std::vector<GlobalAtom> atoms;  // released when the program ends
    return atoms;
}
}  // namespace

void setTestName(HWND h, const wchar_t* name) {
    const ATOM atom = GlobalAddAtomW(name);
    if (!atom) return;
    testNames().emplace_back(atom);
    SetPropW(h, L"TvName", reinterpret_cast<HANDLE>(static_cast<UINT_PTR>(atom)));
}

Dpi dpiOf(HWND window) {
    if (!window) return Dpi{static_cast<int>(GetDpiForSystem())};
    HWND top = GetAncestor(window, GA_ROOT);
    if (!top) top = window;
    if (const auto told = reinterpret_cast<UINT_PTR>(GetPropW(top, L"TvDpi"))) return Dpi{static_cast<int>(told)};
    const UINT dpi = GetDpiForWindow(top);
    return Dpi{dpi ? static_cast<int>(dpi) : kBaseDpi};
}

HFONT fontFor(HWND window, HFONT designed) { return fontAtDpi(designed, dpiOf(window).dpi); }

namespace {
// Where createChild and Window::create put each child, at 96 DPI, so that a
// change of density can lay them out again.
struct Designed {
    int x, y, w, h;
    HFONT font;
};
std::map<HWND, Designed>& designedChildren() {
    static std::map<HWND, Designed> children;
    return children;
}

// A designed rectangle at the density of `parent`, the fitted sides measured
// with the font the child has there.
RECT placed(HWND child, HWND parent, const Designed& d) {
    const Dpi dpi = dpiOf(parent);
    int w = dpi.scale(d.w), h = dpi.scale(d.h);
    if (d.w < 0 || d.h < 0) {
        const SIZE sz = textExtent(parent, fontAtDpi(d.font, dpi.dpi), windowText(child));
        if (d.w < 0) w = sz.cx - 1 - d.w;
        if (d.h < 0) h = sz.cy - 1 - d.h;
    }
    const int x = dpi.scale(d.x), y = dpi.scale(d.y);
    return RECT{x, y, x + w, y + h};
}

void remember(HWND child, HWND parent, const Designed& d) {
    designedChildren()[child] = d;
    if (d.w < 0 || d.h < 0) {
        const RECT r = placed(child, parent, d);
        SetWindowPos(child, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
                     SWP_NOZORDER | SWP_NOACTIVATE);
    }
}
}  // namespace

std::wstring windowText(HWND h) {
    std::wstring t(static_cast<std::size_t>(GetWindowTextLengthW(h)) + 1, L'\0');
    t.resize(static_cast<std::size_t>(GetWindowTextW(h, t.data(), static_cast<int>(t.size()))));
    return t;
}

void applyDpi(HWND top, int dpi) {
    SetPropW(top, L"TvDpi", reinterpret_cast<HANDLE>(static_cast<UINT_PTR>(dpi)));
    auto& children = designedChildren();
    for (auto it = children.begin(); it != children.end();) {
        const HWND child = it->first;
        if (!IsWindow(child)) {
            it = children.erase(it);  // a handle of a window gone may be reused
            continue;
        }
        const Designed& d = it->second;
        ++it;
        if (GetAncestor(child, GA_ROOT) != top) continue;
        if (d.font) SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(fontAtDpi(d.font, dpi)), FALSE);
        if (d.x == 0 && d.y == 0 && d.w == 0 && d.h == 0) continue;  // its window lays it out
        const RECT r = placed(child, GetParent(child), d);
        SetWindowPos(child, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
                     SWP_NOZORDER | SWP_NOACTIVATE);
    }
    RedrawWindow(top, nullptr, nullptr, RDW_ERASE | RDW_INVALIDATE | RDW_FRAME | RDW_ALLCHILDREN);
}

void takeDpiChange(HWND top, WPARAM wp, LPARAM lp) {
    applyDpi(top, LOWORD(wp));
    if (const auto* r = reinterpret_cast<const RECT*>(lp))
        SetWindowPos(top, nullptr, r->left, r->top, r->right - r->left, r->bottom - r->top,
                     SWP_NOZORDER | SWP_NOACTIVATE);
}

HWND createChild(HWND parent, const wchar_t* cls, const wchar_t* text, DWORD style, int x, int y, int w, int h, int id,
                 HFONT font, const wchar_t* testName, DWORD exStyle) {
    const Dpi dpi = dpiOf(parent);
    HWND c = CreateWindowExW(exStyle, cls, text, WS_CHILD | style, dpi.scale(x), dpi.scale(y), w < 0 ? 0 : dpi.scale(w),
                             h < 0 ? 0 : dpi.scale(h), parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                             GetModuleHandleW(nullptr), nullptr);
    if (!c)
        throw Failure(L"Cannot create the control " + std::wstring(testName ? testName : cls) + L": " +
                      systemErrorText(GetLastError()));
    if (font) SendMessageW(c, WM_SETFONT, reinterpret_cast<WPARAM>(fontAtDpi(font, dpi.dpi)), FALSE);
    if (testName) setTestName(c, testName);
    remember(c, parent, Designed{x, y, w, h, font});
    return c;
}

void Window::create(const wchar_t* cls, const wchar_t* caption, DWORD exStyle, DWORD style, int x, int y, int w,
                    int h, HWND parent, int id) {
    const bool child = (style & WS_CHILD) != 0;
    const Dpi dpi = child ? dpiOf(parent) : Dpi{};
    CreateWindowExW(exStyle, cls, caption, style, dpi.scale(x), dpi.scale(y), dpi.scale(w), dpi.scale(h), parent,
                    reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr), this);
    if (!hwnd) throw Failure(L"Cannot create window " + std::wstring(cls) + L": " + systemErrorText(GetLastError()));
    if (child) remember(hwnd, parent, Designed{x, y, w, h, nullptr});
}

void Window::attach(HWND existing) {
    hwnd = existing;
    subclassed_ = true;
    SetWindowSubclass(existing, subclassProc, 1, reinterpret_cast<DWORD_PTR>(this));
}

LRESULT Window::base(UINT msg, WPARAM wp, LPARAM lp) {
    return subclassed_ ? DefSubclassProc(hwnd, msg, wp, lp) : DefWindowProcW(hwnd, msg, wp, lp);
}

int Window::width() const {
    RECT r = bounds();
    return r.right - r.left;
}
int Window::height() const {
    RECT r = bounds();
    return r.bottom - r.top;
}
RECT Window::bounds() const {
    RECT r{};
    GetWindowRect(hwnd, &r);
    return r;
}

LRESULT Window::handle(UINT msg, WPARAM wp, LPARAM lp) { return base(msg, wp, lp); }

LRESULT CALLBACK Window::proc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
    Window* self;
    if (msg == WM_NCCREATE) {
        // A window of the class made without an object (a plain panel) has none.
        self = static_cast<Window*>(reinterpret_cast<CREATESTRUCTW*>(lp)->lpCreateParams);
        if (self) {
            self->hwnd = h;
            SetWindowLongPtrW(h, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
        }
    } else {
        self = reinterpret_cast<Window*>(GetWindowLongPtrW(h, GWLP_USERDATA));
    }
    if (!self) return DefWindowProcW(h, msg, wp, lp);
    if (msg == WM_NCDESTROY) SetWindowLongPtrW(h, GWLP_USERDATA, 0);
    return dispatch(self, msg, wp, lp);
}

LRESULT CALLBACK Window::subclassProc(HWND h, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR data) {
    auto* self = reinterpret_cast<Window*>(data);
    if (msg == WM_NCDESTROY) RemoveWindowSubclass(h, subclassProc, 1);
    return dispatch(self, msg, wp, lp);
}

LRESULT Window::dispatch(Window* self, UINT msg, WPARAM wp, LPARAM lp) {
    LRESULT result = 0;
    if (msg == WM_NCDESTROY) {
        // The last message: answered, then the object lets the handle go.
        const HWND h = self->hwnd;
        result = self->subclassed_ ? DefSubclassProc(h, msg, wp, lp) : DefWindowProcW(h, msg, wp, lp);
        self->hwnd = nullptr;
        self->destroyed();  // `self` may be gone after this
        return result;
    }
    if (!guarded([&] { result = self->handle(msg, wp, lp); })) return 0;
    return result;
}

MouseEnter* MouseEnter::current_ = nullptr;

MouseEnter::~MouseEnter() {
    if (current_ == this) current_ = nullptr;
}

bool MouseEnter::moved(HWND window) {
    if (inside_ && current_ == this) return false;
    if (current_ && current_ != this) current_->inside_ = false;
    current_ = this;
    TRACKMOUSEEVENT t{sizeof t, TME_LEAVE, window, 0};
    inside_ = TrackMouseEvent(&t) != FALSE;
    return true;
}

void MouseEnter::left() {
    inside_ = false;
    if (current_ == this) current_ = nullptr;
}

SIZE textExtent(HWND window, HFONT font, const std::wstring& text) {
    SIZE sz{};
    if (const WindowDC dc(window); dc) {
        const Selection f(dc.get(), font);
        GetTextExtentPoint32W(dc.get(), text.c_str(), static_cast<int>(text.size()), &sz);
    }
    return sz;
}

void paintBuffered(HWND window, const std::function<void(HDC, const RECT&)>& paint) {
    const PaintDC dc(window);
    RECT r{};
    GetClientRect(window, &r);
    const MemoryDC mem(dc.get());
    const Bitmap bmp(CreateCompatibleBitmap(dc.get(), r.right, r.bottom));
    const Selection drawn(mem.get(), bmp.get());
    guarded([&] { paint(mem.get(), r); });
    BitBlt(dc.get(), 0, 0, r.right, r.bottom, mem.get(), 0, 0, SRCCOPY);
}

void drawImage(HDC dc, const RECT& dest, const Image& img) {
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = img.width;
    bi.bmiHeader.biHeight = -img.height;  // top-down rows
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    bi.bmiHeader.biCompression = BI_RGB;
    SetStretchBltMode(dc, HALFTONE);
    SetBrushOrgEx(dc, 0, 0, nullptr);
    StretchDIBits(dc, dest.left, dest.top, dest.right - dest.left, dest.bottom - dest.top, 0, 0, img.width,
                  img.height, img.pixels.data(), &bi, DIB_RGB_COLORS, SRCCOPY);
}

namespace {
// The program's windows that a modal window disables, and gives back.
struct Disabled {
    HWND self;
    std::vector<HWND> windows;
    static BOOL CALLBACK collect(HWND h, LPARAM lp) {
        auto* d = reinterpret_cast<Disabled*>(lp);
        if (h != d->self && IsWindowVisible(h) && IsWindowEnabled(h)) d->windows.push_back(h);
        return TRUE;
    }
    explicit Disabled(HWND s) : self(s) {
        EnumThreadWindows(GetCurrentThreadId(), collect, reinterpret_cast<LPARAM>(this));
        for (HWND h : windows) EnableWindow(h, FALSE);
    }
    ~Disabled() {
        for (HWND h : windows)
            if (IsWindow(h)) EnableWindow(h, TRUE);
    }
    Disabled(const Disabled&) = delete;
    Disabled& operator=(const Disabled&) = delete;
};
}  // namespace

void showModal(HWND self, bool& running, const ModalHooks& hooks) {
    if (running) return;
    HWND before = GetActiveWindow();
    running = true;
    runModal(self, running, hooks);
    ShowWindow(self, SW_HIDE);
    if (before && IsWindow(before)) SetForegroundWindow(before);
}

void runModal(HWND self, const bool& running, const ModalHooks& hooks) {
    Disabled others(self);
    if (hooks.show) hooks.show();
    MSG msg;
    while (running) {
        BOOL r = GetMessageW(&msg, nullptr, 0, 0);
        if (r <= 0) {
            // The program is ending: the outer loop must see the quit too.
            if (r == 0) PostQuitMessage(static_cast<int>(msg.wParam));
            if (hooks.quit) hooks.quit();
            break;
        }
        if (hooks.filter && hooks.filter(msg)) continue;
        if (IsDialogMessageW(self, &msg)) continue;  // only messages of self and its controls
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

}  // namespace tv
