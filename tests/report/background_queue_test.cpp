#include "report/background_queue.h"

#include <stdexcept>
#include <string>

#include <gtest/gtest.h>

namespace mirvane::report {
namespace {

// Batches are handled in the order handed over, each whole, and a batch
// handed back is one already handled, cleared.
TEST(BackgroundQueue, HandlesEveryBatchInOrder) {
    std::string handled;
    BackgroundQueue<std::string> queue([&](std::string& batch) { handled += batch + ";"; });
    std::string expected;
    for (int i = 0; i < 50; ++i) {
        const std::string batch(static_cast<std::size_t>(i % 7) + 1,
                                static_cast<char>('a' + i % 26));
        expected += batch + ";";
        EXPECT_TRUE(queue.hand(std::string(batch)).empty());
    }
    queue.drain();
    EXPECT_EQ(handled, expected);
}

// What handling threw reaches the caller once, at drain(); the batches after
// it are dropped, and the queue can still be drained and destroyed.
TEST(BackgroundQueue, AFailureReachesDrainAndDropsTheRest) {
    int handled = 0;
    BackgroundQueue<std::string> queue([&](std::string& batch) {
        if (batch == "falla") throw std::runtime_error("No se pudo");
        ++handled;
    });
    for (const char* batch : {"1", "2", "falla", "3", "4", "5"}) queue.hand(batch);
    EXPECT_THROW(
        {
            try {
                queue.drain();
            } catch (const std::runtime_error& error) {
                EXPECT_STREQ(error.what(), "No se pudo");
                throw;
            }
        },
        std::runtime_error);
    EXPECT_EQ(handled, 2);
    EXPECT_NO_THROW(queue.drain());
}

// A queue given up on with batches still waiting (a build that failed)
// stops without handling them all and without hanging.
TEST(BackgroundQueue, StopsWithBatchesWaiting) {
    int handled = 0;
    {
        BackgroundQueue<std::string> queue([&](std::string&) { ++handled; });
        for (int i = 0; i < 10; ++i) queue.hand("x");
    }
    EXPECT_LE(handled, 10);
}

}  // namespace
}  // namespace mirvane::report
