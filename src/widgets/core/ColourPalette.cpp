#include "widgets/core/ColourPalette.h"

namespace tv::palette {

namespace {
constexpr std::int32_t rgb(int r, int g, int b) { return r | (g << 8) | (b << 16); }
}  // namespace

const std::array<std::int32_t, kCells> kStandardColours = {
    rgb(0x00, 0x00, 0x00), rgb(0x99, 0x33, 0x00), rgb(0x33, 0x33, 0x00), rgb(0x00, 0x33, 0x00),
    rgb(0x00, 0x33, 0x66), rgb(0x00, 0x00, 0x80), rgb(0x33, 0x33, 0x99), rgb(0x33, 0x33, 0x33),

    rgb(0x80, 0x00, 0x00), rgb(0xFF, 0x66, 0x00), rgb(0x80, 0x80, 0x00), rgb(0x00, 0x80, 0x00),
    rgb(0x00, 0x80, 0x80), rgb(0x00, 0x00, 0xFF), rgb(0x66, 0x66, 0x99), rgb(0x80, 0x80, 0x80),

    rgb(0xFF, 0x00, 0x00), rgb(0xFF, 0x99, 0x00), rgb(0x99, 0xCC, 0x00), rgb(0x33, 0x99, 0x66),
    rgb(0x33, 0xCC, 0xCC), rgb(0x33, 0x66, 0xFF), rgb(0x80, 0x00, 0x80), rgb(0x96, 0x96, 0x96),

    rgb(0xFF, 0x00, 0xFF), rgb(0xFF, 0xCC, 0x00), rgb(0xFF, 0xFF, 0x00), rgb(0x00, 0xFF, 0x00),
    rgb(0x00, 0xFF, 0xFF), rgb(0x00, 0xCC, 0xFF), rgb(0x99, 0x33, 0x66), rgb(0xC0, 0xC0, 0xC0),

    rgb(0xFF, 0x99, 0xCC), rgb(0xFF, 0xCC, 0x99), rgb(0xFF, 0xFF, 0x99), rgb(0xCC, 0xFF, 0xCC),
    rgb(0xCC, 0xFF, 0xFF), rgb(0x99, 0xCC, 0xFF), rgb(0xCC, 0x99, 0xFF), rgb(0xFF, 0xFF, 0xFF),
};

Box dragBar() { return {kMargin, kDragBarTop, kWidth - kMargin, kDragBarTop + kDragBarHeight}; }
Box automatic() { return {kMargin, kAutomaticTop, kWidth - kMargin, kAutomaticTop + kRowHeight}; }
Box other() { return {kMargin, kOtherTop, kWidth - kMargin, kOtherTop + kRowHeight}; }

Box cell(int index) {
    if (index < 0 || index >= kCells) return {};
    const int x = kMargin + (index % kColumns) * kCellPitch, y = kGridTop + (index / kColumns) * kCellPitch;
    return {x, y, x + kCellSize, y + kCellSize};
}

Box boxOf(Item item) {
    switch (item.kind) {
    case Kind::DragBar: return dragBar();
    case Kind::Automatic: return automatic();
    case Kind::Colour: return cell(item.index);
    case Kind::Other: return other();
    case Kind::None: break;
    }
    return {};
}

Item hitTest(int x, int y) {
    if (dragBar().contains(x, y)) return {Kind::DragBar, 0};
    if (automatic().contains(x, y)) return {Kind::Automatic, 0};
    if (other().contains(x, y)) return {Kind::Other, 0};
    if (x < kMargin || y < kGridTop) return {};
    const int col = (x - kMargin) / kCellPitch, row = (y - kGridTop) / kCellPitch;
    if (col >= kColumns || row >= kRows) return {};
    const int i = row * kColumns + col;
    return cell(i).contains(x, y) ? Item{Kind::Colour, i} : Item{};
}

Item itemFor(std::int32_t value) {
    if (value == kColorAutomatic) return {Kind::Automatic, 0};
    for (int i = 0; i < kCells; ++i)
        if (kStandardColours[static_cast<std::size_t>(i)] == value) return {Kind::Colour, i};
    return {};
}

Item move(Item from, Move m) {
    switch (from.kind) {
    case Kind::None:
    case Kind::DragBar: return {Kind::Automatic, 0};
    case Kind::Automatic: return m == Move::Down ? Item{Kind::Colour, 0} : from;
    case Kind::Other:
        return m == Move::Up ? Item{Kind::Colour, (kRows - 1) * kColumns} : from;
    case Kind::Colour: break;
    }
    const int col = from.index % kColumns, row = from.index / kColumns;
    switch (m) {
    case Move::Left: return {Kind::Colour, col > 0 ? from.index - 1 : from.index};
    case Move::Right: return {Kind::Colour, col < kColumns - 1 ? from.index + 1 : from.index};
    case Move::Up: return row > 0 ? Item{Kind::Colour, from.index - kColumns} : Item{Kind::Automatic, 0};
    case Move::Down: return row < kRows - 1 ? Item{Kind::Colour, from.index + kColumns} : Item{Kind::Other, 0};
    }
    return from;
}

}  // namespace tv::palette
