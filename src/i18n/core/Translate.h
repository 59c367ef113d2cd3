#pragma once
// Text side of translation: UTF-8 conversion, the line-end rules around a
// catalog lookup, where catalogs lie, and the charset complaint.
#include <optional>
#include <string>
#include <string_view>

namespace tv {

class MoCatalog;

inline constexpr const wchar_t* kLocalizationProblemTitle = L"Localization problem";

// Catalogs store texts without CRs; every CR is dropped before a lookup.
std::string removeCarriageReturns(std::string_view utf8);
// Every LF that does not follow a CR becomes CR LF, as the edit controls want.
std::string expandLineFeeds(std::string_view utf8);

// UTF-16 where wchar_t is 16-bit, UTF-32 where it is 32-bit. Invalid input
// (bad UTF-8 sequences, lone surrogates, values past U+10FFFF) turns into
// U+FFFD, one per maximal invalid subsequence.
std::string toUtf8(std::wstring_view text);
std::wstring fromUtf8(std::string_view utf8);

// <folder>locale\<language>\LC_MESSAGES\<domain>.mo, and the same with only
// the first two characters of the language, tried when the first is missing.
struct CatalogPaths {
    std::wstring primary;
    std::optional<std::wstring> fallback;  // only for codes longer than two
};
// programFolder ends in a backslash.
CatalogPaths catalogPaths(std::wstring_view programFolder, std::wstring_view language,
                          std::wstring_view domain);

// Text of the message box shown when a catalog does not declare UTF-8.
std::wstring charsetProblemText(std::wstring_view language, std::wstring_view path);

// One text through one catalog: CRs dropped, looked up, line feeds expanded.
// Empty when the catalog has no (or an empty) translation or the text is empty
// without its CRs; the caller then keeps its text exactly as it was.
std::optional<std::wstring> lookupText(const MoCatalog& catalog, std::wstring_view text);

}  // namespace tv
