#include "widgets/core/ColourPalette.h"
#include "settings/core/Settings.h"

#include <gtest/gtest.h>

#include <set>
#include <vector>

using namespace tv;
using namespace tv::palette;

TEST(ColourPalette, EveryEntryIsFoundAtItsOwnPlace) {
    for (int i = 0; i < kCells; ++i) {
        const Box b = cell(i);
        EXPECT_EQ(hitTest(b.centreX(), b.centreY()), (Item{Kind::Colour, i}));
        EXPECT_EQ(hitTest(b.left, b.top), (Item{Kind::Colour, i}));
        EXPECT_EQ(hitTest(b.right - 1, b.bottom - 1), (Item{Kind::Colour, i}));
    }
    EXPECT_EQ(hitTest(automatic().centreX(), automatic().centreY()).kind, Kind::Automatic);
    EXPECT_EQ(hitTest(other().centreX(), other().centreY()).kind, Kind::Other);
    EXPECT_EQ(hitTest(dragBar().centreX(), dragBar().centreY()).kind, Kind::DragBar);
}

TEST(ColourPalette, GapsMarginsAndOutsideChooseNothing) {
    const Box c0 = cell(0);
    EXPECT_EQ(hitTest(c0.right, c0.centreY()).kind, Kind::None) << "gap between two cells";
    EXPECT_EQ(hitTest(c0.centreX(), c0.bottom).kind, Kind::None) << "gap between two rows";
    EXPECT_EQ(hitTest(1, c0.centreY()).kind, Kind::None) << "left margin";
    EXPECT_EQ(hitTest(kWidth - 1, c0.centreY()).kind, Kind::None) << "right margin";
    EXPECT_EQ(hitTest(-1, -1).kind, Kind::None);
    EXPECT_EQ(hitTest(kWidth + 5, kHeight + 5).kind, Kind::None);
}

TEST(ColourPalette, EntriesFitThePaletteAndNeverOverlap) {
    std::vector<Box> boxes = {dragBar(), automatic(), other()};
    for (int i = 0; i < kCells; ++i) boxes.push_back(cell(i));
    for (size_t i = 0; i < boxes.size(); ++i) {
        const Box& a = boxes[i];
        EXPECT_GE(a.left, 0);
        EXPECT_GE(a.top, 0);
        EXPECT_LE(a.right, kWidth);
        EXPECT_LE(a.bottom, kHeight);
        for (size_t j = i + 1; j < boxes.size(); ++j) {
            const Box& b = boxes[j];
            const bool apart = a.right <= b.left || b.right <= a.left || a.bottom <= b.top || b.bottom <= a.top;
            EXPECT_TRUE(apart) << i << " overlaps " << j;
        }
    }
}

TEST(ColourPalette, StandardColoursAreDistinctColoursAndFoundAgain) {
    std::set<std::int32_t> seen;
    for (int i = 0; i < kCells; ++i) {
        const std::int32_t c = kStandardColours[static_cast<size_t>(i)];
        EXPECT_GE(c, 0);
        EXPECT_LE(c, 0xFFFFFF);
        EXPECT_TRUE(seen.insert(c).second) << "duplicate at " << i;
        EXPECT_EQ(itemFor(c), (Item{Kind::Colour, i}));
    }
    EXPECT_EQ(kStandardColours.front(), 0);
    EXPECT_EQ(kStandardColours.back(), 0xFFFFFF);
    EXPECT_EQ(itemFor(kColorAutomatic).kind, Kind::Automatic);
    EXPECT_EQ(itemFor(0x123456).kind, Kind::None);
    EXPECT_EQ(itemFor(-2147483643).kind, Kind::None) << "a system colour value is no palette entry";
}

TEST(ColourPalette, KeysMoveBetweenChoosableEntriesAndStopAtTheEdges) {
    struct Case {
        Item from;
        Move m;
        Item want;
    } cases[] = {
        {{}, Move::Down, {Kind::Automatic, 0}},
        {{Kind::DragBar, 0}, Move::Left, {Kind::Automatic, 0}},
        {{Kind::Automatic, 0}, Move::Down, {Kind::Colour, 0}},
        {{Kind::Automatic, 0}, Move::Up, {Kind::Automatic, 0}},
        {{Kind::Colour, 0}, Move::Up, {Kind::Automatic, 0}},
        {{Kind::Colour, 0}, Move::Left, {Kind::Colour, 0}},
        {{Kind::Colour, 7}, Move::Right, {Kind::Colour, 7}},
        {{Kind::Colour, 7}, Move::Down, {Kind::Colour, 15}},
        {{Kind::Colour, 8}, Move::Left, {Kind::Colour, 8}},
        {{Kind::Colour, 35}, Move::Down, {Kind::Other, 0}},
        {{Kind::Other, 0}, Move::Up, {Kind::Colour, 32}},
        {{Kind::Other, 0}, Move::Down, {Kind::Other, 0}},
    };
    for (const Case& c : cases) EXPECT_EQ(move(c.from, c.m), c.want) << static_cast<int>(c.from.kind) << c.from.index;

    // A snake through the grid reaches every cell.
    std::set<int> visited;
    Item at{Kind::Colour, 0};
    for (int row = 0; row < kRows; ++row) {
        for (int i = 0; i < kColumns; ++i) {
            visited.insert(at.index);
            if (i + 1 < kColumns) at = move(at, row % 2 ? Move::Left : Move::Right);
        }
        if (row + 1 < kRows) at = move(at, Move::Down);
    }
    EXPECT_EQ(visited.size(), static_cast<size_t>(kCells));
}
