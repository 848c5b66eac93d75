#pragma once
// The one way a task's view hands a change to the window: it runs on the UI
// thread while the task waits, and only while the window still listens to that
// task (the run is still the current one, the pass the newest, the window not
// closing). What the window listens to is asked on the UI thread, where it
// cannot change meanwhile.

#include <functional>
#include <utility>

#include "task/MainThread.h"

namespace ui {

class TWindowHandOff {
 public:
  explicit TWindowHandOff(std::function<bool()> listening) : Listening_(std::move(listening)) {}

  template <typename F>
  void Change(F&& change) const {
    task::Synchronize([&] {
      if (Listening_()) change();
    });
  }

  // Reads always answer, listened to or not: `fallback` is what they give otherwise.
  template <typename T, typename F>
  T Read(F&& read, T fallback = {}) const {
    T value = std::move(fallback);
    task::Synchronize([&] {
      if (Listening_()) value = read();
    });
    return value;
  }

 private:
  std::function<bool()> Listening_;
};

}  // namespace ui
