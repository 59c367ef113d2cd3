#pragma once
// How a slider of the configuration window turns a pointer position or a key
// into a value, and where it draws its thumb. The track runs from half a thumb
// in from the left edge to half a thumb in from the right edge, so the thumb
// never leaves the control and both ends of the range can be reached.
namespace tv {

struct SliderScale {
    int min = 0;
    int max = 0;
    int width = 0;       // of the control, in pixels
    int thumbWidth = 0;  // in pixels

    int clamp(int value) const;
    // The value under the pointer at x (control coordinates), rounded to the
    // nearest step; points beyond the ends give min or max.
    int valueAt(int x) const;
    // The x of the thumb's centre for a value (clamped first).
    int thumbCentre(int value) const;
};

enum class SliderKey { Less, More, PageLess, PageMore, First, Last };
// The value after a key: one step, a tenth of the range (at least one step),
// or either end; always within the range.
int sliderStep(const SliderScale& s, int value, SliderKey key);

}  // namespace tv
