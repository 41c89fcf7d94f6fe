#pragma once

#include <chrono>

// Holds that pass by themselves: antivirus scanners, the search indexer and
// backup or sync agents open a file for a moment right after it is written or
// renamed, and a call that meets such a hold fails. The Windows side of the
// files tries those calls again on this schedule before it reports them.
namespace mirvane::os {

// A first try and up to `retries` more, the n-th after a wait of n × `step`.
struct RetrySchedule {
    int retries;
    std::chrono::milliseconds step;
};

// SQLite's schedule for the same holds (winRetryIoerr in its os_win.c): ten
// retries, each waiting 25 ms longer than the one before, 1.375 s in all.
// A hold of 300 ms is outlived by the fifth retry, 375 ms after the first try.
inline constexpr RetrySchedule kTransientHolds{10, std::chrono::milliseconds(25)};

// Calls `attempt` until it succeeds, until `transient` says that its failure
// will not pass by waiting, or until the schedule ends; `wait` sleeps for the
// time it is given. Whether the last attempt succeeded.
template <typename Attempt, typename Transient, typename Wait>
bool retryTransient(Attempt attempt, Transient transient, Wait wait,
                    RetrySchedule schedule = kTransientHolds) {
    for (int retry = 1;; ++retry) {
        if (attempt()) return true;
        if (retry > schedule.retries || !transient()) return false;
        wait(schedule.step * retry);
    }
}

}  // namespace mirvane::os
