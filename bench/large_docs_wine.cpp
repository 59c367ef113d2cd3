// Large documents under Wine (or Windows): prose-like documents of the sizes
// given (in KB) as .txt and .rtf, each opened, counted by the status line,
// typed into and saved through the program's own editor code. Prints figures
// (medians unless said otherwise); asserts nothing.
//
//   large_docs_bench.exe [--reference] [--probe] [--probe-only] [--txt|--rtf] [--no-baseline]
//                        [--clear-up-to=KB] [KB ...]
//
// --reference counts with the line-by-line recount (one EM_GETLINE per display
// line) instead of the status line's counter, to compare the two.
// --probe also prints what single rich-edit messages cost on each document;
// --probe-only opens each document and probes, nothing else. With
// TV_BENCH_TRACE set, each refresh tells how many paragraphs it laid out.
// --clear-up-to=KB (1024 by default) also times emptying the editor of each
// document up to that size, which grows with the square of its paragraphs.
// Beside every figure of the program stands Wine's own baseline where one
// makes sense: a bare rich edit streaming, typing and saving the same.
#include "text/DocumentIO.h"
#include "text/Editor.h"
#include "widgets/Win.h"

#include <psapi.h>
#include <richedit.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

using namespace tv;
using Clock = std::chrono::steady_clock;

