#pragma once
// The drop-down palette of the colour buttons: what it offers, where each
// entry lies and which entry a point or a key leads to. All in the palette's
// client pixels.
#include <array>
#include <cstdint>

namespace tv {
// The colour value "Automatic": the system colour the use stands for.
inline constexpr std::int32_t kColorAutomatic = 536870912;  // 0x20000000
}  // namespace tv

namespace tv::palette {

inline constexpr int kColumns = 8;
inline constexpr int kRows = 5;
inline constexpr int kCells = kColumns * kRows;
// 0x00BBGGRR, row by row: dark shades first, white last.
extern const std::array<std::int32_t, kCells> kStandardColours;

inline constexpr int kMargin = 5;
inline constexpr int kCellSize = 18;
inline constexpr int kCellPitch = 20;  // cell plus the gap to the next
inline constexpr int kDragBarTop = 3, kDragBarHeight = 7;
inline constexpr int kAutomaticTop = 14, kRowHeight = 22;
inline constexpr int kGridTop = 40;
inline constexpr int kWidth = kMargin * 2 + kColumns * kCellPitch - (kCellPitch - kCellSize);
inline constexpr int kOtherTop = kGridTop + kRows * kCellPitch + 2;
inline constexpr int kHeight = kOtherTop + kRowHeight + kMargin;

struct Box {
    int left = 0, top = 0, right = 0, bottom = 0;  // right and bottom exclusive
    bool contains(int x, int y) const { return x >= left && x < right && y >= top && y < bottom; }
    int centreX() const { return (left + right) / 2; }
    int centreY() const { return (top + bottom) / 2; }
};

enum class Kind { None, DragBar, Automatic, Colour, Other };
struct Item {
    Kind kind = Kind::None;
    int index = 0;  // the cell, for Kind::Colour
    friend bool operator==(const Item&, const Item&) = default;
};

Box dragBar();
Box automatic();
Box cell(int index);
Box other();
Box boxOf(Item item);

// The entry under a point; gaps between cells and the margins are None.
Item hitTest(int x, int y);
// The entry that shows a colour value: the "Automatic" value, a standard
// colour, or None for any other value.
Item itemFor(std::int32_t value);

enum class Move { Left, Right, Up, Down };
// Keyboard movement between the choosable entries (Automatic, the cells,
// Other); it stops at the edges. From None it starts at Automatic.
Item move(Item from, Move m);

}  // namespace tv::palette
