#include "i18n/core/Translate.h"

#include <cstdint>
#include <type_traits>

#include "i18n/core/MoCatalog.h"

namespace tv {

namespace {

constexpr char32_t kReplacement = 0xFFFD;
constexpr bool kWide16 = sizeof(wchar_t) == 2;

bool isSurrogate(char32_t c) { return c >= 0xD800 && c <= 0xDFFF; }

void appendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

void appendWide(std::wstring& out, char32_t c) {
    if (kWide16 && c >= 0x10000) {
        c -= 0x10000;
        out += static_cast<wchar_t>(0xD800 + (c >> 10));
        out += static_cast<wchar_t>(0xDC00 + (c & 0x3FF));
    } else {
        out += static_cast<wchar_t>(c);
    }
}

// Decodes one sequence at s[i]; advances i past it, or past the longest
// prefix that could have started a valid sequence when it is invalid.
char32_t decodeOne(std::string_view s, std::size_t& i) {
    const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(s[k]); };
    const unsigned char lead = byte(i++);
    if (lead < 0x80) return lead;
    std::size_t more;
    unsigned char low = 0x80, high = 0xBF;  // allowed range of the second byte
    char32_t c;
    if (lead >= 0xC2 && lead <= 0xDF) { more = 1; c = lead & 0x1F; }
    else if (lead >= 0xE0 && lead <= 0xEF) {
        more = 2; c = lead & 0x0F;
        if (lead == 0xE0) low = 0xA0;        // overlong
        if (lead == 0xED) high = 0x9F;       // surrogates
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        more = 3; c = lead & 0x07;
        if (lead == 0xF0) low = 0x90;        // overlong
        if (lead == 0xF4) high = 0x8F;       // past U+10FFFF
    } else {
        return kReplacement;
    }
    for (std::size_t k = 0; k < more; ++k, low = 0x80, high = 0xBF) {
        if (i >= s.size() || byte(i) < low || byte(i) > high) return kReplacement;
        c = (c << 6) | (byte(i++) & 0x3F);
    }
    return c;
}

}  // namespace

std::string removeCarriageReturns(std::string_view utf8) {
    std::string out;
    out.reserve(utf8.size());
    for (char c : utf8)
        if (c != '\r') out += c;
    return out;
}

std::string expandLineFeeds(std::string_view utf8) {
    std::string out;
    out.reserve(utf8.size() + utf8.size() / 8);
    for (std::size_t i = 0; i < utf8.size(); ++i) {
        if (utf8[i] == '\n' && (i == 0 || utf8[i - 1] != '\r')) out += '\r';
        out += utf8[i];
    }
    return out;
}

std::string toUtf8(std::wstring_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        char32_t c = static_cast<std::make_unsigned_t<wchar_t>>(text[i]);
        if (kWide16 && c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size()) {
            const char32_t next = static_cast<std::make_unsigned_t<wchar_t>>(text[i + 1]);
            if (next >= 0xDC00 && next <= 0xDFFF) {
                c = 0x10000 + ((c - 0xD800) << 10) + (next - 0xDC00);
                ++i;
            }
        }
        if (isSurrogate(c) || c > 0x10FFFF) c = kReplacement;
        appendUtf8(out, c);
    }
    return out;
}

std::wstring fromUtf8(std::string_view utf8) {
    std::wstring out;
    out.reserve(utf8.size());
    for (std::size_t i = 0; i < utf8.size();) appendWide(out, decodeOne(utf8, i));
    return out;
}

CatalogPaths catalogPaths(std::wstring_view programFolder, std::wstring_view language,
                          std::wstring_view domain) {
    const auto build = [&](std::wstring_view lang) {
        std::wstring path(programFolder);
        path += L"locale\\";
        path += lang;
        path += L"\\LC_MESSAGES\\";
        path += domain;
        path += L".mo";
        return path;
    };
    CatalogPaths paths{build(language), std::nullopt};
    if (language.size() > 2) paths.fallback = build(language.substr(0, 2));
    return paths;
}

std::wstring charsetProblemText(std::wstring_view language, std::wstring_view path) {
    std::wstring text = L"The translation for the language code ";
    text += language;
    text += L" (in ";
    text += path;
    text += L") does not have charset=utf-8 in its Content-Type. Translations are turned off.";
    return text;
}

std::optional<std::wstring> lookupText(const MoCatalog& catalog, std::wstring_view text) {
    const std::string key = removeCarriageReturns(toUtf8(text));
    // The empty original is the catalog header, not a translation.
    if (key.empty()) return std::nullopt;
    const auto found = catalog.find(key);
    // msgfmt leaves untranslated entries out; an empty one would blank the text.
    if (!found || found->empty()) return std::nullopt;
    return fromUtf8(expandLineFeeds(*found));
}

}  // namespace tv
