#pragma once
// Helpers for the engine's tests: bounded waits on either side of the
// main-thread queue, and a thread-safe record of what handlers saw.

#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "task/SmartTask.h"

namespace tasktest {

inline constexpr std::chrono::seconds kBound{10};

// Main thread: pumps the queue until `done` holds.
inline bool Pump(const std::function<bool()>& done) { return task::PumpUntil(done, kBound); }

// A worker's wait, as a handler polls: true once `done` holds, false after the bound.
inline bool Poll(const std::function<bool()>& done) {
  const auto deadline = std::chrono::steady_clock::now() + kBound;
  while (!done()) {
    if (std::chrono::steady_clock::now() > deadline) return false;
    std::this_thread::yield();
  }
  return true;
}

// A one-way latch the main thread opens for a waiting worker.
class Gate {
 public:
  // Notifies under the lock, so a waiter that returns and destroys the gate
  // cannot do so while the notification is still in progress.
  void Open() {
    std::lock_guard lock(m_);
    open_ = true;
    cv_.notify_all();
  }
  bool Wait() {
    std::unique_lock lock(m_);
    return cv_.wait_for(lock, kBound, [this] { return open_; });
  }

 private:
  std::mutex m_;
  std::condition_variable cv_;
  bool open_ = false;
};

// Events in the order they happened, from any thread.
class Log {
 public:
  void Add(std::string event) {
    std::lock_guard lock(m_);
    events_.push_back(std::move(event));
  }
  std::vector<std::string> Events() const {
    std::lock_guard lock(m_);
    return events_;
  }
  bool Has(const std::string& event) const {
    std::lock_guard lock(m_);
    for (const auto& e : events_)
      if (e == event) return true;
    return false;
  }

 private:
  mutable std::mutex m_;
  std::vector<std::string> events_;
};

// Every test leaves no thread behind.
inline bool AllThreadsEnded() { return task::WaitForTaskThreads(kBound); }

}  // namespace tasktest
