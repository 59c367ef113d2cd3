#include "widgets/core/LongPath.h"

namespace tv {

namespace {
bool isDriveAbsolute(std::wstring_view p) {
    return p.size() >= 3 && ((p[0] >= L'A' && p[0] <= L'Z') || (p[0] >= L'a' && p[0] <= L'z')) && p[1] == L':' &&
           p[2] == L'\\';
}
}  // namespace

std::wstring ExtendedLengthPath(std::wstring_view full) {
    // The limit counts the terminator.
    if (full.size() < kClassicPathLimit) return std::wstring(full);
    if (full.starts_with(L"\\\\?\\") || full.starts_with(L"\\\\.\\")) return std::wstring(full);
    if (isDriveAbsolute(full)) return L"\\\\?\\" + std::wstring(full);
    if (full.starts_with(L"\\\\")) return L"\\\\?\\UNC\\" + std::wstring(full.substr(2));
    return std::wstring(full);
}

}  // namespace tv
