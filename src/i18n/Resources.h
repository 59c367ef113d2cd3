#pragma once
// Resource strings: the program's user-facing messages pass through here so
// that they can be translated from the message catalogs.
#include <string>

namespace tv {

std::wstring resourceString(const std::wstring& english);

}  // namespace tv
