#include "workspace/core/HandleGeometry.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>

using namespace tv;

TEST(HandleGeometry, NodePositionsOddSize) {
    const Rect r{100, 50, 201, 101};  // odd sizes: the halves truncate
    const std::array<Point, 8> want{{
        {98, 48}, {198, 48}, {299, 48}, {299, 100}, {299, 149}, {198, 149}, {98, 149}, {98, 100},
    }};
    EXPECT_EQ(nodePositions(r), want);
}

TEST(HandleGeometry, NodePositionsTruncateTowardZeroForNegativeSizes) {
    const Rect r{300, 200, -5, -7};  // halves -2 and -3, not -3 and -4
    const auto p = nodePositions(r);
    EXPECT_EQ(p[1], (Point{296, 198}));
    EXPECT_EQ(p[3], (Point{293, 197}));
    EXPECT_EQ(p[5], (Point{296, 191}));
    EXPECT_EQ(p[7], (Point{298, 197}));
}

TEST(HandleGeometry, DragEachHandle) {
    const Rect cur{100, 100, 200, 100};  // right 300, bottom 200
    const Point ptr{50, 30};
    struct Case {
        int handle;
        Rect want;
    } cases[] = {
        {0, {50, 30, 250, 170}},   // left and top; bottom-right stays
        {1, {100, 30, 200, 170}},  // top only; x ignored
        {2, {100, 30, -50, 170}},  // right and top; right past left
        {3, {100, 100, -50, 100}}, // right only
        {4, {100, 100, -50, -70}}, // right and bottom
        {5, {100, 100, 200, -70}}, // bottom only
        {6, {50, 100, 250, -70}},  // left and bottom
        {7, {50, 100, 250, 100}},  // left only
        {8, cur},
        {-1, cur},
    };
    for (const Case& c : cases) EXPECT_EQ(dragRect(c.handle, cur, ptr), c.want) << c.handle;
}

TEST(HandleGeometry, DraggedHandleFollowsThePointer) {
    // After each move every handle is placed around the new frame: a corner
    // stays centred under the pointer, an edge handle follows across its edge.
    const Rect cur{200, 150, 400, 300};
    const Point ptr{333, 222};
    for (int h = 0; h < 8; ++h) {
        const Point p = nodePositions(dragRect(h, cur, ptr))[h];
        const bool corner = h % 2 == 0;
        if (corner || h == 3 || h == 7) EXPECT_EQ(p.x, ptr.x - 2) << h;
        if (corner || h == 1 || h == 5) EXPECT_EQ(p.y, ptr.y - 2) << h;
    }
}

TEST(HandleGeometry, UsableRect) {
    const Rect screen{0, 0, 1366, 768};
    struct Case {
        const char* what;
        Rect in, want;
    } cases[] = {
        {"ordinary rectangle unchanged", {137, 50, 1092, 674}, {137, 50, 1092, 674}},
        {"negative width swapped", {300, 100, -200, 150}, {100, 100, 200, 150}},
        {"negative height swapped", {300, 400, 200, -300}, {300, 100, 200, 300}},
        {"zero size grows to the minimum", {500, 300, 0, 0}, {500, 300, 60, 60}},
        {"small negative grows after swap", {500, 300, -10, -20}, {490, 280, 60, 60}},
        {"off the right edge pulled back", {1400, 100, 300, 200}, {1326, 100, 300, 200}},
        {"off the left edge pulled back", {-500, 100, 300, 200}, {-260, 100, 300, 200}},
        {"above the top pulled back", {100, -900, 300, 200}, {100, -160, 300, 200}},
        {"below the bottom pulled back", {100, 2000, 300, 200}, {100, 728, 300, 200}},
        {"larger than the screen capped", {0, 0, 5000, 3000}, {0, 0, 1366, 768}},
        {"extreme values", {INT_MAX, INT_MIN, INT_MIN, INT_MAX}, {-1, -728, 1366, 768}},
    };
    for (const Case& c : cases) EXPECT_EQ(usableRect(c.in, screen), c.want) << c.what;
}

