#include "text/core/ReplaceRetry.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace tv;

namespace {
// Plays a scripted sequence of answers and records what was called.
struct Script {
    std::vector<unsigned long> replaceAnswers, moveAnswers;
    std::string calls;
    int paused = 0;
    unsigned long run() {
        std::size_t r = 0, m = 0;
        ReplaceSteps steps{
            [&] {
                calls += 'R';
                return r < replaceAnswers.size() ? replaceAnswers[r++] : 0ul;
            },
            [&] {
                calls += 'M';
                return m < moveAnswers.size() ? moveAnswers[m++] : 0ul;
            },
            [&](int ms) {
                calls += 'p';
                paused += ms;
            }};
        return ReplaceWithRetries(steps);
    }
};
}  // namespace

TEST(ReplaceRetry, FollowsEachAnswer) {
    const std::vector<unsigned long> held(kReplaceTries, syserr::kSharingViolation);
    struct Case {
        const char* what;
        std::vector<unsigned long> replace, move;
        unsigned long result;
        std::string calls;
    } cases[] = {
        {"done at once", {0}, {}, 0, "R"},
        {"held for a moment", {syserr::kSharingViolation, syserr::kUnableToRemoveReplaced, 0}, {}, 0, "RpRpR"},
        {"scanned", {syserr::kAccessDenied, syserr::kLockViolation, 0}, {}, 0, "RpRpR"},
        {"held throughout", held, {}, syserr::kSharingViolation, "RpRpRpRpRpRpRpRpRpR"},
        {"a lasting error is not retried", {2 /* file not found */}, {}, 2, "R"},
        {"no replace on this share", {syserr::kNotSupported}, {0}, 0, "RM"},
        {"no replace, the move held a moment", {syserr::kInvalidFunction}, {syserr::kSharingViolation, 0}, 0,
         "RMpM"},
        {"no replace, the move fails", {syserr::kNotSupported}, {3 /* path not found */}, 3, "RM"},
        {"held, then no replace", {syserr::kSharingViolation, syserr::kNotSupported}, {0}, 0, "RpRM"},
    };
    for (const Case& c : cases) {
        Script s{c.replace, c.move};
        EXPECT_EQ(s.run(), c.result) << c.what;
        EXPECT_EQ(s.calls, c.calls) << c.what;
    }
}

TEST(ReplaceRetry, GivesUpWithinAboutASecond) {
    Script s{std::vector<unsigned long>(100, syserr::kUnableToRemoveReplaced)};
    EXPECT_EQ(s.run(), syserr::kUnableToRemoveReplaced);
    EXPECT_GE(s.paused, 500);
    EXPECT_LE(s.paused, 1000);
}
