// Timed driver of the key click, run under Wine or on Windows, in one process:
// the check of the image, the click request alone (tv::click::play on the
// real click image), and a key event on a rich edit control that clicks in its
// character handler as the text window's editor does, timed from WM_KEYDOWN to
// the return of the WM_CHAR handler, with the click on and off. Keys come
// either 1 ms apart, so that every click cuts off the one before, or 50 ms
// apart (fast typing), so that each click has ended before the next. Prints
// figures.
//
//     keyclick_bench.exe <click.wav> [keys]
#include "sound/Click.h"
#include "sound/core/WaveImage.h"
#include "widgets/Win.h"

#include <richedit.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

std::string image;
bool clickOn = false;
WNDPROC editProc = nullptr;

LRESULT CALLBACK clickingEdit(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_CHAR && clickOn) tv::click::play(image);
    return CallWindowProcW(editProc, h, msg, wp, lp);
}

double now() {
    static LARGE_INTEGER f = [] {
        LARGE_INTEGER q;
        QueryPerformanceFrequency(&q);
        return q;
    }();
    LARGE_INTEGER t;
    QueryPerformanceCounter(&t);
    return static_cast<double>(t.QuadPart) * 1e6 / static_cast<double>(f.QuadPart);
}

void pump() {
    MSG m;
    while (PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&m);
        DispatchMessageW(&m);
    }
}

void report(const char* what, std::vector<double> us) {
    std::sort(us.begin(), us.end());
    double sum = 0;
    for (double v : us) sum += v;
    std::printf("%-34s median %7.1f us, mean %7.1f us, p95 %7.1f us, max %8.1f us (%zu)\n", what, us[us.size() / 2],
                sum / static_cast<double>(us.size()), us[us.size() * 95 / 100], us.back(), us.size());
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: keyclick_bench <click.wav> [keys]\n");
        return 2;
    }
    std::ifstream f(argv[1], std::ios::binary);
    image.assign(std::istreambuf_iterator<char>(f), {});
    if (image.empty()) {
        std::fprintf(stderr, "cannot read %s\n", argv[1]);
        return 1;
    }
    const int keys = argc > 2 ? std::max(10, std::atoi(argv[2])) : 400;

    LoadLibraryW(L"msftedit.dll");
    WNDCLASSW wc{};
    wc.lpfnWndProc = DefWindowProcW;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"KeyClickBench";
    RegisterClassW(&wc);
    HWND top = CreateWindowExW(0, wc.lpszClassName, L"bench", WS_POPUP | WS_VISIBLE, 0, 0, 800, 600, nullptr,
                               nullptr, wc.hInstance, nullptr);
    HWND edit = CreateWindowExW(0, MSFTEDIT_CLASS, L"", WS_CHILD | WS_VISIBLE | ES_MULTILINE, 10, 10, 780, 580, top,
                                nullptr, wc.hInstance, nullptr);
    if (!edit) {
        std::fprintf(stderr, "no rich edit control\n");
        return 1;
    }
    SendMessageW(edit, EM_SETEVENTMASK, 0, ENM_CHANGE | ENM_SELCHANGE);
    editProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(edit, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(clickingEdit)));
    SetFocus(edit);
    pump();

    std::vector<double> check;
    bool playable = true;
    for (int i = 0; i < keys; ++i) {
        const double t0 = now();
        playable &= tv::isPlayableWave(image);
        check.push_back(now() - t0);
    }
    if (!playable) std::printf("(the image is not a playable WAV: every click is silent)\n");
    report("image check alone", check);

    for (DWORD gap : {1u, 50u}) {
        const int n = gap > 1 ? std::max(10, keys / 4) : keys;
        std::vector<double> request;
        for (int i = 0; i < n; ++i) {
            const double t0 = now();
            tv::click::play(image);
            request.push_back(now() - t0);
            Sleep(gap);
        }
        report(gap > 1 ? "click request, 50 ms apart" : "click request, 1 ms apart", request);
        for (bool on : {true, false}) {
            clickOn = on;
            SetWindowTextW(edit, L"");
            pump();
            std::vector<double> key;
            for (int i = 0; i < n; ++i) {
                const double t0 = now();
                SendMessageW(edit, WM_KEYDOWN, 'A', 0x001E0001);
                SendMessageW(edit, WM_CHAR, 'a', 0x001E0001);
                key.push_back(now() - t0);
                SendMessageW(edit, WM_KEYUP, 'A', 0xC01E0001);
                pump();  // the repaint of the last character is not part of the next one
                Sleep(gap);
            }
            std::string what = std::string("key event, click ") + (on ? "on" : "off") + (gap > 1 ? ", 50 ms" : ", 1 ms");
            report(what.c_str(), key);
        }
    }
    tv::click::play({});  // stops the last click before the image goes
    DestroyWindow(top);
    return 0;
}
