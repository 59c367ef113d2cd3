#pragma once
// Small Win32 helpers shared by every window of the program.
#ifndef UNICODE
#define UNICODE
#endif
#ifndef _UNICODE
#define _UNICODE
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include "widgets/Errors.h"
#include "widgets/core/Dpi.h"
#include "widgets/core/Failure.h"

#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace tv {

inline constexpr const wchar_t* kAppTitle = L"Tolvane";

// Modal message box with the application's title and an OK button.
void ShowMessage(const std::wstring& text);
// The system's message box, its buttons labelled through the toolkit
// translator; the buttons keep their ids (IDOK, IDYES, IDNO...).
int messageBox(HWND owner, const std::wstring& text, const wchar_t* caption, UINT type);
// The program's stay-on-top window (the text window). On Windows a window
// that is not topmost stays below it, so dialogs are owned by it while it is
// visible (an owned window lies above its owner) and message boxes are made
// topmost.
void setTopmostOwner(HWND top);
// The owner for a dialog: the stay-on-top window while it is visible, else `fallback`.
HWND dialogOwner(HWND fallback);
// Runs a system dialog (show() returns its answer) and centres it over `over`
// as it first becomes active, on the work area of the monitor `over` is on.
bool runCentredOver(HWND over, const std::function<bool()>& show);
// How the toolkit's own texts (dialog button captions) are translated; the
// localization layer sets it at start-up. Until then they stay English.
void setToolkitTranslator(std::function<std::wstring(const std::wstring&)> translate);
std::wstring systemErrorText(DWORD code);
std::wstring programPath();    // the running program's file
std::wstring programFolder();  // ends in a backslash
// The bytes of one of the program's own resources (RT_RCDATA by default); nothing when it is missing.
std::optional<std::string_view> programResource(const wchar_t* name, const wchar_t* type = MAKEINTRESOURCEW(10));
bool fileExists(const std::wstring& path);
// The window's whole text.
std::wstring windowText(HWND h);
// Keeps the process's current folder across a file dialog: the open dialog
// may move it to the chosen file's folder whatever its flags, and a relative
// name elsewhere in the program would then mean another file.
class CurrentFolderKept {
public:
    CurrentFolderKept();
    ~CurrentFolderKept();
    CurrentFolderKept(const CurrentFolderKept&) = delete;
    CurrentFolderKept& operator=(const CurrentFolderKept&) = delete;

private:
    std::wstring folder_;
};
// A path as the file functions take it at any length: made absolute, and in
// its extended form ("\\?\") past the classic 260-character limit.
std::wstring fileSystemPath(const std::wstring& path);
// The path made absolute against the current folder; as given when it cannot be.
std::wstring absolutePath(const std::wstring& path);
// The whole file, read while denying other writers. Throws Failure
// ("Cannot open file "%s". %s") when it cannot be opened or read.
std::string readWholeFile(const std::wstring& path);

// Colour values as the settings hold them: 0x00BBGGRR, the "Automatic" value,
// or a negative system colour (0x80000000 | index).
COLORREF resolveColour(int value, int defaultSysColour);

// The density a window lays itself out for: its top-level window's, as the
// last WM_DPICHANGED gave it (applyDpi), otherwise the monitor's it is on.
// Without a window: the system's, where top-level windows start.
Dpi dpiOf(HWND window);
// A font of the cache (designed at 96 DPI) at the density of `window`.
HFONT fontFor(HWND window, HFONT designed);
// A top-level window now at `dpi`: every child made by createChild or
// Window::create gets its designed place, size and font at that density.
// Children laid out by their window's own code (created at 0, 0, 0, 0) get
// only the font; the window's own layout runs after this.
void applyDpi(HWND top, int dpi);
// For WM_DPICHANGED of a window that is not full-screen: applyDpi, then the
// rectangle the system suggests (lp).
void takeDpiChange(HWND top, WPARAM wp, LPARAM lp);

// A rounded-rectangle window region over (0, 0)-(w, h).
void setRoundedRegion(HWND hwnd, int w, int h, int ellipse, bool redraw);
// Alpha blending on or off with the level's low 8 bits, never below 1.
void setAlphaBlend(HWND hwnd, bool on, int level);

HFONT tahoma(int pixelHeight);  // from the font cache (widgets/Handles.h)

