#pragma once

#include <condition_variable>
#include <cstddef>
#include <deque>
#include <exception>
#include <functional>
#include <mutex>
#include <thread>
#include <utility>

namespace mirvane::report {

// Hands batches of work to a thread of its own, which handles them one by
// one in the order given while the caller goes on with its work. The caller
// waits when two batches wait already, so memory stays small however much
// work comes. Waking a thread costs far more than handling a small item:
// batches are best large.
template <typename Batch>
class BackgroundQueue {
  public:
    explicit BackgroundQueue(std::function<void(Batch&)> handle) : handle_(std::move(handle)) {
        thread_ = std::thread([this] { run(); });
    }
    // Stops the thread; batches not yet handled are dropped.
    ~BackgroundQueue() {
        {
            const std::lock_guard lock(mutex_);
            stopping_ = true;
        }
        changed_.notify_all();
        thread_.join();
    }
    BackgroundQueue(const BackgroundQueue&) = delete;
    BackgroundQueue& operator=(const BackgroundQueue&) = delete;

    // Hands `batch` over and returns one already handled, cleared, its room
    // kept for the next (or an empty one).
    Batch hand(Batch&& batch) {
        std::unique_lock lock(mutex_);
        changed_.wait(lock, [&] { return waiting_.size() < kWaitingAtMost || error_; });
        if (!error_) {  // after an error drain() reports it, and the rest is dropped
            waiting_.push_back(std::move(batch));
            changed_.notify_all();
        }
        Batch spare = std::move(spare_);
        spare.clear();
        return spare;
    }

    // Returns once every batch handed over has been handled; what handling
    // one threw is thrown here.
    void drain() {
        std::unique_lock lock(mutex_);
        changed_.wait(lock, [&] { return (waiting_.empty() && !busy_) || error_; });
        if (error_) std::rethrow_exception(std::exchange(error_, nullptr));
    }

  private:
    static constexpr std::size_t kWaitingAtMost = 2;

    void run() {
        Batch batch;
        for (;;) {
            {
                std::unique_lock lock(mutex_);
                if (busy_) {
                    busy_ = false;
                    spare_ = std::move(batch);
                    changed_.notify_all();
                }
                changed_.wait(lock, [&] { return stopping_ || !waiting_.empty(); });
                if (stopping_) return;
                batch = std::move(waiting_.front());
                waiting_.pop_front();
                busy_ = true;
                changed_.notify_all();
            }
            try {
                handle_(batch);
            } catch (...) {
                const std::lock_guard lock(mutex_);
                error_ = std::current_exception();
                waiting_.clear();
            }
        }
    }

    std::function<void(Batch&)> handle_;
    std::mutex mutex_;  // guards what follows
    std::condition_variable changed_;
    std::deque<Batch> waiting_;
    Batch spare_;
    bool busy_ = false;  // a batch is being handled
    std::exception_ptr error_;
    // A flag, not std::jthread's stop token: in the Windows build (mingw-w64,
    // GCC 12) a queue stopped that way once hung at its end.
    bool stopping_ = false;
    std::thread thread_;  // last: started once the rest is there
};

}  // namespace mirvane::report
