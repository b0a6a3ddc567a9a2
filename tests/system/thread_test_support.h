#pragma once
// Helpers for tests that sequence threads: a watchdog that turns a hang into a failure, and
// a bounded wait for a condition that another thread makes true.
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <thread>

namespace TestSupport {

// Ends the test program with a message when the scope is not left within `limit`: a
// deadlock fails the run instead of hanging it.
class Watchdog {
 public:
  explicit Watchdog(const char* what, std::chrono::seconds limit = std::chrono::seconds(60))
      : thread_([this, what, limit] {
          std::unique_lock lock(mutex_);
          if (!condition_.wait_for(lock, limit, [this] { return finished_; })) {
            std::fprintf(stderr, "watchdog: '%s' still blocked after %lld s\n", what,
                         static_cast<long long>(limit.count()));
            std::abort();
          }
        }) {}
  Watchdog(const Watchdog&) = delete;
  Watchdog& operator=(const Watchdog&) = delete;
  ~Watchdog() {
    {
      std::lock_guard lock(mutex_);
      finished_ = true;
    }
    condition_.notify_all();
    thread_.join();
  }

 private:
  std::mutex mutex_;
  std::condition_variable condition_;
  bool finished_ = false;
  std::thread thread_;
};

// Polls `condition` until it holds; false when `limit` passed first.
template <class Condition>
bool waitUntil(Condition condition, std::chrono::milliseconds limit = std::chrono::seconds(30)) {
  const auto deadline = std::chrono::steady_clock::now() + limit;
  while (!condition()) {
    if (std::chrono::steady_clock::now() >= deadline) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  return true;
}

// A one-shot gate: threads wait until it opens.
class Gate {
 public:
  void open() {
    {
      std::lock_guard lock(mutex_);
      open_ = true;
    }
    condition_.notify_all();
  }
  // False when `limit` passed with the gate still closed.
  bool wait(std::chrono::milliseconds limit = std::chrono::seconds(30)) {
    std::unique_lock lock(mutex_);
    return condition_.wait_for(lock, limit, [this] { return open_; });
  }
  bool isOpen() {
    std::lock_guard lock(mutex_);
    return open_;
  }

 private:
  std::mutex mutex_;
  std::condition_variable condition_;
  bool open_ = false;
};

}  // namespace TestSupport