// Mouse-enter of one window. The system reports only moves and the leaving;
// fed the window's WM_MOUSEMOVE and WM_MOUSELEAVE, this says when the pointer
// has just come onto it (moving onto a child window counts as leaving).
class MouseEnter {
public:
    MouseEnter() = default;
    MouseEnter(const MouseEnter&) = delete;
    MouseEnter& operator=(const MouseEnter&) = delete;
    ~MouseEnter();
    bool moved(HWND window);  // true on the first move since the pointer came on
    void left();
    bool inside() const { return inside_; }

private:
    bool inside_ = false;
    // The pointer is over one window at a time: a move onto another tracked
    // window means it left this one, even before the leave notice comes
    // (Wine sends it only at its next check of the pointer).
    static MouseEnter* current_;
};

// The size of one line of text in a font, as a window of `window` draws it.
SIZE textExtent(HWND window, HFONT font, const std::wstring& text);

// Paints a window's client area off screen first and then copies it in one
// go, so that it never flickers. For WM_PAINT.
void paintBuffered(HWND window, const std::function<void(HDC, const RECT&)>& paint);

struct Image;
// A decoded picture stretched over dest (smoothly, not pixel-dropped).
void drawImage(HDC dc, const RECT& dest, const Image& img);

// Shows `self` modally: the program's other visible windows are disabled
// while `running` holds; show() runs once they are, and quit() when the
// program is told to end meanwhile (the quit is passed on to the outer loop).
// filter() may take a message before the dialog keys see it. The others are
// enabled again before this returns, so activation can go back to them.
struct ModalHooks {
    std::function<void()> show;
    std::function<void()> quit;
    std::function<bool(const MSG&)> filter;
};
void runModal(HWND self, const bool& running, const ModalHooks& hooks);
// The whole modal showing of a window: nothing when it is up already
// (`running`); otherwise runModal, then the window is hidden and the window
// that was active before gets the activation back.
void showModal(HWND self, bool& running, const ModalHooks& hooks);

// Registers a window class once (later calls with the same name do nothing)
// and returns its name. Without a procedure the class is served by Window's.
const wchar_t* registerWindowClass(const wchar_t* name, WNDPROC proc = nullptr, HBRUSH background = nullptr,
                                   UINT style = 0);

// A child control: created or Failure ("Cannot create ..."), given the font,
// and, when named, the name as the property "TvName", where tools and tests
// find a control whose text is what it shows. Place, size and font are given
// at 96 DPI and come out at the parent's density; a width or height of
// fitText(extra) is that of the control's text in its font, plus `extra`.
constexpr int fitText(int extra = 0) { return -1 - extra; }
HWND createChild(HWND parent, const wchar_t* cls, const wchar_t* text, DWORD style, int x, int y, int w, int h,
                 int id = 0, HFONT font = nullptr, const wchar_t* testName = nullptr, DWORD exStyle = 0);
void setTestName(HWND h, const wchar_t* name);

// Base of the program's windows and of the system controls it subclasses.
// One procedure serves them all: it passes each message to handle() inside
// the error boundary, so no error unwinds through the system's frames, and at
// WM_NCDESTROY it lets the window go (hwnd becomes null, then destroyed()).
class Window {
public:
    virtual ~Window() = default;
    HWND hwnd = nullptr;
    static void registerClass(const wchar_t* name, HBRUSH background = nullptr, UINT style = 0) {
        registerWindowClass(name, nullptr, background, style);
    }
    static WNDPROC classProc() { return proc; }
    // A window of a class served by this base (registerWindowClass without a procedure).
    // A child (WS_CHILD) is placed at 96 DPI, as with createChild; a top-level
    // window gets the rectangle as it is.
    void create(const wchar_t* cls, const wchar_t* caption, DWORD exStyle, DWORD style, int x, int y, int w, int h,
                HWND parent, int id = 0);
    // Takes an existing window, a system control, through the common-controls subclass API.
    void attach(HWND existing);
    int width() const;
    int height() const;
    RECT bounds() const;  // screen rectangle
protected:
    virtual LRESULT handle(UINT msg, WPARAM wp, LPARAM lp);
    // The default handling: the class's own procedure for a subclassed control.
    LRESULT base(UINT msg, WPARAM wp, LPARAM lp);
    // After the last message; the object may delete itself here.
    virtual void destroyed() {}
private:
    static LRESULT CALLBACK proc(HWND h, UINT msg, WPARAM wp, LPARAM lp);
    static LRESULT CALLBACK subclassProc(HWND h, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR self);
    static LRESULT dispatch(Window* self, UINT msg, WPARAM wp, LPARAM lp);
    bool subclassed_ = false;
};

}  // namespace tv
