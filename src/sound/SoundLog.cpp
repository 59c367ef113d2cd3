#include "sound/SoundLog.h"

#include "widgets/Handles.h"

#include <cstdio>

namespace tv::soundlog {

namespace {
HANDLE file() {
    // Never released: the click's stop at exit is logged after the program's
    // other statics are gone, so the system closes the file with the process.
    static const KernelHandle* const h = [] {
        wchar_t name[MAX_PATH * 2];
        DWORD n = GetEnvironmentVariableW(L"TOLVANE_TEST_MCI_LOG", name, static_cast<DWORD>(std::size(name)));
        if (n == 0 || n >= std::size(name)) return new KernelHandle();
        return new KernelHandle(CreateFileW(name, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE |
                                            FILE_SHARE_DELETE, nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    }();
    return *h ? h->get() : INVALID_HANDLE_VALUE;
}
}  // namespace

bool enabled() { return file() != INVALID_HANDLE_VALUE; }

void line(const std::string& text) {
    HANDLE h = file();
    if (h == INVALID_HANDLE_VALUE) return;
    std::string l = text + "\n";
    DWORD written = 0;
    WriteFile(h, l.data(), static_cast<DWORD>(l.size()), &written, nullptr);
}

std::string hex(unsigned long long v, int digits) {
    char b[32];
    std::snprintf(b, sizeof b, "0x%0*llx", digits, v);
    return b;
}

}  // namespace tv::soundlog
