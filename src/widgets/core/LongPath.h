#pragma once
// Paths past the system's classic limit (MAX_PATH, 260 characters with the
// terminator): Windows opens them only in their extended-length form unless
// the system allows long paths.
#include <string>
#include <string_view>

namespace tv {

inline constexpr std::size_t kClassicPathLimit = 260;

// A full path as the file functions take it at any length: unchanged while it
// fits the classic limit, is not absolute or is already extended; otherwise
// "\\?\C:\..." for a drive path and "\\?\UNC\server\share\..." for a share.
// `full` must already be normalised (separators '\', no "." or ".." parts),
// as GetFullPathNameW gives it: the extended form is taken as it is.
std::wstring ExtendedLengthPath(std::wstring_view full);

}  // namespace tv
