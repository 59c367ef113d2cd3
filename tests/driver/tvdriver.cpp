// End-to-end test driver: runs inside the same Wine (or Windows) session as
// the program and answers one command per input line with one output line,
// "OK ..." or "ERR ...". Tests keep one driver process for a whole run.
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
#include <commctrl.h>
#include <psapi.h>

#include <algorithm>
#include <atomic>
#include <map>
#include <chrono>
#include <cstdio>
#include <iostream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

namespace {

const wchar_t* kKey = L"Software\\Virelo\\Tolvane";

std::wstring widen(const std::string& s) {
    int n = MultiByteToWideChar(CP_UTF8, 0, s.data(), static_cast<int>(s.size()), nullptr, 0);
    std::wstring w(n, L'\0');
    MultiByteToWideChar(CP_UTF8, 0, s.data(), static_cast<int>(s.size()), w.data(), n);
    return w;
}
std::string narrow(const std::wstring& w) {
    int n = WideCharToMultiByte(CP_UTF8, 0, w.data(), static_cast<int>(w.size()), nullptr, 0, nullptr, nullptr);
    std::string s(n, '\0');
    WideCharToMultiByte(CP_UTF8, 0, w.data(), static_cast<int>(w.size()), s.data(), n, nullptr, nullptr);
    return s;
}
// Replies are one line: control characters are escaped.
std::string escape(const std::wstring& w) {
    std::string out;
    for (char c : narrow(w)) {
        if (c == '\r') out += "\\r";
        else if (c == '\n') out += "\\n";
        else if (c == '\t') out += "\\t";
        else if (c == '\\') out += "\\\\";
        else out += c;
    }
    return out;
}
std::string unescape(const std::string& s) {
    std::string out;
    for (size_t i = 0; i < s.size(); ++i) {
        if (s[i] == '\\' && i + 1 < s.size()) {
            char n = s[++i];
            out += n == 'n' ? '\n' : n == 'r' ? '\r' : n == 't' ? '\t' : n == 's' ? ' ' : n;
        } else {
            out += s[i];
        }
    }
    return out;
}

std::string hex(HWND h) {
    char b[32];
    snprintf(b, sizeof b, "%llx", static_cast<unsigned long long>(reinterpret_cast<uintptr_t>(h)));
    return b;
}
HWND parseHwnd(const std::string& s) { return reinterpret_cast<HWND>(static_cast<uintptr_t>(std::stoull(s, nullptr, 16))); }

std::wstring className(HWND h) {
    wchar_t b[256] = {};
    GetClassNameW(h, b, 256);
    return b;
}
std::wstring windowText(HWND h) {
    int n = static_cast<int>(SendMessageTimeoutW(h, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 2000, nullptr));
    DWORD_PTR len = 0;
    SendMessageTimeoutW(h, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 2000, &len);
    (void)n;
    std::wstring t(len + 1, L'\0');
    DWORD_PTR got = 0;
    SendMessageTimeoutW(h, WM_GETTEXT, len + 1, reinterpret_cast<LPARAM>(t.data()), SMTO_ABORTIFHUNG, 2000, &got);
    t.resize(got);
    return t;
}

struct FindArgs {
    std::wstring cls;
    DWORD pid;
    bool visibleOnly;
    HWND found = nullptr;
};
BOOL CALLBACK findTop(HWND h, LPARAM lp) {
    auto* a = reinterpret_cast<FindArgs*>(lp);
    DWORD pid = 0;
    GetWindowThreadProcessId(h, &pid);
    if ((a->pid == 0 || pid == a->pid) && className(h) == a->cls && (!a->visibleOnly || IsWindowVisible(h))) {
        a->found = h;
        return FALSE;
    }
    return TRUE;
}
HWND findWindow(const std::wstring& cls, DWORD pid, bool visibleOnly) {
    FindArgs a{cls, pid, visibleOnly};
    EnumWindows(findTop, reinterpret_cast<LPARAM>(&a));
    return a.found;
}
HWND waitWindow(const std::wstring& cls, DWORD pid, bool visibleOnly, int ms) {
    auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
    for (;;) {
        if (HWND h = findWindow(cls, pid, visibleOnly)) return h;
        if (std::chrono::steady_clock::now() > end) return nullptr;
        Sleep(10);
    }
}

struct ChildArgs {
    std::wstring cls;
    int index;
    HWND found = nullptr;
};
BOOL CALLBACK findChild(HWND h, LPARAM lp) {
    auto* a = reinterpret_cast<ChildArgs*>(lp);
    if (_wcsicmp(className(h).c_str(), a->cls.c_str()) == 0 && a->index-- == 0) {
        a->found = h;
        return FALSE;
    }
    return TRUE;
}

struct NamedArgs {
    std::wstring name;
    HWND found = nullptr;
};
// A control's name: a static shows its text, so its name is a property.
std::wstring controlName(HWND h) {
    auto atom = static_cast<ATOM>(reinterpret_cast<UINT_PTR>(GetPropW(h, L"TvName")));
    wchar_t buf[256] = {};
    if (atom && GlobalGetAtomNameW(atom, buf, 256)) return buf;
    return windowText(h);
}
BOOL CALLBACK findNamed(HWND h, LPARAM lp) {
    auto* a = reinterpret_cast<NamedArgs*>(lp);
    if (controlName(h) == a->name) {
        a->found = h;
        return FALSE;
    }
    return TRUE;
}

std::string info(HWND h) {
    RECT r{};
    GetWindowRect(h, &r);
    std::ostringstream o;
    o << "visible=" << (IsWindowVisible(h) ? 1 : 0) << " x=" << r.left << " y=" << r.top << " w=" << r.right - r.left
      << " h=" << r.bottom - r.top;
    LONG_PTR style = GetWindowLongPtrW(h, GWL_STYLE), ex = GetWindowLongPtrW(h, GWL_EXSTYLE);
    o << " style=" << std::hex << style << " exstyle=" << ex << std::dec;
    BYTE alpha = 0;
    DWORD flags = 0;
    COLORREF key = 0;
    if ((ex & WS_EX_LAYERED) && GetLayeredWindowAttributes(h, &key, &alpha, &flags))
        o << " alpha=" << static_cast<int>(alpha) << " lwa=" << flags;
    else
        o << " alpha=none";
    HRGN rgn = CreateRectRgn(0, 0, 0, 0);
    int kind = GetWindowRgn(h, rgn);
    if (kind != ERROR) {
        RECT b{};
        GetRgnBox(rgn, &b);
        // A rounded region leaves its corner pixel outside.
        o << " rgn=" << b.right - b.left << "x" << b.bottom - b.top << " corner=" << (PtInRegion(rgn, 0, 0) ? 1 : 0);
    } else {
        o << " rgn=none";
    }
    DeleteObject(rgn);
    o << " topmost=" << ((ex & WS_EX_TOPMOST) ? 1 : 0);
    o << " fg=" << (GetForegroundWindow() == h ? 1 : 0);
    return o.str();
}

// Input comes through the X server (XTest), so that the display's key state
// agrees with Wine's. Low-level hooks see every event as Wine queues it: a
// marker key (Pause, swallowed here) ends each batch, so the harness knows
// when all of a batch's events have reached the program's queue.
std::atomic<long> gInputEvents{0}, gMarkers{0}, gMarkerDowns{0};
// The longest wait of a key event for this hook, in ms: Wine drops a hook
// call that waits more than 2 s.
std::atomic<unsigned long> gHookLag{0};

LRESULT CALLBACK keyboardHook(int code, WPARAM wp, LPARAM lp) {
    if (code == HC_ACTION) {
        auto* k = reinterpret_cast<KBDLLHOOKSTRUCT*>(lp);
        const unsigned long lag = GetTickCount() - k->time;
        if (lag > gHookLag.load() && lag < 60000) gHookLag = lag;
        if (k->vkCode == VK_PAUSE) {
            ++(wp == WM_KEYUP || wp == WM_SYSKEYUP ? gMarkers : gMarkerDowns);
            return 1;
        }
        ++gInputEvents;
    }
    return CallNextHookEx(nullptr, code, wp, lp);
}
LRESULT CALLBACK mouseHook(int code, WPARAM wp, LPARAM lp) {
    if (code == HC_ACTION) ++gInputEvents;
    return CallNextHookEx(nullptr, code, wp, lp);
}
void startInputHooks() {
    HANDLE ready = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    std::thread([ready] {
        SetWindowsHookExW(WH_KEYBOARD_LL, keyboardHook, GetModuleHandleW(nullptr), 0);
        SetWindowsHookExW(WH_MOUSE_LL, mouseHook, GetModuleHandleW(nullptr), 0);
        MSG m;
        PeekMessageW(&m, nullptr, 0, 0, PM_NOREMOVE);
        SetEvent(ready);
        while (GetMessageW(&m, nullptr, 0, 0) > 0) DispatchMessageW(&m);
    }).detach();
    WaitForSingleObject(ready, 5000);
    CloseHandle(ready);
}

// A watcher of a window's thread: a round trip every 100 ms from a thread of
// its own, so that a stall shows while the driver waits on something else.
std::atomic<HWND> gWatched{nullptr};
std::atomic<long long> gWorstStallUs{0}, gStallSamples{0};
void startStallWatch() {
    static bool started = false;
    if (started) return;
    started = true;
    std::thread([] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        for (;;) {
            if (HWND h = gWatched.load()) {
                LARGE_INTEGER t0, t1;
                DWORD_PTR r = 0;
                QueryPerformanceCounter(&t0);
                // Far longer than any stall worth reporting; a window gone ends the watch.
                if (!SendMessageTimeoutW(h, WM_NULL, 0, 0, SMTO_NORMAL, 60000, &r) && !IsWindow(h))
                    gWatched.compare_exchange_strong(h, nullptr);
                QueryPerformanceCounter(&t1);
                const long long us = (t1.QuadPart - t0.QuadPart) * 1000000 / f.QuadPart;
                long long worst = gWorstStallUs.load();
                while (us > worst && !gWorstStallUs.compare_exchange_weak(worst, us)) {}
                ++gStallSamples;
            }
            Sleep(100);
        }
    }).detach();
}

