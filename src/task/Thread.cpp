#include "task/Thread.h"

#include <system_error>

#include "task/MainThread.h"
#include "task/ThreadPlatform.h"
#include "task/ThreadRegistry.h"

namespace task {

namespace {
std::atomic<int> refusals{0};
}  // namespace

void RefuseNextThreadCreations(int count) { refusals = count; }

TThread::TThread() {
  detail::ThreadStarted();
  try {
    for (int left = refusals.load(); left > 0;)
      if (refusals.compare_exchange_weak(left, left - 1))
        throw std::system_error(std::make_error_code(std::errc::resource_unavailable_try_again));
    thread_ = std::thread([this] { Run(); });
  } catch (...) {
    detail::ThreadEnded();
    throw;
  }
}

TThread::~TThread() { EndBeforeDestruction(); }

void TThread::EndBeforeDestruction() {
  if (!thread_.joinable() || thread_.get_id() == std::this_thread::get_id()) return;
  Terminate();
  {
    std::lock_guard lock(gateMutex_);
    if (!resumed_) abandoned_ = true;
    resumed_ = true;
  }
  gate_.notify_one();
  if (IsMainThread()) {
    while (!finished_.load()) PumpUntil([this] { return finished_.load(); }, std::chrono::seconds(1));
  }
  thread_.join();
}

void TThread::Resume() {
  {
    std::lock_guard lock(gateMutex_);
    resumed_ = true;
  }
  gate_.notify_one();
}

void TThread::SetPriority(TThreadPriority value) {
  priority_.store(value);
  // Before the body begins, the thread applies the level itself.
  platform::ApplyPriority(osThreadId_.load(), value);
}

void TThread::SetName(const char* name) { platform::NameThread(thread_, name); }

void TThread::Run() {
  {
    std::unique_lock lock(gateMutex_);
    gate_.wait(lock, [this] { return resumed_; });
    if (abandoned_) {
      finished_.store(true);
      detail::ThreadEnded();
      return;
    }
  }
  osThreadId_.store(platform::CurrentThreadId());
  platform::ApplyPriority(osThreadId_.load(), priority_.load());

  if (!Terminated()) {
    try {
      Execute();
    } catch (...) {
      fatalException_ = std::current_exception();
    }
  }
  if (OnTerminate) {
    try {
      Synchronize([this] { OnTerminate(this); });
    } catch (...) {
      // The notification's own failure reaches no one, like the body's.
    }
  }
  if (FreeOnTerminate) {
    thread_.detach();
    delete this;
  } else {
    finished_.store(true);
  }
  detail::ThreadEnded();
}

}  // namespace task
