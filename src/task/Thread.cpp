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
    Handle_ = std::thread([this] { Run(); });
  } catch (...) {
    detail::ThreadEnded();
    throw;
  }
}

TThread::~TThread() { EndBeforeDestruction(); }

void TThread::EndBeforeDestruction() {
  if (!Handle_.joinable() || Handle_.get_id() == std::this_thread::get_id()) return;
  Terminate();
  {
    std::lock_guard lock(GateMutex_);
    if (!Resumed_) Abandoned_ = true;
    Resumed_ = true;
  }
  Gate_.notify_one();
  if (IsMainThread()) {
    while (!Finished_.load()) PumpUntil([this] { return Finished_.load(); }, std::chrono::seconds(1));
  }
  Handle_.join();
}

void TThread::Resume() {
  {
    std::lock_guard lock(GateMutex_);
    Resumed_ = true;
  }
  Gate_.notify_one();
}

void TThread::SetPriority(TThreadPriority value) {
  Priority_.store(value);
  // Before the body begins, the thread applies the level itself.
  platform::ApplyPriority(OsThreadId_.load(), value);
}

void TThread::SetName(const char* name) { platform::NameThread(Handle_, name); }

void TThread::Run() {
  {
    std::unique_lock lock(GateMutex_);
    Gate_.wait(lock, [this] { return Resumed_; });
    if (Abandoned_) {
      Finished_.store(true);
      detail::ThreadEnded();
      return;
    }
  }
  OsThreadId_.store(platform::CurrentThreadId());
  platform::ApplyPriority(OsThreadId_.load(), Priority_.load());

  if (!Terminated()) {
    try {
      Execute();
    } catch (...) {
      FatalException_ = std::current_exception();
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
    Handle_.detach();
    delete this;
  } else {
    Finished_.store(true);
  }
  detail::ThreadEnded();
}

}  // namespace task
