#include "rest/core/Countdown.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

using namespace tv;

namespace {

// Ticks until a rest is due; fails after `limit`.
int ticksUntilRest(BreakCountdown& c, int limit = 1000) {
    for (int n = 1; n <= limit; ++n)
        if (c.tick()) return n;
    return -1;
}

}  // namespace

TEST(ProgressBar, PositionHeldWithinRange) {
    ProgressBar b;
    b.setRange(0, 10);
    for (auto [set, want] : {std::pair{5, 5}, {20, 10}, {-3, 0}, {10, 10}, {0, 0}}) {
        b.setPosition(set);
        EXPECT_EQ(b.pos, want) << set;
    }
    b.setPosition(10);
    b.setRange(0, 4);  // narrowing the range pulls the position in
    EXPECT_EQ(b.pos, 4);
}

TEST(BreakCountdown, SixtyMinutes) {
    BreakCountdown c;
    c.setUp(60);
    EXPECT_EQ(c.hint(), L"60 minutes to rest");
    EXPECT_EQ(c.bar(), (ProgressBar{0, 60, 60, true}));
    EXPECT_TRUE(c.labelVisible());

    // The first tick comes right after start.
    EXPECT_FALSE(c.tick());
    EXPECT_EQ(c.minutes(), 59);
    EXPECT_EQ(c.hint(), L"59 minutes to rest break");
    EXPECT_EQ(c.bar().pos, 59);

    // Rest on the 60th tick, i.e. 59 minutes after start; count not decreased.
    EXPECT_EQ(ticksUntilRest(c), 59);
    EXPECT_EQ(c.minutes(), 1);
    EXPECT_EQ(c.hint(), L"1 minutes to rest break");

    c.afterRest(60);
    EXPECT_EQ(c.minutes(), 60);
    EXPECT_EQ(c.hint(), L"60 minutes to rest break");
    EXPECT_EQ(c.bar(), (ProgressBar{0, 60, 60, true}));
    // Then 60 minutes after each rest ends.
    EXPECT_EQ(ticksUntilRest(c), 60);
    c.afterRest(60);
    EXPECT_EQ(ticksUntilRest(c), 60);
}

TEST(BreakCountdown, OneMinuteRestsAtOnceAndAfterEveryMinute) {
    BreakCountdown c;
    c.setUp(1);
    EXPECT_EQ(c.hint(), L"1 minutes to rest");
    for (int round = 0; round < 3; ++round) {
        EXPECT_TRUE(c.tick());
        c.afterRest(1);
        EXPECT_EQ(c.minutes(), 1);
        EXPECT_EQ(c.hint(), L"1 minutes to rest break");
    }
}

TEST(BreakCountdown, ZeroMinutesHidesAndNeverRests) {
    BreakCountdown c;
    c.setUp(0);
    EXPECT_EQ(c.bar(), (ProgressBar{0, 0, 0, true}));
    EXPECT_EQ(ticksUntilRest(c, 500), -1);
    EXPECT_EQ(c.minutes(), -500);
    EXPECT_FALSE(c.bar().visible);
    EXPECT_FALSE(c.labelVisible());
    EXPECT_EQ(c.hint(), L"0 minutes to rest");  // left as the set-up wrote it

    c.setUp(5);  // a set-up with a non-zero setting counts again
    EXPECT_TRUE(c.bar().visible);
    EXPECT_TRUE(c.labelVisible());
    EXPECT_EQ(c.hint(), L"5 minutes to rest");
    EXPECT_EQ(ticksUntilRest(c), 5);
}

TEST(BreakCountdown, TickBeforeFirstSetUpHides) {
    // A tick can come inside a start-up message box, before the set-up.
    BreakCountdown c;
    EXPECT_FALSE(c.tick());
    EXPECT_FALSE(c.bar().visible);
    c.setUp(60);
    EXPECT_TRUE(c.bar().visible);
    EXPECT_TRUE(c.labelVisible());
    EXPECT_EQ(c.minutes(), 60);
}

TEST(BreakCountdown, AdoptedCountIsWhatTheNextTickCountsFrom) {
    // Reading the settings stores the minutes in the workspace counter before
    // any set-up; a tick that comes then (inside a start-up message box)
    // counts down from that value.
    struct Case {
        int stored;
        bool restDue;
        int after;
    } cases[] = {{60, false, 59}, {1, true, 1}, {0, false, -1}, {2, false, 1}};
    for (const Case& k : cases) {
        SCOPED_TRACE(k.stored);
        BreakCountdown c;
        c.adopt(k.stored);
        EXPECT_EQ(c.tick(), k.restDue);
        EXPECT_EQ(c.minutes(), k.after);
        if (!k.restDue) EXPECT_EQ(c.labelVisible(), k.after >= 0);
    }
}