// Handles of the processes this driver started, so an exit code can be read
// even when the process ended before the question came.
std::map<DWORD, HANDLE> gProcesses;
std::string started(PROCESS_INFORMATION& pi) {
    CloseHandle(pi.hThread);
    gProcesses[pi.dwProcessId] = pi.hProcess;
    return std::to_string(pi.dwProcessId);
}
HANDLE processHandle(DWORD pid, DWORD access) {
    auto it = gProcesses.find(pid);
    if (it != gProcesses.end()) {
        HANDLE h = nullptr;
        DuplicateHandle(GetCurrentProcess(), it->second, GetCurrentProcess(), &h, 0, FALSE, DUPLICATE_SAME_ACCESS);
        return h;
    }
    return OpenProcess(access, FALSE, pid);
}

// The focus of another thread, as that thread sees it.
HWND focusOf(HWND h) {
    GUITHREADINFO gi{sizeof gi};
    return GetGUIThreadInfo(GetWindowThreadProcessId(h, nullptr), &gi) ? gi.hwndFocus : nullptr;
}

// A value of a key under HKEY_CURRENT_USER: "NOKEY", "MISSING", "sz <text>", "dword <n>" or "type<n>".
std::string regValue(const std::wstring& key, const std::wstring& name) {
    HKEY k;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, key.c_str(), 0, KEY_READ, &k) != ERROR_SUCCESS) return "NOKEY";
    DWORD type = 0, size = 0;
    LONG r = RegQueryValueExW(k, name.empty() ? nullptr : name.c_str(), nullptr, &type, nullptr, &size);
    if (r != ERROR_SUCCESS) {
        RegCloseKey(k);
        return "MISSING";
    }
    std::vector<BYTE> data(size + 2);
    RegQueryValueExW(k, name.empty() ? nullptr : name.c_str(), nullptr, &type, data.data(), &size);
    RegCloseKey(k);
    if (type == REG_SZ || type == REG_EXPAND_SZ) return "sz " + escape(reinterpret_cast<wchar_t*>(data.data()));
    if (type == REG_DWORD) return "dword " + std::to_string(*reinterpret_cast<DWORD*>(data.data()));
    return "type" + std::to_string(type);
}
std::string regGet(const std::wstring& name) { return regValue(kKey, name); }

