#include "i18n/core/Translate.h"

#include <gtest/gtest.h>

#include <string>

#include "../support/MoImageBuilder.h"
#include "i18n/core/MoCatalog.h"

namespace tv {
namespace {

// Expected wide text from code points, in this platform's wchar_t encoding.
std::wstring wide(std::u32string_view codePoints) {
    std::wstring out;
    for (char32_t c : codePoints) {
        if (sizeof(wchar_t) == 2 && c >= 0x10000) {
            out += static_cast<wchar_t>(0xD800 | ((c - 0x10000) >> 10));
            out += static_cast<wchar_t>(0xDC00 | ((c - 0x10000) & 0x3FF));
        } else {
            out += static_cast<wchar_t>(c);
        }
    }
    return out;
}

TEST(LineEnds, CarriageReturnsRemovedAndLineFeedsExpanded) {
    struct Case { const char* text; const char* withoutCr; const char* expanded; };
    const Case cases[] = {
        {"", "", ""},
        {"plain", "plain", "plain"},
        {"a\nb", "a\nb", "a\r\nb"},
        {"a\r\nb", "a\nb", "a\r\nb"},
        {"\n", "\n", "\r\n"},
        {"\n\n", "\n\n", "\r\n\r\n"},
        {"a\r\n\nb\n", "a\n\nb\n", "a\r\n\r\nb\r\n"},
        {"\r\r\n", "\n", "\r\r\n"},
        {"a\rb", "ab", "a\rb"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(removeCarriageReturns(c.text), c.withoutCr);
        EXPECT_EQ(expandLineFeeds(c.text), c.expanded);
    }
}

TEST(Utf8, DecodesValidAndReplacesInvalidSequences) {
    struct Case { const char* utf8; std::u32string_view expected; };
    const Case cases[] = {
        {"", U""},
        {"Si", U"Si"},
        {"S\xC3\xAD \xE2\x82\xAC \xF0\x9F\x98\x80", U"S\u00ED \u20AC \U0001F600"},
        {"\xEF\xBF\xBF\xF4\x8F\xBF\xBF", U"\uFFFF\U0010FFFF"},
        {"\x80", U"\uFFFD"},                              // stray continuation
        {"\xC0\xAF", U"\uFFFD\uFFFD"},                   // overlong, never valid lead
        {"\xE0\x80\x80", U"\uFFFD\uFFFD\uFFFD"},         // overlong three-byte
        {"\xED\xA0\x80", U"\uFFFD\uFFFD\uFFFD"},         // encoded surrogate
        {"\xF4\x90\x80\x80", U"\uFFFD\uFFFD\uFFFD\uFFFD"},  // past U+10FFFF
        {"\xF5\x41", U"\uFFFDA"},
        {"\xE2\x82", U"\uFFFD"},                          // truncated at the end
        {"\xE2\x82" "A", U"\uFFFDA"},                     // truncated before ASCII
        {"\xF0\x9F\x98", U"\uFFFD"},
        {"\xC3\xC3\xAD", U"\uFFFD\u00ED"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.utf8);
        EXPECT_EQ(fromUtf8(c.utf8), wide(c.expected));
    }
}

TEST(Utf8, EveryScalarValueRoundTrips) {
    std::u32string all;
    for (char32_t c = 1; c <= 0x10FFFF; ++c)
        if (c < 0xD800 || c > 0xDFFF) all += c;
    const std::wstring text = wide(all);
    const std::string utf8 = toUtf8(text);
    EXPECT_EQ(fromUtf8(utf8), text);
    // 0x80 one-byte, 0x780 two-byte, 0xF800 three-byte less the surrogates, the rest four.
    EXPECT_EQ(utf8.size(), 0x7Fu + 2 * 0x780u + 3 * (0x10000u - 0x800u - 0x800u) + 4 * 0x100000u);
}

TEST(Utf8, EncodesBadWideTextAsReplacement) {
    const std::string replacement = "\xEF\xBF\xBD";
    EXPECT_EQ(toUtf8(std::wstring(1, static_cast<wchar_t>(0xD800))), replacement);
    EXPECT_EQ(toUtf8(std::wstring(1, static_cast<wchar_t>(0xDC00)) + L"a"), replacement + "a");
    EXPECT_EQ(toUtf8(std::wstring{static_cast<wchar_t>(0xD83D), L'a'}), replacement + "a");
    if constexpr (sizeof(wchar_t) == 4) {
        EXPECT_EQ(toUtf8(std::wstring(1, static_cast<wchar_t>(0x110000))), replacement);
        EXPECT_EQ(toUtf8(std::wstring(1, static_cast<wchar_t>(-1))), replacement);
    }
}

TEST(CatalogPaths, PrimaryAndTwoLetterFallback) {
    struct Case { const wchar_t* language; const wchar_t* domain; const wchar_t* primary; const wchar_t* fallback; };
    const Case cases[] = {
        {L"es", L"default", L"C:\\Tolvane\\locale\\es\\LC_MESSAGES\\default.mo", nullptr},
        {L"es_ES", L"default", L"C:\\Tolvane\\locale\\es_ES\\LC_MESSAGES\\default.mo",
         L"C:\\Tolvane\\locale\\es\\LC_MESSAGES\\default.mo"},
        {L"pt_BR", L"toolkit", L"C:\\Tolvane\\locale\\pt_BR\\LC_MESSAGES\\toolkit.mo",
         L"C:\\Tolvane\\locale\\pt\\LC_MESSAGES\\toolkit.mo"},
        {L"e", L"default", L"C:\\Tolvane\\locale\\e\\LC_MESSAGES\\default.mo", nullptr},
    };
    for (const Case& c : cases) {
        const CatalogPaths paths = catalogPaths(L"C:\\Tolvane\\", c.language, c.domain);
        EXPECT_EQ(paths.primary, c.primary);
        EXPECT_EQ(paths.fallback.has_value(), c.fallback != nullptr);
        if (c.fallback && paths.fallback) EXPECT_EQ(*paths.fallback, c.fallback);
    }
}

TEST(CharsetProblem, MessageText) {
    EXPECT_EQ(charsetProblemText(L"es", L"C:\\T\\locale\\es\\LC_MESSAGES\\default.mo"),
              L"The translation for the language code es (in C:\\T\\locale\\es\\LC_MESSAGES\\default.mo) "
              L"does not have charset=utf-8 in its Content-Type. Translations are turned off.");
}

TEST(LookupText, TranslatesThroughTheCatalog) {
    const std::string image = test::buildMoImage({
        {"", "Content-Type: text/plain; charset=UTF-8\n"},
        {"First line\nSecond line", "Primera l\xC3\xADnea\nSegunda l\xC3\xADnea"},
        {"Two\nlines", "Dos\r\nl\xC3\xADneas"},
        {"\xC2\xBFS\xC3\xAD?", "Yes?"},
        {"Untranslated", ""},
        {"Cancel", "Cancelar"},
    });
    const auto catalog = MoCatalog::open(image);
    ASSERT_TRUE(catalog);
    struct Case { const wchar_t* text; const wchar_t* translation; };
    const Case cases[] = {
        {L"Cancel", L"Cancelar"},
        {L"First line\r\nSecond line", L"Primera l\u00EDnea\r\nSegunda l\u00EDnea"},
        {L"First line\nSecond line", L"Primera l\u00EDnea\r\nSegunda l\u00EDnea"},
        {L"Two\nlines", L"Dos\r\nl\u00EDneas"},
        {L"\u00BFS\u00ED?", L"Yes?"},
        {L"Cancel\r", L"Cancelar"},
        {L"Missing", nullptr},
        {L"Untranslated", nullptr},
        {L"", nullptr},      // the header is no translation
        {L"\r", nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(toUtf8(c.text));
        const auto result = lookupText(*catalog, c.text);
        EXPECT_EQ(result.has_value(), c.translation != nullptr);
        if (result && c.translation) EXPECT_EQ(*result, c.translation);
    }
}

}  // namespace
}  // namespace tv
