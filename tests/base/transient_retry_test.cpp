#include "base/transient_retry.h"

#include <gtest/gtest.h>

namespace mirvane::os {
namespace {

using std::chrono::milliseconds;
using namespace std::chrono_literals;

TEST(RetryTransient, TriesAgainWhileTheFailureMayPassUntilTheScheduleEnds) {
    struct Case {
        const char* name;
        int failures;  // before the first success
        bool transient;
        bool succeeds;
        int attempts;
        milliseconds waited;
    } cases[] = {
        {"no hold", 0, true, true, 1, 0ms},
        {"a hold of 300 ms", 5, true, true, 6, 375ms},
        {"a hold that outlasts the schedule", 1000, true, false, 11, 1375ms},
        {"a refusal for good", 1000, false, false, 1, 0ms},
    };
    for (const Case& c : cases) {
        int attempts = 0;
        milliseconds waited{0};
        const bool succeeded =
            retryTransient([&] { return ++attempts > c.failures; }, [&] { return c.transient; },
                           [&](milliseconds wait) { waited += wait; });
        EXPECT_EQ(succeeded, c.succeeds) << c.name;
        EXPECT_EQ(attempts, c.attempts) << c.name;
        EXPECT_EQ(waited, c.waited) << c.name;
    }
}

}  // namespace
}  // namespace mirvane::os