TEST(HandleGeometry, UsableRectKeepsAPartOnAnOffsetScreen) {
    const Rect screen{-1920, 100, 1920, 1080};
    for (const Rect in : {Rect{5000, 5000, 300, 200}, Rect{-9000, -9000, -300, -200}}) {
        const Rect r = usableRect(in, screen);
        EXPECT_GE(r.width, kMinTextAreaWidth);
        EXPECT_GE(r.height, kMinTextAreaHeight);
        const int visW = std::min(r.left + r.width, screen.left + screen.width) - std::max(r.left, screen.left);
        const int visH = std::min(r.top + r.height, screen.top + screen.height) - std::max(r.top, screen.top);
        EXPECT_GE(visW, kMinOnScreen);
        EXPECT_GE(visH, kMinOnScreen);
    }
}

TEST(HandleGeometry, StartupTextAreaFallsBackToTheDefaultsWhenUnusable) {
    const Rect screen{0, 0, 1280, 800};
    const Rect defaults{128, 50, 1024, 632};
    struct Case {
        const char* what;
        Rect stored;
        bool kept;
    } cases[] = {
        {"on the screen", {137, 50, 600, 400}, true},
        {"partly off but 40 pixels left each way", {-260, 760, 300, 200}, true},
        {"the whole screen", {0, 0, 1280, 800}, true},
        {"far off the left, small", {-5000, 50, 200, 300}, false},
        {"below the bottom", {100, 900, 300, 200}, false},
        {"one pixel too few on the screen", {-261, 100, 300, 200}, false},
        {"too narrow to use", {100, 100, 10, 300}, false},
        {"inside out", {600, 100, -300, 200}, false},
        {"larger than the screen", {0, 0, 3000, 800}, false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(startupTextArea(c.stored, screen, defaults), c.kept ? c.stored : defaults) << c.what;
}

TEST(HandleGeometry, PanelsBesideTheTextWindow) {
    const Rect text{137, 50, 1092, 674};
    EXPECT_EQ(commandPanelOrigin(text), (Point{1231, 50}));
    EXPECT_EQ(stylePanelOrigin(text), (Point{102, 50}));
    // Flush with the screen edges the panels go off-screen: not limited.
    EXPECT_EQ(stylePanelOrigin(Rect{0, 10, 500, 300}), (Point{-35, 10}));
    EXPECT_EQ(commandPanelOrigin(Rect{866, 10, 500, 300}), (Point{1368, 10}));
}

TEST(HandleGeometry, HelpOverlayOrigin) {
    // The two halves truncate separately: (1366 - 565) / 2 would give 400.
    EXPECT_EQ(helpOverlayOrigin(1366, 768, 565, 121), (Point{401, 642}));
    EXPECT_EQ(helpOverlayOrigin(1024, 600, 563, 119), (Point{231, 476}));
}

TEST(HandleGeometry, ScaledOffsetsAndGaps) {
    // At 144 DPI: handles 8 pixels wide, 3 of them outside; panel gap 3; overlay gap 8.
    const Rect r{100, 50, 201, 101};
    const std::array<Point, 8> want{{
        {97, 47}, {197, 47}, {298, 47}, {298, 100}, {298, 148}, {197, 148}, {97, 148}, {97, 100},
    }};
    EXPECT_EQ(nodePositions(r, 3), want);
    const Rect text{137, 50, 1092, 674};
    EXPECT_EQ(commandPanelOrigin(text, 3), (Point{1232, 50}));
    EXPECT_EQ(stylePanelOrigin(text, 50, 3), (Point{84, 50}));
    EXPECT_EQ(helpOverlayOrigin(1920, 1200, 845, 179, 8), (Point{538, 1013}));
}
