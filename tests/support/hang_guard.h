#pragma once
// Ends the test program when a block runs longer than it may: a hang in a walk of a
// damaged file then fails the run at once instead of holding it until CTest's timeout.

#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <string>
#include <thread>

namespace pw::test {

class HangGuard {
public:
    HangGuard(std::string what, std::chrono::seconds limit)
        : what_(std::move(what)), watcher_([this, limit] {
              std::unique_lock lock(mutex_);
              if (!done_.wait_for(lock, limit, [this] { return finished_; })) {
                  std::fprintf(stderr, "HangGuard: %s did not end within %lld s\n", what_.c_str(),
                               static_cast<long long>(limit.count()));
                  std::abort();
              }
          }) {}
    ~HangGuard() {
        {
            std::lock_guard lock(mutex_);
            finished_ = true;
        }
        done_.notify_one();
        watcher_.join();
    }
    HangGuard(const HangGuard&) = delete;
    HangGuard& operator=(const HangGuard&) = delete;

private:
    std::string what_;
    std::mutex mutex_;
    std::condition_variable done_;
    bool finished_ = false;
    std::thread watcher_;
};

}  // namespace pw::test
