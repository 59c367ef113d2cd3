#include "widgets/core/SliderScale.h"

#include <gtest/gtest.h>

using namespace tv;

namespace {
// The configuration window's sliders: width, range.
const SliderScale kSliders[] = {
    {0, 255, 186, 11},  // transparenciaPrincipal
    {0, 255, 296, 11},  // transparenciaAreaTexto
    {0, 180, 348, 11},  // iMinutos
    {0, 600, 348, 11},  // iSegundos: more values than pixels
};
}  // namespace

TEST(SliderScale, BothEndsAreReachableAndBeyondThemIsClamped) {
    for (const SliderScale& s : kSliders) {
        EXPECT_EQ(s.valueAt(-50), s.min);
        EXPECT_EQ(s.valueAt(0), s.min);
        EXPECT_EQ(s.valueAt(s.thumbWidth / 2), s.min);
        EXPECT_EQ(s.valueAt(s.width - s.thumbWidth / 2 - 1), s.max);
        EXPECT_EQ(s.valueAt(s.width), s.max);
        EXPECT_EQ(s.valueAt(100000), s.max);
    }
}

TEST(SliderScale, ValuesGrowWithThePointerAndMatchTheThumb) {
    for (const SliderScale& s : kSliders) {
        int last = s.min;
        for (int x = 0; x <= s.width; ++x) {
            const int v = s.valueAt(x);
            EXPECT_GE(v, last) << "x " << x;
            last = v;
        }
        const int travel = s.width - s.thumbWidth;
        const int range = s.max - s.min;
        for (int v = s.min; v <= s.max; ++v) {
            const int x = s.thumbCentre(v);
            EXPECT_GE(x, s.thumbWidth / 2);
            EXPECT_LE(x, s.width - s.thumbWidth / 2);
            // Pressing on the thumb's centre gives its value back, as near as the pixels allow.
            const int back = s.valueAt(x);
            if (travel >= range)
                EXPECT_EQ(back, v) << "width " << s.width;
            else
                EXPECT_LE(std::abs(back - v), (range + travel - 1) / travel) << "width " << s.width << " v " << v;
        }
    }
}

TEST(SliderScale, DegenerateControlsStillAnswer) {
    const SliderScale narrow{0, 255, 5, 11};
    EXPECT_EQ(narrow.valueAt(-1), 0);
    EXPECT_EQ(narrow.valueAt(100), 255);
    const SliderScale single{7, 7, 100, 11};
    EXPECT_EQ(single.valueAt(50), 7);
    EXPECT_EQ(single.thumbCentre(7), 5);
    EXPECT_EQ(single.clamp(-3), 7);
}

TEST(SliderScale, KeysStepWithinTheRange) {
    const SliderScale s{0, 255, 186, 11};
    struct Case {
        int from;
        SliderKey key;
        int want;
    } cases[] = {
        {200, SliderKey::Less, 199}, {200, SliderKey::More, 201},   {0, SliderKey::Less, 0},
        {255, SliderKey::More, 255}, {200, SliderKey::PageMore, 225}, {240, SliderKey::PageMore, 255},
        {10, SliderKey::PageLess, 0}, {100, SliderKey::First, 0},    {100, SliderKey::Last, 255},
        {999, SliderKey::Less, 254},  // an out-of-range start is clamped first
    };
    for (const Case& c : cases) EXPECT_EQ(sliderStep(s, c.from, c.key), c.want) << c.from;
    const SliderScale small{0, 5, 100, 11};
    EXPECT_EQ(sliderStep(small, 2, SliderKey::PageMore), 3) << "a page is at least one step";
}
