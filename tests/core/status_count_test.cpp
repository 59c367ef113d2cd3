#include "text/core/StatusCount.h"

#include "../support/FakeEditor.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

using namespace tv;

namespace {

// A fixed run of numbers below n, for edits at places nobody chose.
struct Dice {
    std::uint32_t seed;
    int operator()(int n) {
        seed = seed * 1664525u + 1013904223u;
        return static_cast<int>((seed >> 8) % static_cast<std::uint32_t>(n));
    }
};

std::wstring prose(int words, std::uint32_t seed, int paragraphEvery = 30) {
    std::wstring s;
    for (int i = 1; i <= words; ++i) {
        seed = seed * 1664525u + 1013904223u;
        s.append(1 + (seed >> 24) % 9, static_cast<wchar_t>(L'a' + (seed >> 16) % 26));
        s += i % paragraphEvery == 0 ? L'\r' : L' ';
    }
    return s;
}

void expectAgrees(FakeEditor& ed, StatusCounter& counter, int sel, const std::string& what) {
    const StatusFigures want = ReferenceStatusFigures(ed, sel);
    const StatusFigures got = counter.refresh(ed, sel);
    EXPECT_EQ(got.linea, want.linea) << what;
    EXPECT_EQ(got.columna, want.columna) << what;
    EXPECT_EQ(got.lineas, want.lineas) << what;
    EXPECT_EQ(got.palabras, want.palabras) << what;
    EXPECT_FALSE(counter.usedReference()) << what;
}

}  // namespace

TEST(StatusCount, AgreesWithLineByLineOnAwkwardDocuments) {
    const std::wstring longWord(95, L'x');
    struct Case {
        const char* name;
        std::wstring text;
        int width;
    } cases[] = {
        {"empty", L"", 40},
        {"one word", L"hello", 40},
        {"word wider than the window splits and counts per line", L"ab " + longWord + L" cd", 40},
        {"tabs join words, a line may break after one", L"one\ttwo\tthree\tfour\tfive\tsix\tseven\teight", 12},
        {"hyphen breaks", L"well-known long-standing self-evident", 10},
        {"line over 4096 characters is cut", std::wstring(5000, L'a') + L" b " + std::wstring(3000, L'c'), 100000},
        {"paragraph of 4096+ characters wrapped", prose(1500, 7, 100000), 5000},
        {"trailing paragraph break", L"alpha beta\r", 40},
        {"only paragraph breaks", L"\r\r\r", 40},
        {"spaces only", L"      \r   ", 3},
        {"soft line breaks", L"first\vsecond line\vthird", 40},
        {"soft breaks in a row", L"a\v\v\vb c d\v", 3},
        {"lone dash and spaces at line ends", L"a - b    c  - d     e", 4},
        {"prose", prose(600, 3), 37},
    };
    for (const Case& c : cases)
        for (const bool leftOut : {false, true}) {
            // Whether a soft break counts in a line's length differs between controls.
            FakeEditor ed(c.text, c.width);
            ed.lengthLeavesOutSoftBreak = leftOut;
            StatusCounter counter;
            const std::string how = leftOut ? " (soft break left out)" : "";
            for (int sel : {0, ed.length() / 3, ed.length() / 2, ed.length()})
                expectAgrees(ed, counter, sel, std::string(c.name) + how + " at " + std::to_string(sel));
        }
}

TEST(StatusCount, FollowsEditsResizesAndFormatChanges) {
    // A fixed walk of edits, each told to the counter as the editor's owner
    // tells it, checked against the line-by-line count after every step.
    FakeEditor ed(prose(900, 11, 25) + L"\r", 45);
    StatusCounter counter;
    expectAgrees(ed, counter, 0, "start");
    Dice rnd{99u};
    const std::wstring pieces[] = {L"x", L" ", L"\r", L"\t", L"-", std::wstring(70, L'w'), L"new words here ",
                                   L"\r\r", L"\v", L""};
    for (int step = 0; step < 400; ++step) {
        const int len = ed.length();
        const int kind = rnd(10);
        std::string what = "step " + std::to_string(step);
        if (kind < 6) {  // typing, deleting, pasting over a selection
            const int from = rnd(len + 1);
            const int to = std::min(len, from + (kind < 3 ? 0 : rnd(kind == 5 ? 300 : 4)));
            const std::wstring& with = pieces[rnd(10)];
            ed.replace(from, to, with);
            counter.textReplaced(from, to, from + static_cast<int>(with.size()));
            what += " replace";
        } else if (kind == 6) {  // a format change: wider characters, a new wrap
            const int from = rnd(len + 1), to = std::min(len, from + rnd(200));
            for (int i = from; i < to; ++i) ed.widths[i] = 1 + rnd(3);
            ed.wrap();
            counter.formatChanged(from, to);
            what += " format";
        } else if (kind == 7) {  // the window resized
            ed.width = 8 + rnd(80);
            ed.wrap();
            counter.layoutChanged();
            what += " resize";
        } else if (kind == 8) {  // an undo somewhere
            const int from = rnd(len + 1);
            ed.replace(from, std::min(len, from + rnd(30)), L"undone ");
            counter.textChangedSomewhere();
            what += " unknown";
        } else {  // several edits between two refreshes
            for (int k = 0; k < 3; ++k) {
                const int l = ed.length(), from = rnd(l + 1), to = std::min(l, from + rnd(5));
                const std::wstring& with = pieces[rnd(10)];
                ed.replace(from, to, with);
                counter.textReplaced(from, to, from + static_cast<int>(with.size()));
            }
            what += " batch";
        }
        expectAgrees(ed, counter, rnd(ed.length() + 1), what);
        if (HasFailure()) break;
    }
}

