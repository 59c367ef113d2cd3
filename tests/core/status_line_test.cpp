#include "text/core/StatusLine.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace tv;

namespace {

// Feeds display lines from memory and rejects queries outside the document.
struct Lines {
    std::vector<std::wstring> lines;
    std::wstring_view operator()(int i) const {
        EXPECT_GE(i, 0);
        EXPECT_LT(i, static_cast<int>(lines.size()));
        if (i < 0 || i >= static_cast<int>(lines.size())) return {};
        return lines[static_cast<std::size_t>(i)];
    }
    int total() const { return DocumentWordsCount(static_cast<int>(lines.size()), *this); }
};

}  // namespace

TEST(StatusLine, PanelTexts) {
    EXPECT_EQ(LinePanelText(3, 12, 17), L"3/12 : 17");
    EXPECT_EQ(LinePanelText(1, 1, 1), L"1/1 : 1");
    EXPECT_EQ(LinePanelText(1000, 123456, 4097), L"1000/123456 : 4097");  // no grouping
    EXPECT_EQ(WordsPanelText(0), L"Words: 0");
    EXPECT_EQ(WordsPanelText(250), L"Words: 250");
    EXPECT_EQ(WordsPanelText(1234567), L"Words: 1234567");
    EXPECT_EQ(FileNamePanelText(L"C:\\Texts\\chapter1.rtf"), L"File name: C:\\Texts\\chapter1.rtf");
    EXPECT_EQ(FileNamePanelText(L""), L"File name: ");
}

TEST(StatusLine, CaretLineColumn) {
    struct Case {
        int selStart, lineOfStart, startOfLine;
        int linea, columna;
    } cases[] = {
        {0, 0, 0, 1, 1},      // empty document
        {5, 0, 0, 1, 6},      // after the last character of a 5-character line
        {6, 1, 6, 2, 1},      // start of the second line
        {9, 1, 6, 2, 4},
        {250, 11, 234, 12, 17},
    };
    for (const Case& c : cases) {
        const LineColumn lc = CaretLineColumn(c.selStart, c.lineOfStart, c.startOfLine);
        EXPECT_EQ(lc.linea, c.linea) << c.selStart;
        EXPECT_EQ(lc.columna, c.columna) << c.selStart;
    }
}

TEST(StatusLine, EmptyDocument) {
    // An empty editor reports one empty line at position 0.
    Lines doc{{L""}};
    EXPECT_EQ(doc.total(), 0);
    const LineColumn lc = CaretLineColumn(0, 0, 0);
    EXPECT_EQ(LinePanelText(lc.linea, 1, lc.columna), L"1/1 : 1");
    EXPECT_EQ(WordsPanelText(doc.total()), L"Words: 0");
    EXPECT_EQ(DocumentWordsCount(0, doc), 0);
}

TEST(StatusLine, CountedLineTextDropsOneTrailingBreak) {
    struct Case {
        const wchar_t* line;
        const wchar_t* counted;
    } cases[] = {
        {L"abc\r\n", L"abc"}, {L"abc\r", L"abc"},   {L"abc", L"abc"},
        {L"abc\n", L"abc\n"}, {L"\r\n", L""},       {L"\r", L""},
        {L"a\r\r", L"a\r"},   {L"a\rb", L"a\rb"},   {L"", L""},
    };
    for (const Case& c : cases) EXPECT_EQ(CountedLineText(c.line), std::wstring_view(c.counted));
}

TEST(StatusLine, DocumentTotals) {
    struct Case {
        const char* name;
        std::vector<std::wstring> lines;
        int words;
    } cases[] = {
        {"one line", {L"hello world"}, 2},
        {"paragraph breaks do not join", {L"first\r", L"second\r", L"third"}, 3},
        {"CR LF lines", {L"a b\r\n", L"c\r\n", L""}, 3},
        {"wrapped word counts twice", {L"averyveryl", L"ongword"}, 2},
        {"break glued to the word is not a word", {L"word \r", L"next"}, 2},
        {"spaces only", {L"     \r", L"   "}, 0},
        {"tab joins, dash stands alone", {L"tab\tjoined - x\r"}, 3},
        {"last empty line adds nothing", {L"one two\r", L""}, 2},
        {"empty lines between", {L"a\r", L"\r", L"\r", L"b"}, 2},
    };
    for (const Case& c : cases) {
        Lines doc{c.lines};
        EXPECT_EQ(doc.total(), c.words) << c.name;
    }
}

TEST(StatusLine, LongLinesAreCountedOnTheirFirst4096Characters) {
    const std::size_t cap = kMaxCountedLineChars;
    ASSERT_EQ(cap, 4096u);
    auto withTail = [](std::size_t prefix, wchar_t fill, const std::wstring& tail) {
        return std::wstring(prefix, fill) + tail;
    };
    struct Case {
        const char* name;
        std::wstring line;
        int words;
    } cases[] = {
        // "x…x abcdef": the second word starts at 4095 and is cut to "a".
        {"word straddling the cap", withTail(cap - 2, L'x', L" abcdef"), 2},
        // The second word would start exactly at 4096: left out.
        {"word just past the cap", withTail(cap - 1, L'x', L" abcdef"), 1},
        {"spaces up to the cap", withTail(cap, L' ', L"word more"), 0},
        {"last counted character starts a word", withTail(cap - 1, L' ', L"w"), 1},
        {"line of exactly 4096 plus break", withTail(cap - 1, L' ', L"w\r"), 1},
        // The break is dropped before the cut, so its CR never becomes a word.
        {"spaces then CR LF across the cap", withTail(cap - 1, L' ', L"\r\n"), 0},
        {"many short words over the cap", [] {
             std::wstring s;
             while (s.size() < 10000) s += L"ab ";
             return s;
         }(), 1366},  // 4096 = 1365 * 3 + 1: 1365 whole words and an "a"
    };
    for (const Case& c : cases) {
        Lines doc{{c.line, L"after"}};
        EXPECT_EQ(doc.total(), c.words + 1) << c.name;
    }
}
