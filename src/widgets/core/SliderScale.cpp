#include "widgets/core/SliderScale.h"

#include <cstdint>

namespace tv {

int SliderScale::clamp(int v) const {
    const int lo = min < max ? min : max, hi = min < max ? max : min;
    return v < lo ? lo : v > hi ? hi : v;
}

namespace {
// Pixels the thumb's centre can travel; never below one, so a control too
// narrow for its thumb still answers.
int travel(const SliderScale& s) {
    const int t = s.width - s.thumbWidth;
    return t > 1 ? t : 1;
}
}  // namespace

int SliderScale::valueAt(int x) const {
    if (max <= min) return min;
    const std::int64_t along = static_cast<std::int64_t>(x) - thumbWidth / 2;
    const std::int64_t len = travel(*this);
    if (along <= 0) return min;
    if (along >= len) return max;
    const std::int64_t range = static_cast<std::int64_t>(max) - min;
    return clamp(static_cast<int>(min + (along * range + len / 2) / len));
}

int SliderScale::thumbCentre(int value) const {
    const int left = thumbWidth / 2;
    if (max <= min) return left;
    const std::int64_t range = static_cast<std::int64_t>(max) - min;
    const std::int64_t v = static_cast<std::int64_t>(clamp(value)) - min;
    return left + static_cast<int>((v * travel(*this) + range / 2) / range);
}

int sliderStep(const SliderScale& s, int value, SliderKey key) {
    const std::int64_t range = static_cast<std::int64_t>(s.max) - s.min;
    std::int64_t page = range / 10;
    if (page < 1) page = 1;
    std::int64_t v = s.clamp(value);
    switch (key) {
    case SliderKey::Less: v -= 1; break;
    case SliderKey::More: v += 1; break;
    case SliderKey::PageLess: v -= page; break;
    case SliderKey::PageMore: v += page; break;
    case SliderKey::First: v = s.min; break;
    case SliderKey::Last: v = s.max; break;
    }
    if (v < s.min) v = s.min;
    if (v > s.max) v = s.max;
    return static_cast<int>(v);
}

}  // namespace tv
