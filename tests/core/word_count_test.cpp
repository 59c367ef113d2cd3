#include "text/core/WordCount.h"

#include <gtest/gtest.h>

#include <string>

using namespace tv;

TEST(WordsCount, Table) {
    struct Case {
        const wchar_t* text;
        int words;
    } cases[] = {
        {L"", 0},
        {L" ", 0},
        {L"     ", 0},
        {L"word", 1},
        {L"two words", 2},
        {L"  leading and trailing  ", 3},
        {L"many    spaces   between", 3},
        {L"tab\tjoined", 1},            // a tab is a word character
        {L"one - two", 3},              // a lone dash is a word
        {L"-", 1},
        {L"no\u00A0break", 1},          // NBSP joins
        {L"\u00A0", 1},
        {L"line\r\nbreak", 1},          // line breaks join
        {L"\r", 1},
        {L"end.\rNext one", 2},
        {L"\t \t", 2},
        {L"a b c d e f g", 7},
    };
    for (const Case& c : cases) EXPECT_EQ(WordsCount(c.text), c.words) << '"' << c.text << '"';
}

TEST(WordsCount, EmbeddedNulIsAWordCharacter) {
    // Views carry their own length: a NUL does not end the text.
    const std::wstring text(L"a\0b c", 5);
    EXPECT_EQ(WordsCount(text), 2);
}

TEST(WordsCount, LongAlternation) {
    std::wstring text;
    for (int i = 0; i < 10000; ++i) text += L"x ";
    EXPECT_EQ(WordsCount(text), 10000);
    EXPECT_EQ(WordsCount(std::wstring(100000, L' ')), 0);
}