TEST(StatusCount, AnEditCostsItsParagraphNotTheDocument) {
    FakeEditor ed(prose(20000, 5, 40), 60);  // 500 paragraphs
    StatusCounter counter;
    counter.refresh(ed, 0);
    const int mid = ed.length() / 2;
    for (int key = 0; key < 3; ++key) {
        ed.replace(mid + key, mid + key, L"z");
        counter.textReplaced(mid + key, mid + key, mid + key + 1);
        expectAgrees(ed, counter, mid + key + 1, "typed");
    }
    // One more key, counted alone: the counter reads the paragraphs around
    // the edit and asks about their lines only.
    ed.replace(mid, mid, L"q");
    counter.textReplaced(mid, mid, mid + 1);
    ed.lineQueries = 0;
    ed.charsRead = 0;
    counter.refresh(ed, mid + 1);
    EXPECT_LE(counter.paragraphsLaidOut(), 3);
    EXPECT_LE(ed.lineQueries, 3 * 10);
    EXPECT_LE(ed.charsRead, 3 * 400);
}

TEST(StatusCount, AWrapChangeNobodyToldOfIsStillCounted) {
    // A format change that arrives without notice and changes the number of
    // lines: the counter sees the line total disagree and looks again.
    FakeEditor ed(std::wstring(30, L'a') + L" b c d e f g h i j k l m", 40);
    StatusCounter counter;
    expectAgrees(ed, counter, 0, "before");
    const int before = ed.lineCount();
    for (int i = 0; i < 30; ++i) ed.widths[i] = 3;
    ed.wrap();
    ASSERT_NE(ed.lineCount(), before);
    expectAgrees(ed, counter, 0, "after");
}

TEST(StatusCount, ACountInStepsStopsWhenToldAndEndsRightThroughEdits) {
    // A long count is done a little at a time while the user goes on typing:
    // each step stops when told, the next goes on where it stopped, and the
    // figures at the end are those of the text as it is then.
    FakeEditor ed(prose(20000, 21, 40) + L"\r", 60);  // 500 paragraphs and an empty last line
    StatusCounter counter;
    Dice rnd{5u};
    int calls = 0;
    std::optional<StatusFigures> got;
    while (!got) {
        ASSERT_LT(++calls, 2000);
        // Time for twenty answers from the editor per step: a step may
        // finish the paragraph it is in, no more.
        const int before = ed.lineQueries;
        auto answers = [&] { return ed.lineQueries - before; };
        got = counter.refreshWithin(ed, 0, [&] { return answers() < 20; });
        EXPECT_LE(answers(), 20 + 10) << "step " << calls;
        if (got || calls % 7 != 3) continue;
        // Meanwhile a key typed somewhere, and once the window resized.
        const int at = rnd(ed.length() + 1);
        ed.replace(at, at, L"w ");
        counter.textReplaced(at, at, at + 2);
        if (calls == 38) {
            ed.width = 50 + rnd(20);
            ed.wrap();
            counter.layoutChanged();
        }
    }
    EXPECT_GT(calls, 50);
    EXPECT_EQ(*got, ReferenceStatusFigures(ed, 0));
    EXPECT_FALSE(counter.usedReference());
    const int mid = ed.length() / 2;
    ed.replace(mid, mid, L"q");
    counter.textReplaced(mid, mid, mid + 1);
    expectAgrees(ed, counter, mid, "then one more key");
}

TEST(StatusCount, AWholeReadGoesInPiecesAndKeepsTheEditsMadeMeanwhile) {
    // The first count reads the whole text a piece at a time; keys typed
    // before or after the part already read, and a change nobody can place,
    // all end up in the figures.
    FakeEditor ed(prose(20000, 33, 40), 60);
    StatusCounter counter(1000);
    Dice rnd{17u};
    int calls = 0;
    std::optional<StatusFigures> got;
    while (!got) {
        ASSERT_LT(++calls, 5000);
        const long before = ed.charsRead;
        int left = 3;  // three pieces of text, or three paragraphs laid out
        got = counter.refreshWithin(ed, 0, [&] { return --left > 0; });
        // Three pieces, and the two characters typed within what was read.
        EXPECT_LE(ed.charsRead - before, 3 * 1000 + 2) << "step " << calls;
        if (got || calls % 5 != 2) continue;
        const int at = calls % 10 == 2 ? rnd(ed.length() / 4 + 1) : ed.length() - rnd(ed.length() / 4 + 1);
        ed.replace(at, at, L"w ");
        if (calls == 27) {
            counter.textChangedSomewhere();
        } else {
            counter.textReplaced(at, at, at + 2);
        }
    }
    EXPECT_GT(calls, 100);
    EXPECT_EQ(*got, ReferenceStatusFigures(ed, 0));
    EXPECT_FALSE(counter.usedReference());
}