// Runs a command line in a job of its own and waits until every process of
// the job has ended: an uninstaller goes on in a copy of itself started from
// %TEMP% while the first process ends at once.
std::string runTree(const std::wstring& cwd, std::wstring cmd, DWORD ms) {
    // Wine starts its desktop process from the first process that asks for
    // the desktop window; from a program in the job, that process would be in
    // the job too and never end. The driver asks first.
    GetDesktopWindow();
    HANDLE job = CreateJobObjectW(nullptr, nullptr);
    if (!job) return "failed job " + std::to_string(GetLastError());
    STARTUPINFOW si{sizeof si};
    PROCESS_INFORMATION pi{};
    if (!CreateProcessW(nullptr, cmd.data(), nullptr, nullptr, FALSE, CREATE_SUSPENDED, nullptr, cwd.c_str(), &si,
                        &pi)) {
        CloseHandle(job);
        return "failed " + std::to_string(GetLastError());
    }
    AssignProcessToJobObject(job, pi.hProcess);
    ResumeThread(pi.hThread);
    CloseHandle(pi.hThread);
    const ULONGLONG end = GetTickCount64() + ms;
    std::string result = "TIMEOUT";
    // Wine counts a process of the job as active until its last handle is
    // closed, not when it ends: the first one's is closed once it has ended.
    DWORD code = 0;
    const bool firstEnded = WaitForSingleObject(pi.hProcess, ms) == WAIT_OBJECT_0;
    GetExitCodeProcess(pi.hProcess, &code);
    CloseHandle(pi.hProcess);
    for (;;) {
        JOBOBJECT_BASIC_ACCOUNTING_INFORMATION info{};
        if (!QueryInformationJobObject(job, JobObjectBasicAccountingInformation, &info, sizeof info, nullptr)) {
            result = "failed query " + std::to_string(GetLastError());
            break;
        }
        if (firstEnded && info.ActiveProcesses == 0) {
            result = std::to_string(code);
            break;
        }
        if (GetTickCount64() > end) {
            result += " active=" + std::to_string(info.ActiveProcesses) + (firstEnded ? " first-ended" : " first-running");
            TerminateJobObject(job, 99);
            break;
        }
        Sleep(20);
    }
    CloseHandle(job);
    return result;
}

