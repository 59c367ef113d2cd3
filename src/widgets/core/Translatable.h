#pragma once
// Marks a text that is translated where it is shown (loaded as a resource
// string, set on the help overlay, put on a box button), so that
// scripts/catalogs.py finds it for the catalogs. It changes nothing at run time.

namespace tv {

constexpr const wchar_t* N_(const wchar_t* text) { return text; }

}  // namespace tv