TEST(BreakCountdown, SetUpWhileCountingRestarts) {
    BreakCountdown c;
    c.setUp(60);
    for (int i = 0; i < 10; ++i) c.tick();
    c.setUp(30);
    EXPECT_EQ(c.minutes(), 30);
    EXPECT_EQ(c.hint(), L"30 minutes to rest");
    EXPECT_EQ(c.bar(), (ProgressBar{0, 30, 30, true}));
    EXPECT_EQ(ticksUntilRest(c), 30);
}

TEST(BreakCountdown, AfterRestReadsTheSettingOfThatMoment) {
    struct Case {
        int newSetting;
        int ticksToNextRest;  // -1: none
        bool visibleAfterOneTick;
    } cases[] = {{45, 45, true}, {1, 1, true}, {0, -1, false}, {180, 180, true}};
    for (const Case& k : cases) {
        SCOPED_TRACE(k.newSetting);
        BreakCountdown c;
        c.setUp(2);
        ASSERT_EQ(ticksUntilRest(c), 2);
        c.afterRest(k.newSetting);
        EXPECT_EQ(c.minutes(), k.newSetting);
        EXPECT_EQ(c.bar(), (ProgressBar{0, k.newSetting, k.newSetting, true}));
        EXPECT_EQ(c.hint(), std::to_wstring(k.newSetting) + L" minutes to rest break");
        BreakCountdown probe = c;
        probe.tick();
        EXPECT_EQ(probe.bar().visible, k.visibleAfterOneTick);
        EXPECT_EQ(ticksUntilRest(c, 400), k.ticksToNextRest);
    }
}

TEST(RestCountdown, ClockText) {
    struct Case {
        int s;
        const wchar_t* want;
    } cases[] = {
        {0, L"00:00"},  {1, L"00:01"},  {59, L"00:59"},   {60, L"01:00"},      {239, L"03:59"},
        {600, L"10:00"}, {3599, L"59:59"}, {3600, L"00:00"}, {3661, L"01:01"},
        {-1, L"00:01"}, {-61, L"01:01"}, {INT32_MIN, L"14:08"},  // 2147483648 s = ...:14:08
    };
    for (const Case& c : cases) EXPECT_EQ(restClockText(c.s), c.want) << c.s;
}

TEST(RestCountdown, TwoHundredFortySeconds) {
    RestCountdown r;
    r.show(240);
    EXPECT_EQ(r.bar(), (ProgressBar{0, 240, 0, true}));

    auto t = r.tick();
    EXPECT_FALSE(t.close);
    EXPECT_EQ(t.barPos, 1);
    EXPECT_EQ(t.label, L"Rest break for 03:59");

    struct Probe {
        int tick;
        int bar;
        const wchar_t* label;
    } probes[] = {{60, 60, L"Rest break for 03:00"}, {61, 61, L"Rest break for 02:59"},
                  {180, 180, L"Rest break for 01:00"}, {239, 239, L"Rest break for 00:01"}};
    int n = 1;
    for (const Probe& p : probes) {
        while (n < p.tick) {
            t = r.tick();
            ++n;
            ASSERT_FALSE(t.close) << n;
        }
        EXPECT_EQ(t.barPos, p.bar);
        EXPECT_EQ(t.label, p.label);
    }
    t = r.tick();  // the 240th finds 1 and closes
    EXPECT_TRUE(t.close);
}

TEST(RestCountdown, OneSecondClosesAtFirstTick) {
    RestCountdown r;
    r.show(1);
    EXPECT_TRUE(r.tick().close);
}

TEST(RestCountdown, ZeroSecondsCountsUpAndNeverCloses) {
    RestCountdown r;
    r.show(0);
    for (int n = 1; n <= 4000; ++n) {
        const auto t = r.tick();
        ASSERT_FALSE(t.close) << n;
        ASSERT_EQ(t.barPos, 0) << n;  // held in the empty range
        if (n == 1) EXPECT_EQ(t.label, L"Rest break for 00:01");
        if (n == 2) EXPECT_EQ(t.label, L"Rest break for 00:02");
        if (n == 61) EXPECT_EQ(t.label, L"Rest break for 01:01");
        if (n == 3600) EXPECT_EQ(t.label, L"Rest break for 00:00");
    }
}

TEST(RestCountdown, ShowAgainStartsOver) {
    RestCountdown r;
    r.show(3);
    r.tick();
    r.tick();
    ASSERT_TRUE(r.tick().close);
    r.show(5);
    EXPECT_EQ(r.bar(), (ProgressBar{0, 5, 0, true}));
    const auto t = r.tick();
    EXPECT_EQ(t.barPos, 1);
    EXPECT_EQ(t.label, L"Rest break for 00:04");
}
