// Timed driver for the editor paths, run under Wine or on Windows: the status
// line's recount (word count, line and column, line count) on 1 MB and 10 MB
// documents, and opening plus saving a 10 MB RTF document. Prints figures.
#include "text/DocumentIO.h"
#include "text/Editor.h"
#include "widgets/Win.h"

#include <richedit.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

using namespace tv;
using Clock = std::chrono::steady_clock;

namespace {
double ms(Clock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }

// Prose-like text: words of 1 to 9 letters, a paragraph every ~600 characters.
std::string makeText(std::size_t bytes) {
    std::string s;
    s.reserve(bytes + 16);
    unsigned seed = 12345;
    while (s.size() < bytes) {
        seed = seed * 1103515245 + 12345;
        int len = 1 + (seed >> 16) % 9;
        for (int i = 0; i < len; ++i) s.push_back(static_cast<char>('a' + (seed >> (i + 3)) % 26));
        s.push_back((seed >> 8) % 97 == 0 ? '\n' : ' ');
    }
    return s;
}

void writeFile(const std::wstring& name, const std::string& data) {
    HANDLE f = CreateFileW(name.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD w = 0;
    WriteFile(f, data.data(), static_cast<DWORD>(data.size()), &w, nullptr);
    CloseHandle(f);
}
}  // namespace

int main(int argc, char** argv) {
    // Sizes in MB of the documents recounted; 10 MB takes minutes under Wine.
    std::vector<std::size_t> sizes;
    for (int i = 1; i < argc; ++i) sizes.push_back(static_cast<std::size_t>(std::atoi(argv[i])) << 20);
    if (sizes.empty()) sizes = {std::size_t{1} << 20, std::size_t{2} << 20};
    LoadLibraryW(L"Msftedit.dll");
    HWND host = CreateWindowExW(0, L"STATIC", L"", WS_POPUP | WS_VISIBLE, 0, 0, 1064, 672, nullptr, nullptr,
                                GetModuleHandleW(nullptr), nullptr);
    HWND re = CreateWindowExW(WS_EX_TRANSPARENT, MSFTEDIT_CLASS, L"", WS_CHILD | WS_VISIBLE | ES_MULTILINE,
                              20, 20, 1024, 592, host, nullptr, GetModuleHandleW(nullptr), nullptr);
    editor::setup(re);
    wchar_t tmp[MAX_PATH];
    GetTempPathW(MAX_PATH, tmp);
    std::wstring dir = tmp;

    for (std::size_t size : sizes) {
        std::wstring txt = dir + L"tolvane-bench.txt";
        writeFile(txt, makeText(size));
        documents::loadInto(re, txt);
        editor::Stats st = editor::statistics(re);  // warm-up: the control lays the lines out once
        const int rounds = size > (2u << 20) ? 1 : 10;
        auto t0 = Clock::now();
        for (int i = 0; i < rounds; ++i) st = editor::statistics(re);
        double each = ms(Clock::now() - t0) / rounds;
        std::printf("status-line refresh, %zu MB: %.2f ms per refresh (%d lines, %d words)\n", size >> 20, each,
                    st.lineas, st.palabras);
        DeleteFileW(txt.c_str());
    }

    std::wstring rtf = dir + L"tolvane-bench.rtf";
    std::wstring txt = dir + L"tolvane-bench.txt";
    writeFile(txt, makeText(std::size_t{10} << 20));
    documents::loadInto(re, txt);
    DeleteFileW(txt.c_str());
    documents::saveTo(re, rtf, TextEncoding::Ansi);  // the 10 MB document as RTF
    auto t0 = Clock::now();
    documents::loadInto(re, rtf);
    auto t1 = Clock::now();
    documents::saveTo(re, rtf, TextEncoding::Ansi);
    auto t2 = Clock::now();
    std::printf("10 MB RTF: open %.0f ms, save %.0f ms, open+save %.0f ms\n", ms(t1 - t0), ms(t2 - t1), ms(t2 - t0));
    DeleteFileW(rtf.c_str());
    return 0;
}