namespace {

bool reference = false;
bool probeOnly = false;
std::size_t clearUpTo = 1024;  // KB: documents up to this size are also emptied, timed

double ms(Clock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }

double median(std::vector<double> v) {
    if (v.empty()) return 0;
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

double residentMb() {
    PROCESS_MEMORY_COUNTERS pmc{};
    pmc.cb = sizeof pmc;
    GetProcessMemoryInfo(GetCurrentProcess(), &pmc, sizeof pmc);
    return static_cast<double>(pmc.WorkingSetSize) / (1024.0 * 1024.0);
}

// Prose: words of 1 to 11 letters, some capitalised or followed by a comma or
// full stop, paragraphs of 40 to 160 words. In RTF every 23rd word is bold
// and every 37th italic.
std::string makeDocument(std::size_t bytes, bool rtf) {
    std::string s;
    s.reserve(bytes + 256);
    if (rtf) s = "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0\\fnil Tahoma;}}\\viewkind4\\uc1\\pard\\f0\\fs24 ";
    unsigned seed = 12345;
    auto next = [&seed] { return (seed = seed * 1103515245u + 12345u) >> 8; };
    int wordsLeft = 40 + static_cast<int>(next() % 120);
    unsigned word = 0;
    while (s.size() < bytes) {
        ++word;
        const bool bold = rtf && word % 23 == 0, italic = rtf && word % 37 == 0;
        if (bold) s += "\\b ";
        if (italic) s += "\\i ";
        const int len = 1 + static_cast<int>(next() % 11);
        for (int i = 0; i < len; ++i) s.push_back(static_cast<char>((i == 0 && next() % 9 == 0 ? 'A' : 'a') + next() % 26));
        if (bold) s += "\\b0";
        if (italic) s += "\\i0";
        if (next() % 13 == 0) s.push_back(next() % 2 ? ',' : '.');
        if (--wordsLeft == 0) {
            s += rtf ? "\\par\n" : "\r\n";
            wordsLeft = 40 + static_cast<int>(next() % 120);
        } else {
            s.push_back(' ');
        }
    }
    if (rtf) s += "\\par\n}";
    return s;
}

void writeFile(const std::wstring& name, const std::string& data) {
    HANDLE f = CreateFileW(name.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD w = 0;
    WriteFile(f, data.data(), static_cast<DWORD>(data.size()), &w, nullptr);
    CloseHandle(f);
}

void pump() {
    MSG m;
    while (PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&m);
        DispatchMessageW(&m);
    }
}

// The text window's part of a key event: the change and selection-change
// handlers as the program has them.
struct Host {
    HWND hwnd = nullptr, re = nullptr;
    editor::StatusTracker tracker;
    unsigned changes = 0;
};
Host* gHost = nullptr;

LRESULT CALLBACK hostProc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
    if (gHost && msg == WM_COMMAND && HIWORD(wp) == EN_CHANGE) {
        ++gHost->changes;
        gHost->tracker.changeNotified();
        return 0;
    }
    if (gHost && msg == WM_NOTIFY && reinterpret_cast<NMHDR*>(lp)->code == EN_SELCHANGE) {
        volatile DWORD e = editor::selectionEffects(gHost->re) & CFE_BOLD;
        e = editor::selectionEffects(gHost->re) & CFE_ITALIC;
        e = editor::selectionEffects(gHost->re) & CFE_UNDERLINE;
        (void)e;
        return 0;
    }
    return DefWindowProcW(h, msg, wp, lp);
}

HWND makeEditor(HWND parent, bool bare) {
    HWND re = CreateWindowExW(WS_EX_TRANSPARENT, MSFTEDIT_CLASS, L"", WS_CHILD | WS_VISIBLE | ES_MULTILINE,
                              20, 20, 1024, 592, parent, nullptr, GetModuleHandleW(nullptr), nullptr);
    if (!bare) editor::setup(re);
    else {
        SendMessageW(re, EM_EXLIMITTEXT, 0, 0x7FFFFFFE);
        SendMessageW(re, EM_SETTARGETDEVICE, 0, 0);
    }
    return re;
}

// One key as the program's editor takes it: the status tracker hears of each
// key message before and after the control handles it.
void key(HWND re, wchar_t ch, editor::StatusTracker* tracker = nullptr) {
    const WPARAM vk = ch == L'\r' ? VK_RETURN : static_cast<WPARAM>(towupper(ch));
    auto send = [&](UINT msg, WPARAM wp, LPARAM lp) {
        if (tracker) tracker->keyStarting(re, msg, wp);
        SendMessageW(re, msg, wp, lp);
        if (tracker) tracker->keyDone(re);
    };
    send(WM_KEYDOWN, vk, 1);
    send(WM_CHAR, ch, 1);
    SendMessageW(re, WM_KEYUP, vk, 0xC0000001);
    UpdateWindow(re);
}

struct Counted {
    editor::Stats st;
    double total = 0, longest = 0;  // ms: the whole count, and its longest step
    int steps = 0;
};

// A refresh as the program does it: steps of kCountStep until the figures are whole.
Counted refresh(Host& h) {
    Counted c;
    const auto t0 = Clock::now();
    for (;;) {
        const auto s0 = Clock::now();
        const std::optional<editor::Stats> st =
            reference ? editor::statistics(h.re) : h.tracker.refreshWithin(h.re, editor::kCountStep);
        c.longest = std::max(c.longest, ms(Clock::now() - s0));
        ++c.steps;
        if (st) {
            c.st = *st;
            break;
        }
    }
    c.total = ms(Clock::now() - t0);
    return c;
}

void probe(HWND re) {
    auto cost = [](auto&& f) {
        std::vector<double> t;
        for (int i = 0; i < 9; ++i) {
            auto t0 = Clock::now();
            f();
            t.push_back(ms(Clock::now() - t0));
        }
        return median(t);
    };
    const LRESULT len = SendMessageW(re, WM_GETTEXTLENGTH, 0, 0);
    const LRESULT lines = SendMessageW(re, EM_GETLINECOUNT, 0, 0);
    std::printf("    probe: EM_GETLINECOUNT %.3f ms, EM_EXLINEFROMCHAR(end) %.3f ms, EM_LINEINDEX(last) %.3f ms,"
                " EM_POSFROMCHAR(end) %.3f ms, EM_CHARFROMPOS %.3f ms\n",
                cost([&] { SendMessageW(re, EM_GETLINECOUNT, 0, 0); }),
                cost([&] { SendMessageW(re, EM_EXLINEFROMCHAR, 0, len); }),
                cost([&] { SendMessageW(re, EM_LINEINDEX, lines - 1, 0); }), cost([&] {
                    POINTL p;
                    SendMessageW(re, EM_POSFROMCHAR, reinterpret_cast<WPARAM>(&p), len);
                }),
                cost([&] {
                    POINTL p{5, 300};
                    SendMessageW(re, EM_CHARFROMPOS, 0, reinterpret_cast<LPARAM>(&p));
                }));
    std::printf("    probe: EM_LINELENGTH(near the end) %.3f ms, EM_LINEINDEX(-1) %.3f ms, EM_GETTEXTLENGTHEX %.3f ms\n",
                cost([&] { SendMessageW(re, EM_LINELENGTH, len > 100 ? len - 100 : 0, 0); }),
                cost([&] { SendMessageW(re, EM_LINEINDEX, static_cast<WPARAM>(-1), 0); }), cost([&] {
                    GETTEXTLENGTHEX how{GTL_NUMCHARS | GTL_PRECISE, 1200};
                    SendMessageW(re, EM_GETTEXTLENGTHEX, reinterpret_cast<WPARAM>(&how), 0);
                }));
    std::vector<wchar_t> buf(static_cast<std::size_t>(len) + 1);
    std::printf("    probe: whole text EM_GETTEXTEX %.3f ms, EM_GETTEXTRANGE(100 at end) %.3f ms,"
                " EM_GETLINE(last) %.3f ms\n",
                cost([&] {
                    GETTEXTEX gt{static_cast<DWORD>(buf.size() * sizeof(wchar_t)), GT_DEFAULT, 1200, nullptr, nullptr};
                    SendMessageW(re, EM_GETTEXTEX, reinterpret_cast<WPARAM>(&gt), reinterpret_cast<LPARAM>(buf.data()));
                }),
                cost([&] {
                    TEXTRANGEW tr{{static_cast<LONG>(len > 100 ? len - 100 : 0), static_cast<LONG>(len)}, buf.data()};
                    SendMessageW(re, EM_GETTEXTRANGE, 0, reinterpret_cast<LPARAM>(&tr));
                }),
                cost([&] {
                    *reinterpret_cast<WORD*>(buf.data()) = 4000;
                    SendMessageW(re, EM_GETLINE, lines - 1, reinterpret_cast<LPARAM>(buf.data()));
                }));
}

// Wine's own figures: a bare rich edit streaming the file in one go, typing
// with no handlers and streaming out to memory.
void baseline(HWND parent, const std::string& data, bool rtf) {
    HWND re = makeEditor(parent, true);
    struct Src {
        const std::string* d;
        std::size_t pos;
    } src{&data, 0};
    EDITSTREAM es{reinterpret_cast<DWORD_PTR>(&src), 0, [](DWORD_PTR c, LPBYTE b, LONG cb, LONG* done) -> DWORD {
                      auto* s = reinterpret_cast<Src*>(c);
                      std::size_t n = std::min<std::size_t>(static_cast<std::size_t>(cb), s->d->size() - s->pos);
                      memcpy(b, s->d->data() + s->pos, n);
                      s->pos += n;
                      *done = static_cast<LONG>(n);
                      return 0;
                  }};
    auto t0 = Clock::now();
    SendMessageW(re, EM_STREAMIN, rtf ? SF_RTF : SF_TEXT, reinterpret_cast<LPARAM>(&es));
    UpdateWindow(re);
    const double open = ms(Clock::now() - t0);
    t0 = Clock::now();
    SendMessageW(re, EM_GETLINECOUNT, 0, 0);
    const double lineCount = ms(Clock::now() - t0);
    const LRESULT len = SendMessageW(re, WM_GETTEXTLENGTH, 0, 0);
    CHARRANGE mid{static_cast<LONG>(len / 2), static_cast<LONG>(len / 2)};
    SendMessageW(re, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&mid));
    std::vector<double> keys;
    for (int i = 0; i < 21; ++i) {
        auto k0 = Clock::now();
        key(re, L'a' + i % 26);
        keys.push_back(ms(Clock::now() - k0));
    }
    std::string out;
    EDITSTREAM os{reinterpret_cast<DWORD_PTR>(&out), 0, [](DWORD_PTR c, LPBYTE b, LONG cb, LONG* done) -> DWORD {
                      reinterpret_cast<std::string*>(c)->append(reinterpret_cast<const char*>(b),
                                                                static_cast<std::size_t>(cb));
                      *done = cb;
                      return 0;
                  }};
    t0 = Clock::now();
    SendMessageW(re, EM_STREAMOUT, rtf ? SF_RTF : SF_TEXT, reinterpret_cast<LPARAM>(&os));
    const double save = ms(Clock::now() - t0);
    std::printf("    bare rich edit: open %.0f ms, one EM_GETLINECOUNT %.2f ms, key event %.2f ms, stream out %.0f ms\n",
                open, lineCount, median(keys), save);
    DestroyWindow(re);
}