std::string command(const std::vector<std::string>& a) {
    const std::string& c = a[0];
    auto arg = [&](size_t i) { return i < a.size() ? a[i] : std::string(); };
    auto num = [&](size_t i, long long def) { return i < a.size() ? std::stoll(a[i]) : def; };
    if (c == "find" || c == "wait" || c == "waitvisible") {
        bool vis = c == "waitvisible";
        int ms = c == "find" ? 0 : static_cast<int>(num(3, 5000));
        HWND h = waitWindow(widen(arg(1)), static_cast<DWORD>(num(2, 0)), vis, ms);
        return h ? hex(h) : "0";
    }
    if (c == "info") return info(parseHwnd(arg(1)));
    if (c == "child") {
        ChildArgs ca{widen(arg(2)), static_cast<int>(num(3, 0))};
        EnumChildWindows(parseHwnd(arg(1)), findChild, reinterpret_cast<LPARAM>(&ca));
        return ca.found ? hex(ca.found) : "0";
    }
    if (c == "text") return escape(windowText(parseHwnd(arg(1))));
    if (c == "named") {  // named <parent> <name>: a descendant by its name
        NamedArgs na{widen(arg(2))};
        EnumChildWindows(parseHwnd(arg(1)), findNamed, reinterpret_cast<LPARAM>(&na));
        return na.found ? hex(na.found) : "0";
    }
    if (c == "marker") return std::to_string(gMarkers.load()) + " " + std::to_string(gInputEvents.load());
    if (c == "hooks") {  // for diagnosis: marker key downs and ups seen, and the longest hook lag in ms
        return std::to_string(gMarkerDowns.load()) + " " + std::to_string(gMarkers.load()) + " " +
               std::to_string(gHookLag.load());
    }
    if (c == "settle") {  // settle <hwnd> <n>: n round trips through the window's thread
        HWND h = parseHwnd(arg(1));
        // Each round trip is served by one of the thread's message retrievals, so n of
        // them outlast n - 1 queued messages dispatched in between.
        for (long long i = num(2, 2); i > 0; --i) {
            DWORD_PTR r = 0;
            if (!SendMessageTimeoutW(h, WM_NULL, 0, 0, SMTO_NORMAL, 10000, &r)) return IsWindow(h) ? "timeout" : "gone";
        }
        return "done";
    }
    if (c == "iswindow") return IsWindow(parseHwnd(arg(1))) ? "1" : "0";
    if (c == "button") return GetAsyncKeyState(VK_LBUTTON) < 0 ? "1" : "0";
    if (c == "children") {  // children <hwnd>: every descendant as hwnd:class:id:text, for diagnosis
        std::vector<HWND> all;
        EnumChildWindows(parseHwnd(arg(1)), [](HWND h, LPARAM lp) {
            reinterpret_cast<std::vector<HWND>*>(lp)->push_back(h);
            return TRUE;
        }, reinterpret_cast<LPARAM>(&all));
        std::string out;
        for (HWND h : all)
            out += hex(h) + ":" + narrow(className(h)) + ":" + std::to_string(GetDlgCtrlID(h)) + ":" +
                   escape(controlName(h)) + (IsWindowVisible(h) ? "" : ":hidden") + "|";
        return out;
    }
    if (c == "toscreen") {  // toscreen <hwnd> <x> <y>: a client point of the window in screen pixels
        POINT p{static_cast<int>(num(2, 0)), static_cast<int>(num(3, 0))};
        ClientToScreen(parseHwnd(arg(1)), &p);
        return std::to_string(p.x) + " " + std::to_string(p.y);
    }
    if (c == "cursor") {
        POINT p{};
        GetCursorPos(&p);
        return std::to_string(p.x) + " " + std::to_string(p.y);
    }
    if (c == "prop") {  // prop <hwnd> <name>: "0" when unset, else the global atom's name or the number
        UINT_PTR v = reinterpret_cast<UINT_PTR>(GetPropW(parseHwnd(arg(1)), widen(arg(2)).c_str()));
        if (v == 0) return "0";
        wchar_t name[256] = {};
        if (v <= 0xFFFF && GlobalGetAtomNameW(static_cast<ATOM>(v), name, 256)) return "atom " + escape(name);
        return std::to_string(v);
    }
    if (c == "class") return narrow(className(parseHwnd(arg(1))));
    if (c == "settext") {
        SendMessageW(parseHwnd(arg(1)), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(widen(unescape(arg(2))).c_str()));
        return "done";
    }
    if (c == "msgbox") {  // msgbox <pid> <ms>: caption|text of the first message box
        HWND h = waitWindow(L"#32770", static_cast<DWORD>(num(1, 0)), true, static_cast<int>(num(2, 5000)));
        if (!h) return "0";
        HWND s = GetDlgItem(h, 0xFFFF);
        return hex(h) + "|" + escape(windowText(h)) + "|" + escape(s ? windowText(s) : L"");
    }
    if (c == "ownedbox") {  // ownedbox <owner> <ms>: caption|text of a message box the window owns (a dialog's question)
        const HWND owner = parseHwnd(arg(1));
        DWORD pid = 0;
        GetWindowThreadProcessId(owner, &pid);
        auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(num(2, 5000));
        for (;;) {
            struct Owned {
                HWND owner, found = nullptr;
            } a{owner};
            EnumWindows(
                [](HWND h, LPARAM lp) -> BOOL {
                    auto* o = reinterpret_cast<Owned*>(lp);
                    if (GetWindow(h, GW_OWNER) != o->owner || !IsWindowVisible(h) || className(h) != L"#32770")
                        return TRUE;
                    o->found = h;
                    return FALSE;
                },
                reinterpret_cast<LPARAM>(&a));
            if (a.found) {
                HWND st = GetDlgItem(a.found, 0xFFFF);
                return hex(a.found) + "|" + escape(windowText(a.found)) + "|" + escape(st ? windowText(st) : L"");
            }
            if (std::chrono::steady_clock::now() > end) return "0";
            Sleep(10);
        }
    }
    if (c == "boxes") {  // boxes <pid>: how many dialog boxes of the process are on screen
        struct Count {
            DWORD pid;
            int n = 0;
        } count{static_cast<DWORD>(num(1, 0))};
        EnumWindows([](HWND h, LPARAM lp) -> BOOL {
            auto* c = reinterpret_cast<Count*>(lp);
            DWORD pid = 0;
            GetWindowThreadProcessId(h, &pid);
            if (pid == c->pid && IsWindowVisible(h) && className(h) == L"#32770") ++c->n;
            return TRUE;
        }, reinterpret_cast<LPARAM>(&count));
        return std::to_string(count.n);
    }
    if (c == "press") {  // press <dlg> <id>: click a dialog button
        HWND b = GetDlgItem(parseHwnd(arg(1)), static_cast<int>(num(2, IDOK)));
        if (!b) return "nobutton";
        PostMessageW(b, BM_CLICK, 0, 0);
        return "done";
    }
    if (c == "setfile") {  // setfile <dlg> <name>: answer a file dialog
        HWND d = parseHwnd(arg(1));
        HWND edit = GetDlgItem(d, 0x47C);  // the file name combo of the explorer dialog
        if (HWND e = edit ? FindWindowExW(edit, nullptr, L"Edit", nullptr) : nullptr) edit = e;
        if (!edit) edit = GetDlgItem(d, 0x480);
        if (!edit) return "noedit";
        SendMessageW(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(widen(unescape(arg(2))).c_str()));
        PostMessageW(d, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(d, IDOK)));
        return "done";
    }
    if (c == "unicode") {  // unicode <text>: characters as Unicode packets, for those no key of the display has
        std::wstring text = widen(unescape(arg(1)));
        for (wchar_t ch : text) {
            for (bool up : {false, true}) {
                INPUT in{};
                in.type = INPUT_KEYBOARD;
                in.ki.wScan = ch;
                in.ki.dwFlags = KEYEVENTF_UNICODE | (up ? KEYEVENTF_KEYUP : 0);
                SendInput(1, &in, sizeof in);
            }
        }
        return "done";
    }
    if (c == "xwindow") {  // xwindow <hwnd>: the X window Wine made for its top-level window, 0 when none
        HWND top = GetAncestor(parseHwnd(arg(1)), GA_ROOT);
        return std::to_string(reinterpret_cast<UINT_PTR>(GetPropW(top, L"__wine_x11_whole_window")));
    }
    if (c == "activate") {  // activate <hwnd>: asks for its top-level window in front, as a click would
        HWND top = GetAncestor(parseHwnd(arg(1)), GA_ROOT);
        return SetForegroundWindow(top) ? "done" : "refused";
    }
    if (c == "focus") {  // focus <hwnd>: its top-level window in front, the keyboard focus on it
        HWND h = parseHwnd(arg(1));
        HWND top = GetAncestor(h, GA_ROOT);
        auto until = [](auto done) {
            for (int i = 0; i < 300 && !done(); ++i) Sleep(10);
            return done();
        };
        if (GetForegroundWindow() != top) SetForegroundWindow(top);
        if (!until([&] { return GetForegroundWindow() == top; })) return "notforeground";
        if (focusOf(h) != h) {
            // Given from the control's own thread.
            DWORD self = GetCurrentThreadId(), target = GetWindowThreadProcessId(h, nullptr);
            AttachThreadInput(self, target, TRUE);
            SetFocus(h);
            AttachThreadInput(self, target, FALSE);
        }
        return until([&] { return focusOf(h) == h; }) ? "done" : "nofocus";
    }
    if (c == "post" || c == "send") {
        HWND h = parseHwnd(arg(1));
        UINT msg = static_cast<UINT>(std::stoul(arg(2), nullptr, 0));
        WPARAM wp = static_cast<WPARAM>(std::stoull(arg(3).empty() ? "0" : arg(3), nullptr, 0));
        LPARAM lp = static_cast<LPARAM>(std::stoll(arg(4).empty() ? "0" : arg(4), nullptr, 0));
        if (c == "post") return PostMessageW(h, msg, wp, lp) ? "done" : "failed";
        DWORD_PTR r = 0;
        SendMessageTimeoutW(h, msg, wp, lp, SMTO_ABORTIFHUNG, 5000, &r);
        return std::to_string(static_cast<long long>(r));
    }
    if (c == "status") {  // the part edges and texts of a status bar, read through the program's memory
        HWND h = parseHwnd(arg(1));
        DWORD pid = 0;
        GetWindowThreadProcessId(h, &pid);
        HANDLE p = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, pid);
        if (!p) return "noprocess";
        wchar_t buf[1024];
        void* remote = VirtualAllocEx(p, nullptr, sizeof buf, MEM_COMMIT, PAGE_READWRITE);
        int n = static_cast<int>(SendMessageW(h, SB_GETPARTS, 0, 0));
        int edges[64] = {};
        n = n < 64 ? n : 64;
        SendMessageW(h, SB_GETPARTS, n, reinterpret_cast<LPARAM>(remote));
        ReadProcessMemory(p, remote, edges, sizeof(int) * n, nullptr);
        std::string out = "parts=" + std::to_string(n) + " edges=";
        for (int i = 0; i < n; ++i) out += std::to_string(edges[i]) + (i + 1 < n ? "," : "");
        for (int i = 0; i < n; ++i) {
            std::fill(std::begin(buf), std::end(buf), L'\0');
            WriteProcessMemory(p, remote, buf, sizeof buf, nullptr);
            SendMessageW(h, SB_GETTEXTW, i, reinterpret_cast<LPARAM>(remote));
            ReadProcessMemory(p, remote, buf, sizeof buf - 2, nullptr);
            out += "|" + escape(buf);
        }
        VirtualFreeEx(p, remote, 0, MEM_RELEASE);
        CloseHandle(p);
        return out;
    }
    if (c == "launch") {  // launch <cwd> <command line>
        std::wstring cwd = widen(arg(1));
        std::wstring cmd = widen(unescape(arg(2)));
        STARTUPINFOW si{sizeof si};
        PROCESS_INFORMATION pi{};
        if (!CreateProcessW(nullptr, cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, cwd.c_str(), &si, &pi))
            return "failed " + std::to_string(GetLastError());
        return started(pi);
    }
    if (c == "waitexit") {
        HANDLE p = processHandle(static_cast<DWORD>(num(1, 0)), SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION);
        if (!p) return "gone";
        DWORD r = WaitForSingleObject(p, static_cast<DWORD>(num(2, 5000)));
        DWORD code = 0;
        GetExitCodeProcess(p, &code);
        CloseHandle(p);
        return r == WAIT_OBJECT_0 ? std::to_string(code) : "TIMEOUT";
    }
    if (c == "kill") {
        HANDLE p = processHandle(static_cast<DWORD>(num(1, 0)), PROCESS_TERMINATE | SYNCHRONIZE);
        if (!p) return "gone";
        TerminateProcess(p, 99);
        WaitForSingleObject(p, 5000);
        CloseHandle(p);
        return "killed";
    }
    if (c == "crash") {  // crash <pid>: a thread of the program starts at an address that holds no code
        HANDLE p = OpenProcess(PROCESS_CREATE_THREAD | PROCESS_QUERY_INFORMATION | PROCESS_VM_OPERATION |
                                   PROCESS_VM_WRITE | PROCESS_VM_READ,
                               FALSE, static_cast<DWORD>(num(1, 0)));
        if (!p) return "noprocess";
        // A real access violation inside the program, as a fault in its own code would give.
        auto start = reinterpret_cast<LPTHREAD_START_ROUTINE>(static_cast<uintptr_t>(0x10));
        HANDLE t = CreateRemoteThread(p, nullptr, 0, start, nullptr, 0, nullptr);
        DWORD err = GetLastError();
        CloseHandle(p);
        if (!t) return "failed " + std::to_string(err);
        CloseHandle(t);
        return "done";
    }
    if (c == "launchtime") {  // launchtime <cwd> <cmd> [class]: ms from process creation to its window shown
        std::wstring cwd = widen(arg(1));
        std::wstring cmd = widen(unescape(arg(2)));
        std::wstring cls = a.size() > 3 ? widen(arg(3)) : L"TfPrincipal";
        STARTUPINFOW si{sizeof si};
        PROCESS_INFORMATION pi{};
        auto t0 = std::chrono::steady_clock::now();
        if (!CreateProcessW(nullptr, cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, cwd.c_str(), &si, &pi))
            return "failed";
        HWND h = nullptr;
        while (!h && std::chrono::steady_clock::now() - t0 < std::chrono::seconds(20)) {
            h = findWindow(cls, pi.dwProcessId, true);
            if (!h) Sleep(1);
        }
        auto ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count();
        CloseHandle(pi.hThread);
        CloseHandle(pi.hProcess);
        return std::to_string(pi.dwProcessId) + " " + std::to_string(h ? ms : -1.0);
    }
    if (c == "launchenv") {  // launchenv <cwd> <command line> NAME=VALUE...: launch with extra variables
        std::wstring cwd = widen(arg(1));
        std::wstring cmd = widen(unescape(arg(2)));
        std::vector<std::wstring> extra;
        for (size_t i = 3; i < a.size(); ++i) extra.push_back(widen(unescape(a[i])));
        std::wstring block;
        wchar_t* env = GetEnvironmentStringsW();
        for (const wchar_t* e = env; *e; e += wcslen(e) + 1) {
            std::wstring entry = e;
            bool replaced = false;
            for (const std::wstring& x : extra)
                replaced |= _wcsnicmp(entry.c_str(), x.c_str(), x.find(L'=') + 1) == 0;
            if (!replaced) block += entry + L'\0';
        }
        FreeEnvironmentStringsW(env);
        for (const std::wstring& x : extra) block += x + L'\0';
        block += L'\0';
        STARTUPINFOW si{sizeof si};
        PROCESS_INFORMATION pi{};
        if (!CreateProcessW(nullptr, cmd.data(), nullptr, nullptr, FALSE, CREATE_UNICODE_ENVIRONMENT, block.data(),
                            cwd.c_str(), &si, &pi))
            return "failed " + std::to_string(GetLastError());
        return started(pi);
    }
    if (c == "pidof") {  // the process of a window (a program started through a Unix shell has no pid of ours)
        DWORD pid = 0;
        GetWindowThreadProcessId(parseHwnd(arg(1)), &pid);
        return std::to_string(pid);
    }
    if (c == "enabled") return IsWindowEnabled(parseHwnd(arg(1))) ? "1" : "0";
    if (c == "progress") {  // position and range of a progress bar
        HWND h = parseHwnd(arg(1));
        return "pos=" + std::to_string(SendMessageW(h, PBM_GETPOS, 0, 0)) +
               " min=" + std::to_string(SendMessageW(h, PBM_GETRANGE, TRUE, 0)) +
               " max=" + std::to_string(SendMessageW(h, PBM_GETRANGE, FALSE, 0));
    }
    if (c == "keycost") {  // keycost <editor> <n> [gap ms]: microseconds per key event sent (key-down and character)
        HWND h = parseHwnd(arg(1));
        int n = static_cast<int>(num(2, 200));
        DWORD gap = static_cast<DWORD>(num(3, 0));  // typing pace: the click before has ended
        LARGE_INTEGER f, t0, t1;
        QueryPerformanceFrequency(&f);
        auto us = [&] { return (t1.QuadPart - t0.QuadPart) * 1e6 / f.QuadPart; };
        std::vector<double> key, null;
        for (int i = 0; i < n; ++i) {
            QueryPerformanceCounter(&t0);
            SendMessageW(h, WM_NULL, 0, 0);  // the round trip alone, to tell apart from the handlers
            QueryPerformanceCounter(&t1);
            null.push_back(us());
            QueryPerformanceCounter(&t0);
            SendMessageW(h, WM_KEYDOWN, 'A', 0x001E0001);
            SendMessageW(h, WM_CHAR, 'a', 0x001E0001);
            QueryPerformanceCounter(&t1);
            key.push_back(us());
            SendMessageW(h, WM_KEYUP, 'A', 0xC01E0001);
            if (gap) Sleep(gap);
        }
        auto stats = [](std::vector<double> v) {
            std::sort(v.begin(), v.end());
            double sum = 0;
            for (double x : v) sum += x;
            std::ostringstream o;
            o << "median=" << v[v.size() / 2] << " mean=" << sum / v.size() << " p95=" << v[v.size() * 95 / 100]
              << " max=" << v.back();
            return o.str();
        };
        if (n <= 0) return "none";
        return "key " + stats(key) + " | roundtrip " + stats(null);
    }
    if (c == "resources") {  // resources <pid>: gdi=N user=N handles=N rss=KB (-1 where the system gives no answer)
        HANDLE p = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, static_cast<DWORD>(num(1, 0)));
        if (!p) return "gone";
        // GetGuiResources answers 0 with an error set when it cannot count.
        auto gui = [&](DWORD what) {
            SetLastError(0);
            DWORD n = GetGuiResources(p, what);
            return n == 0 && GetLastError() != 0 ? -1LL : static_cast<long long>(n);
        };
        DWORD handles = 0;
        const long long kernel = GetProcessHandleCount(p, &handles) ? static_cast<long long>(handles) : -1;
        PROCESS_MEMORY_COUNTERS pmc{sizeof pmc};
        const long long rss = GetProcessMemoryInfo(p, &pmc, sizeof pmc) ? static_cast<long long>(pmc.WorkingSetSize / 1024) : -1;
        std::string out = "gdi=" + std::to_string(gui(GR_GDIOBJECTS)) + " user=" + std::to_string(gui(GR_USEROBJECTS)) +
                          " handles=" + std::to_string(kernel) + " rss=" + std::to_string(rss);
        CloseHandle(p);
        return out;
    }
    if (c == "ping") {  // ping <hwnd>: microseconds of one round trip through the window's thread, -1 on a 10 s timeout
        LARGE_INTEGER f, t0, t1;
        QueryPerformanceFrequency(&f);
        QueryPerformanceCounter(&t0);
        DWORD_PTR r = 0;
        const bool ok = SendMessageTimeoutW(parseHwnd(arg(1)), WM_NULL, 0, 0, SMTO_NORMAL, 10000, &r);
        QueryPerformanceCounter(&t1);
        return ok ? std::to_string((t1.QuadPart - t0.QuadPart) * 1000000 / f.QuadPart) : "-1";
    }
    if (c == "liveobjects") {  // liveobjects <hwnd>: the GDI objects the program says it holds, -1 on no answer
        static const UINT question = RegisterWindowMessageW(L"TolvaneLiveGdiObjects");
        DWORD_PTR r = 0;
        if (!SendMessageTimeoutW(parseHwnd(arg(1)), question, 0, 0, SMTO_NORMAL, 10000, &r)) return "-1";
        return std::to_string(static_cast<long long>(r));
    }
    if (c == "windows") {  // windows <pid>: the windows of a process, children and message-only ones too
        struct Count {
            DWORD pid;
            long n = 0;
        } count{static_cast<DWORD>(num(1, 0))};
        auto top = [](HWND h, LPARAM lp) -> BOOL {
            auto* c = reinterpret_cast<Count*>(lp);
            DWORD pid = 0;
            GetWindowThreadProcessId(h, &pid);
            if (pid == c->pid) {
                ++c->n;
                EnumChildWindows(h, [](HWND, LPARAM l) -> BOOL {
                    ++reinterpret_cast<Count*>(l)->n;
                    return TRUE;
                }, lp);
            }
            return TRUE;
        };
        EnumWindows(top, reinterpret_cast<LPARAM>(&count));
        for (HWND m = FindWindowExW(HWND_MESSAGE, nullptr, nullptr, nullptr); m;
             m = FindWindowExW(HWND_MESSAGE, m, nullptr, nullptr))
            top(m, reinterpret_cast<LPARAM>(&count));
        return std::to_string(count.n);
    }
    if (c == "handles") {  // handles <pid>: the kernel handles the system lists for a process, -1 when it lists none
        using Query = LONG(WINAPI*)(ULONG, PVOID, ULONG, PULONG);
        static const auto query = reinterpret_cast<Query>(
            reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "NtQuerySystemInformation")));
        struct Entry {
            ULONG pid;
            BYTE type, flags;
            USHORT value;
            PVOID object;
            ULONG access;
        };
        const ULONG pid = static_cast<ULONG>(num(1, 0));
        std::vector<BYTE> buf(1 << 20);
        LONG status = 0;
        for (int i = 0; i < 8; ++i) {
            ULONG need = 0;
            status = query ? query(16 /* SystemHandleInformation */, buf.data(), static_cast<ULONG>(buf.size()), &need) : -1;
            if (status != static_cast<LONG>(0xC0000004)) break;  // STATUS_INFO_LENGTH_MISMATCH
            buf.resize(std::max<size_t>(need + 65536, buf.size() * 2));
        }
        if (status != 0) return "-1";
        const ULONG n = *reinterpret_cast<ULONG*>(buf.data());
        const auto* e = reinterpret_cast<const Entry*>(buf.data() + sizeof(ULONG_PTR));
        long mine = 0;
        for (ULONG i = 0; i < n; ++i) mine += e[i].pid == pid;
        return std::to_string(mine);
    }
    if (c == "update") {  // update <hwnd>: returns once the window has painted what it had to paint
        return UpdateWindow(parseHwnd(arg(1))) ? "done" : "failed";
    }
    if (c == "stallwatch") {  // stallwatch <hwnd>: watch that window's thread (0: stop)
        gWatched = parseHwnd(arg(1));
        gWorstStallUs = 0;
        gStallSamples = 0;
        startStallWatch();
        return "done";
    }
    if (c == "stall") {  // the longest round trip (us) and the number of round trips since the last question
        const std::string out = std::to_string(gWorstStallUs.exchange(0)) + " " + std::to_string(gStallSamples.exchange(0));
        return out;
    }
    if (c == "regclear") {
        RegDeleteTreeW(HKEY_CURRENT_USER, kKey);
        return "done";
    }
    if (c == "regset") {  // regset <name> sz|dword|binary <value>
        HKEY k;
        RegCreateKeyExW(HKEY_CURRENT_USER, kKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &k, nullptr);
        std::wstring name = widen(arg(1));
        LONG r;
        if (arg(2) == "dword") {
            DWORD v = static_cast<DWORD>(std::stoul(arg(3)));
            r = RegSetValueExW(k, name.c_str(), 0, REG_DWORD, reinterpret_cast<BYTE*>(&v), sizeof v);
        } else if (arg(2) == "rawsz") {  // exact bytes, no terminator: odd contents must read safely
            std::wstring v = widen(unescape(arg(3)));
            r = RegSetValueExW(k, name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(v.data()),
                               static_cast<DWORD>(v.size() * sizeof(wchar_t)));
        } else {
            std::wstring v = widen(unescape(arg(3)));
            r = RegSetValueExW(k, name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(v.c_str()),
                               static_cast<DWORD>((v.size() + 1) * sizeof(wchar_t)));
        }
        RegCloseKey(k);
        return r == ERROR_SUCCESS ? "done" : "failed";
    }
    if (c == "regget") return regGet(widen(arg(1)));
    if (c == "hkcu") return regValue(widen(unescape(arg(1))), widen(unescape(arg(2))));  // hkcu <key> [<value>]
    if (c == "hkcukey") {  // hkcukey <key>: "<subkeys> <values>" of a key under HKCU, or NOKEY
        HKEY k;
        if (RegOpenKeyExW(HKEY_CURRENT_USER, widen(unescape(arg(1))).c_str(), 0, KEY_READ, &k) != ERROR_SUCCESS)
            return "NOKEY";
        DWORD keys = 0, values = 0;
        RegQueryInfoKeyW(k, nullptr, nullptr, nullptr, &keys, nullptr, nullptr, &values, nullptr, nullptr, nullptr,
                         nullptr);
        RegCloseKey(k);
        return std::to_string(keys) + " " + std::to_string(values);
    }
    if (c == "hkcuset") {  // hkcuset <key> <value name> <text>: a string value under HKCU, the key made if need be
        HKEY k;
        if (RegCreateKeyExW(HKEY_CURRENT_USER, widen(unescape(arg(1))).c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                            &k, nullptr) != ERROR_SUCCESS)
            return "failed";
        std::wstring name = widen(unescape(arg(2))), v = widen(unescape(arg(3)));
        LONG r = RegSetValueExW(k, name.empty() ? nullptr : name.c_str(), 0, REG_SZ,
                                reinterpret_cast<const BYTE*>(v.c_str()), static_cast<DWORD>((v.size() + 1) * 2));
        RegCloseKey(k);
        return r == ERROR_SUCCESS ? "done" : "failed";
    }
    if (c == "fileversion") {  // fileversion <path>: "<a.b.c.d> <ProductName>|<CompanyName>" of its version resource
        std::wstring path = widen(unescape(arg(1)));
        DWORD ignored = 0, size = GetFileVersionInfoSizeW(path.c_str(), &ignored);
        if (!size) return "none";
        std::vector<BYTE> data(size);
        if (!GetFileVersionInfoW(path.c_str(), 0, size, data.data())) return "none";
        VS_FIXEDFILEINFO* fixed = nullptr;
        UINT n = 0;
        if (!VerQueryValueW(data.data(), L"\\", reinterpret_cast<void**>(&fixed), &n) || !fixed) return "none";
        std::string out = std::to_string(HIWORD(fixed->dwFileVersionMS)) + "." + std::to_string(LOWORD(fixed->dwFileVersionMS)) +
                          "." + std::to_string(HIWORD(fixed->dwFileVersionLS)) + "." + std::to_string(LOWORD(fixed->dwFileVersionLS));
        // The strings of the first language the resource lists.
        struct Translation { WORD language, codePage; }* t = nullptr;
        if (!VerQueryValueW(data.data(), L"\\VarFileInfo\\Translation", reinterpret_cast<void**>(&t), &n) || n < 4)
            return out;
        wchar_t block[64];
        auto value = [&](const wchar_t* name) {
            swprintf(block, 64, L"\\StringFileInfo\\%04x%04x\\%ls", t->language, t->codePage, name);
            wchar_t* v = nullptr;
            UINT len = 0;
            return VerQueryValueW(data.data(), block, reinterpret_cast<void**>(&v), &len) && v ? escape(v) : std::string();
        };
        return out + " " + value(L"ProductName") + "|" + value(L"CompanyName");
    }
    if (c == "expand") {  // expand <text>: environment variables replaced
        std::wstring in = widen(unescape(arg(1)));
        std::wstring out(32768, L'\0');
        DWORD n = ExpandEnvironmentStringsW(in.c_str(), out.data(), static_cast<DWORD>(out.size()));
        if (n == 0 || n > out.size()) return "failed";
        out.resize(n - 1);
        return escape(out);
    }
    if (c == "runtree") return runTree(widen(arg(1)), widen(unescape(arg(2))), static_cast<DWORD>(num(3, 60000)));
    if (c == "textwidth") {
        // textwidth message|<face>:<pixel height> <text>: pixels the text takes in that font. The
        // program's own font handles mean nothing in another process: the font is made again, as
        // message boxes make theirs (the system's message font) or as the program makes its own.
        const std::string spec = arg(1);
        LOGFONTW lf{};
        if (spec == "message") {
            NONCLIENTMETRICSW m{sizeof m};
            SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof m, &m, 0);
            lf = m.lfMessageFont;
        } else {
            const size_t colon = spec.find(':');
            if (colon == std::string::npos) return "badfont";
            lf.lfHeight = -std::stoi(spec.substr(colon + 1));
            lf.lfWeight = FW_NORMAL;
            lf.lfCharSet = DEFAULT_CHARSET;
            lf.lfQuality = CLEARTYPE_QUALITY;
            wcsncpy(lf.lfFaceName, widen(spec.substr(0, colon)).c_str(), LF_FACESIZE - 1);
        }
        std::wstring text = widen(unescape(arg(2)));
        HFONT font = CreateFontIndirectW(&lf);
        HDC dc = GetDC(nullptr);
        HGDIOBJ old = SelectObject(dc, font);
        SIZE size{};
        GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
        SelectObject(dc, old);
        ReleaseDC(nullptr, dc);
        DeleteObject(font);
        return std::to_string(size.cx);
    }
    if (c == "regkey") {
        HKEY k;
        if (RegOpenKeyExW(HKEY_CURRENT_USER, kKey, 0, KEY_READ, &k) != ERROR_SUCCESS) return "NOKEY";
        DWORD n = 0;
        RegQueryInfoKeyW(k, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &n, nullptr, nullptr, nullptr, nullptr);
        RegCloseKey(k);
        return std::to_string(n);
    }
    if (c == "dpi") return std::to_string(GetDpiForWindow(parseHwnd(arg(1))));  // dpi <hwnd>
    if (c == "screen") return std::to_string(GetSystemMetrics(SM_CXSCREEN)) + " " + std::to_string(GetSystemMetrics(SM_CYSCREEN));
    if (c == "sleep") {
        Sleep(static_cast<DWORD>(num(1, 0)));
        return "done";
    }
    if (c == "setenv") {  // setenv <name> [value]: for the programs launched next
        SetEnvironmentVariableW(widen(arg(1)).c_str(), a.size() > 2 ? widen(arg(2)).c_str() : nullptr);
        return "done";
    }
    if (c == "lock") {  // lock <path>: hold the file open, sharing nothing, until unlock
        static HANDLE held = INVALID_HANDLE_VALUE;
        if (held != INVALID_HANDLE_VALUE) CloseHandle(held);
        held = CreateFileW(widen(unescape(arg(1))).c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
        return held == INVALID_HANDLE_VALUE ? "failed" : "locked";
    }
    if (c == "holdfor") {  // holdfor <path> <ms>: hold the file open, sharing nothing, for a moment from now
        HANDLE held = CreateFileW(widen(unescape(arg(1))).c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
        if (held == INVALID_HANDLE_VALUE) return "failed " + std::to_string(GetLastError());
        const DWORD ms = static_cast<DWORD>(num(2, 500));
        std::thread([held, ms] {
            Sleep(ms);
            CloseHandle(held);
        }).detach();
        return "held";
    }
    if (c == "holduntil") {  // holduntil <path> <other> <ms>: hold the file, sharing nothing, until ms after other exists
        HANDLE held = CreateFileW(widen(unescape(arg(1))).c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
        if (held == INVALID_HANDLE_VALUE) return "failed " + std::to_string(GetLastError());
        const std::wstring other = widen(unescape(arg(2)));
        const DWORD ms = static_cast<DWORD>(num(3, 250));
        std::thread([held, other, ms] {
            for (int i = 0; i < 2000 && GetFileAttributesW(other.c_str()) == INVALID_FILE_ATTRIBUTES; ++i) Sleep(5);
            Sleep(ms);
            CloseHandle(held);
        }).detach();
        return "held";
    }
    if (c == "dpichange") {  // dpichange <hwnd> <dpi> [left top right bottom]: WM_DPICHANGED as a monitor change sends it
        HWND h = parseHwnd(arg(1));
        const WORD dpi = static_cast<WORD>(num(2, 96));
        LPARAM lp = 0;
        HANDLE p = nullptr;
        void* remote = nullptr;
        if (a.size() > 6) {
            // The suggested rectangle lives in the program's memory, where the handler reads it.
            RECT r{static_cast<LONG>(num(3, 0)), static_cast<LONG>(num(4, 0)), static_cast<LONG>(num(5, 0)),
                   static_cast<LONG>(num(6, 0))};
            DWORD pid = 0;
            GetWindowThreadProcessId(h, &pid);
            p = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_WRITE, FALSE, pid);
            if (!p) return "noprocess";
            remote = VirtualAllocEx(p, nullptr, sizeof r, MEM_COMMIT, PAGE_READWRITE);
            WriteProcessMemory(p, remote, &r, sizeof r, nullptr);
            lp = reinterpret_cast<LPARAM>(remote);
        }
        DWORD_PTR r = 0;
        const bool sent = SendMessageTimeoutW(h, WM_DPICHANGED, MAKEWPARAM(dpi, dpi), lp, SMTO_NORMAL, 10000, &r);
        if (p) {
            VirtualFreeEx(p, remote, 0, MEM_RELEASE);
            CloseHandle(p);
        }
        return sent ? "done" : "timeout";
    }
    if (c == "owner") return hex(GetWindow(parseHwnd(arg(1)), GW_OWNER));  // owner <hwnd>
    if (c == "above") {  // above <a> <b>: 1 when top-level window a lies above b in the z-order
        HWND a = parseHwnd(arg(1)), b = parseHwnd(arg(2));
        for (HWND h = GetWindow(a, GW_HWNDNEXT); h; h = GetWindow(h, GW_HWNDNEXT))
            if (h == b) return "1";
        return "0";
    }
    if (c == "attrib") {  // attrib <path> [value]: set the file attributes (decimal), then report them
        std::wstring path = widen(unescape(arg(1)));
        if (a.size() > 2 && !SetFileAttributesW(path.c_str(), static_cast<DWORD>(num(2, 0))))
            return "failed " + std::to_string(GetLastError());
        return std::to_string(GetFileAttributesW(path.c_str()));
    }
    if (c == "quit") return "bye";
    throw std::runtime_error("unknown command " + c);
}

}  // namespace

int wmain() {
    // Rectangles and points in the display's pixels whatever the density, as the program (per-monitor aware) has them.
    SetProcessDpiAwarenessContext(DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2);
    startInputHooks();
    std::string line;
    while (std::getline(std::cin, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.empty()) continue;
        std::vector<std::string> args;
        std::stringstream ss(line);
        std::string part;
        while (std::getline(ss, part, '\t')) args.push_back(part);
        std::string reply;
        try {
            reply = "OK " + command(args);
        } catch (const std::exception& e) {
            reply = std::string("ERR ") + e.what();
        }
        std::cout << reply << "\n" << std::flush;
        if (args[0] == "quit") break;
    }
    return 0;
}
