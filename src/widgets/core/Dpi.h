#pragma once
// Geometry is written at 96 dots per inch, the system's 100 %; a monitor at
// another density gets it scaled. Portable arithmetic, like the system's
// MulDiv: rounded to the nearest pixel, halves away from zero.
namespace tv {

inline constexpr int kBaseDpi = 96;

struct Dpi {
    int dpi = kBaseDpi;

    // A length or position given at 96 DPI, in pixels at this density.
    int scale(int v) const;
    // The other way: pixels at this density back at 96 DPI.
    int unscale(int v) const;
    bool base() const { return dpi == kBaseDpi; }
};

}  // namespace tv
