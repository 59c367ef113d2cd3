#include "sound/core/Fade.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

using namespace tv;

TEST(Fade, ClampVolume) {
    for (auto [in, want] : {std::pair<long long, int>{-1, 0}, {0, 0}, {500, 500}, {1000, 1000},
                            {1001, 1000}, {LLONG_MIN, 0}, {LLONG_MAX, 1000}})
        EXPECT_EQ(clampVolume(in), want) << in;
}

TEST(Fade, ScheduleFromEachStart) {
    struct Case {
        int start;
        int first, last;
    } cases[] = {
        {500, 500, 0},       // the initial level reaches silence on the last step
        {1000, 1000, 500},
        {0, 0, 0},
        {300, 300, 0},
        {5000, 1000, 1000},  // out of range: held at the top
        {-50, 0, 0},
        {INT_MAX, 1000, 1000},
        {INT_MIN, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.start);
        const std::vector<int> s = fadeSchedule(c.start);
        ASSERT_EQ(s.size(), 251u);
        EXPECT_EQ(s.front(), c.first);
        EXPECT_EQ(s.back(), c.last);
        for (std::size_t i = 0; i < s.size(); ++i) {
            EXPECT_GE(s[i], 0);
            EXPECT_LE(s[i], 1000);
            if (i > 0) {
                EXPECT_LE(s[i], s[i - 1]);
                EXPECT_GE(s[i], s[i - 1] - 2);
            }
        }
    }
}

TEST(Fade, StepsDownByTwo) {
    EXPECT_EQ(fadeLevel(500, 1), 498);
    EXPECT_EQ(fadeLevel(500, 125), 250);
    EXPECT_EQ(fadeLevel(301, 150), 1);
    EXPECT_EQ(fadeLevel(301, 151), 0);
}

TEST(Fade, RunsLevelsOnlyWithSoundAndAlwaysPauses) {
    for (bool on : {true, false}) {
        SCOPED_TRACE(on);
        std::string trace;  // 'L' level applied, 'P' pause
        std::vector<int> levels;
        int pausedMs = 0;
        fadeOut(
            500, on, [&](int v) { trace += 'L'; levels.push_back(v); },
            [&](int ms) { trace += 'P'; pausedMs += ms; });
        EXPECT_EQ(pausedMs, 251);
        std::string want;
        for (int i = 0; i < 251; ++i) want += on ? "LP" : "P";
        EXPECT_EQ(trace, want);
        if (on) EXPECT_EQ(levels, fadeSchedule(500));
    }
}