void run(Host& h, std::size_t kb, bool rtf, bool withProbe, bool withBaseline) {
    wchar_t tmp[MAX_PATH];
    GetTempPathW(MAX_PATH, tmp);
    const std::wstring ext = rtf ? L".rtf" : L".txt";
    const std::wstring in = std::wstring(tmp) + L"tolvane-large" + ext, out = std::wstring(tmp) + L"tolvane-saved" + ext;
    const std::string data = makeDocument(kb * 1024, rtf);
    writeFile(in, data);
    std::printf("%zu KB %s (%s):\n", kb, rtf ? "rtf" : "txt", reference ? "line-by-line recount" : "status counter");
    // Each document goes into an editor of its own, as the program's first document
    // does: emptying an editor of a long document is quadratic in Wine's rich edit
    // (every run deleted looks its position up from the first paragraph), and
    // after the 10 MB text document it did not end.
    h.re = makeEditor(h.hwnd, false);
    h.tracker = editor::StatusTracker{};
    const double memBefore = residentMb();

    auto t0 = Clock::now();
    documents::loadInto(h.re, in);
    h.tracker.documentReplaced();
    UpdateWindow(h.re);
    const double open = ms(Clock::now() - t0);
    if (probeOnly) {
        std::printf("    open %.0f ms\n", open);
        probe(h.re);
        std::fflush(stdout);
        DeleteFileW(in.c_str());
        DestroyWindow(h.re);
        return;
    }
    const double memOpen = residentMb();

    const Counted first = refresh(h);
    editor::Stats st = first.st;
    if (!reference && getenv("TV_BENCH_TRACE"))
        std::printf("      first refresh: %d paragraphs laid out%s\n", h.tracker.counter().paragraphsLaidOut(),
                    h.tracker.counter().usedReference() ? ", line by line" : "");
    const double memCounted = residentMb();

    // Typing in the middle at 10 keys a second: a refresh after every tenth
    // key. Each key event and each refresh blocks the user-interface thread.
    const LRESULT len = SendMessageW(h.re, WM_GETTEXTLENGTH, 0, 0);
    CHARRANGE mid{static_cast<LONG>(len / 2), static_cast<LONG>(len / 2)};
    SendMessageW(h.re, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&mid));
    const int seconds = kb >= 8192 || reference ? 3 : 8;
    std::vector<double> keys, refreshes;
    double worst = 0;
    for (int s = 0; s < seconds; ++s) {
        for (int k = 0; k < 10; ++k) {
            auto k0 = Clock::now();
            key(h.re, k == 9 && s % 3 == 2 ? L'\r' : (k == 4 ? L' ' : static_cast<wchar_t>(L'a' + k)), &h.tracker);
            keys.push_back(ms(Clock::now() - k0));
            worst = std::max(worst, keys.back());
        }
        const Counted c = refresh(h);
        st = c.st;
        refreshes.push_back(c.total);
        worst = std::max(worst, c.longest);
        if (getenv("TV_BENCH_TRACE"))
            std::printf("      refresh %.2f ms: %d paragraphs laid out%s\n", refreshes.back(),
                        h.tracker.counter().paragraphsLaidOut(), h.tracker.counter().usedReference() ? ", line by line" : "");
    }
    if (getenv("TV_BENCH_TRACE")) {
        // What each message costs right after a new paragraph.
        key(h.re, L'\r', &h.tracker);
        CHARRANGE sel{};
        auto t = [](const char* what, auto&& f) {
            auto a = Clock::now();
            f();
            std::printf("      after Enter: %s %.2f ms\n", what, ms(Clock::now() - a));
        };
        t("EM_EXGETSEL", [&] { SendMessageW(h.re, EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&sel)); });
        t("EM_GETTEXTLENGTHEX", [&] { editor::RichEditLayout(h.re).length(); });
        t("EM_GETTEXTRANGE", [&] { editor::RichEditLayout(h.re).text(sel.cpMin - 500, sel.cpMin + 500); });
        t("EM_LINELENGTH", [&] { editor::RichEditLayout(h.re).lineLength(sel.cpMin); });
        t("EM_LINELENGTH again", [&] { editor::RichEditLayout(h.re).lineLength(sel.cpMin - 3); });
        t("EM_GETLINECOUNT", [&] { editor::RichEditLayout(h.re).lineCount(); });
        t("refresh", [&] { refresh(h); });
    }
    // The style panel's face and size change the wrapping of the selection.
    SendMessageW(h.re, EM_SETSEL, len / 2 - 2000, len / 2 + 2000);
    editor::setPointSize(h.re, 20);
    editor::setFace(h.re, L"Courier New");
    h.tracker.formatChanged(h.re);
    SendMessageW(h.re, EM_SETSEL, len / 2, len / 2);
    const Counted styled = refresh(h);
    st = styled.st;
    if (!reference) {
        const editor::Stats ref = editor::statistics(h.re);
        if (ref.palabras != st.palabras || ref.lineas != st.lineas || ref.linea != st.linea ||
            ref.columna != st.columna)
            std::printf("    MISMATCH with the line-by-line recount: %d/%d : %d words %d, expected %d/%d : %d words %d\n",
                        st.linea, st.lineas, st.columna, st.palabras, ref.linea, ref.lineas, ref.columna,
                        ref.palabras);
    }

    t0 = Clock::now();
    documents::saveTo(h.re, out, LayoutForName(DocumentLayout{}, out));
    const double save = ms(Clock::now() - t0);

    std::printf("    open %.0f ms, first count %.1f ms in %d steps, longest %.1f ms (%d lines, %d words)\n", open,
                first.total, first.steps, first.longest, st.lineas, st.palabras);
    std::printf("    refresh after 10 keys %.2f ms (max %.2f), after a face and size change %.1f ms (longest step %.1f)\n",
                median(refreshes), *std::max_element(refreshes.begin(), refreshes.end()), styled.total, styled.longest);
    std::printf("    key event %.2f ms (max %.2f); worst stall typing at 10 keys/s with the status line on %.1f ms\n",
                median(keys), *std::max_element(keys.begin(), keys.end()), worst);
    std::printf("    save %.0f ms; resident memory %.0f MB before, %.0f MB open, %.0f MB counted\n", save, memBefore,
                memOpen, memCounted);
    if (withProbe) probe(h.re);
    if (clearUpTo >= kb) {
        // What a New or an Open over this document costs the control before anything else.
        t0 = Clock::now();
        SetWindowTextW(h.re, L"");
        std::printf("    emptying the editor (WM_SETTEXT \"\") %.0f ms\n", ms(Clock::now() - t0));
    }
    DestroyWindow(h.re);
    h.re = nullptr;
    if (withBaseline) baseline(h.hwnd, data, rtf);
    std::fflush(stdout);
    DeleteFileW(in.c_str());
    DeleteFileW(out.c_str());
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<std::size_t> sizes;
    bool withProbe = false, withBaseline = true;
    std::vector<bool> formats{false, true};
    for (int i = 1; i < argc; ++i) {
        if (!std::strcmp(argv[i], "--reference")) reference = true;
        else if (!std::strcmp(argv[i], "--probe")) withProbe = true;
        else if (!std::strcmp(argv[i], "--probe-only")) probeOnly = true;
        else if (!std::strcmp(argv[i], "--no-baseline")) withBaseline = false;
        else if (!std::strcmp(argv[i], "--txt")) formats = {false};
        else if (!std::strcmp(argv[i], "--rtf")) formats = {true};
        else if (!std::strncmp(argv[i], "--clear-up-to=", 14)) clearUpTo = static_cast<std::size_t>(std::atoi(argv[i] + 14));
        else sizes.push_back(static_cast<std::size_t>(std::atoi(argv[i])));
    }
    if (sizes.empty()) sizes = {100, 1024, 10240};
    LoadLibraryW(L"Msftedit.dll");
    WNDCLASSW wc{};
    wc.lpfnWndProc = hostProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"TolvaneBenchHost";
    RegisterClassW(&wc);
    Host h;
    gHost = &h;
    h.hwnd = CreateWindowExW(0, wc.lpszClassName, L"", WS_POPUP | WS_VISIBLE, 0, 0, 1064, 672, nullptr, nullptr,
                             GetModuleHandleW(nullptr), nullptr);
    pump();
    for (std::size_t kb : sizes)
        for (bool rtf : formats) run(h, kb, rtf, withProbe, withBaseline);
    return 0;
}
