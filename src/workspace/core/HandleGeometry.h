#pragma once
// Geometry of the text window on the workspace: the eight placement handles
// around the frame, the drag of one handle, making a dragged rectangle safe to
// give the real window, the default text-area rectangle and where the panels
// and the help overlay go. Portable; all values are workspace pixels, which are
// screen pixels since the workspace covers the screen from its top-left corner.
#include <array>

namespace tv {

struct Point {
    int x = 0;
    int y = 0;
    friend bool operator==(const Point&, const Point&) = default;
};

// Left, top, width and height, like a control's bounds. Width and height may be
// negative after a drag past the opposite edge.
struct Rect {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    friend bool operator==(const Rect&, const Rect&) = default;
};

inline constexpr int kNodeCount = 8;
inline constexpr int kNodeSize = 5;

// Top-left corners of handles 0..7 (clockwise from the top-left corner) around
// r, each `half` pixels outside its corner or edge (2 at 96 DPI). Handles 3 and
// 7 have their top at the vertical middle, without the -half.
inline constexpr int kNodeOutside = 2;
std::array<Point, kNodeCount> nodePositions(Rect r, int half = kNodeOutside);

// The frame after handle `handle` was dragged to `pointer`: 0, 6, 7 move the
// left edge, 2, 3, 4 the right, 0, 1, 2 the top, 4, 5, 6 the bottom. Raw: no
// minimum size and opposite edges are not kept in order. Other handle numbers
// leave the rectangle unchanged.
Rect dragRect(int handle, Rect current, Point pointer);

// What the text window is actually given: edges put back in order, at least
// kMinTextAreaWidth x kMinTextAreaHeight, no larger than the screen, and at
// least kMinOnScreen pixels of it left on the screen each way so that it can
// still be reached and dragged back.
inline constexpr int kMinTextAreaWidth = 60;
inline constexpr int kMinTextAreaHeight = 60;
inline constexpr int kMinOnScreen = 40;
Rect usableRect(Rect r, Rect screen);

// The text-area rectangle to use at start-up: the stored one when it is usable
// as it is (usableRect leaves it unchanged), otherwise `defaults`, so that a
// rectangle left by another monitor or a broken setting cannot hide the
// writing area.
Rect startupTextArea(Rect stored, Rect screen, Rect defaults);

// The hover panels beside the text window, level with its top: the command
// panel `gap` pixels right of it, the style panel ending `gap` pixels left of
// it (2 at 96 DPI). Not limited to the screen.
inline constexpr int kPanelGap = 2;
inline constexpr int kStylePanelWidth = 33;
Point commandPanelOrigin(Rect text, int gap = kPanelGap);
Point stylePanelOrigin(Rect text, int stylePanelWidth = kStylePanelWidth, int gap = kPanelGap);

// The help overlay: centred horizontally, its bottom `bottomGap` pixels (5 at
// 96 DPI) above the workspace's bottom edge.
inline constexpr int kHelpBottomGap = 5;
Point helpOverlayOrigin(int workspaceWidth, int workspaceHeight, int overlayWidth, int overlayHeight,
                        int bottomGap = kHelpBottomGap);

}  // namespace tv
