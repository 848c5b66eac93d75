#include "task/MainThread.h"

#include "task/ThreadRegistry.h"

#include <algorithm>
#include <condition_variable>
#include <deque>
#include <exception>
#include <mutex>
#include <thread>

namespace task {
namespace {

struct PendingCall {
  const std::function<void()>* call;
  std::exception_ptr error;
  bool done = false;
};

// Static initialisation runs on the thread that starts the program.
const std::thread::id mainThreadId = std::this_thread::get_id();

struct Queue {
  std::mutex mutex;
  std::condition_variable callDone;     // a queued call has run
  std::condition_variable mainWakes;    // a call was queued, or a thread ended
  std::deque<PendingCall*> pending;
  std::function<void()> wakeUpHook;
  int liveThreads = 0;
};

Queue& queue() {
  // Never destroyed: a thread that outlives a bounded shut-down wait may still
  // finish its last steps while the process exits.
  static Queue* q = new Queue;
  return *q;
}

}  // namespace

bool IsMainThread() { return std::this_thread::get_id() == mainThreadId; }

void Synchronize(const std::function<void()>& call) {
  if (IsMainThread()) {
    call();
    return;
  }
  Queue& q = queue();
  PendingCall pending{&call, nullptr};
  std::function<void()> hook;
  {
    std::lock_guard lock(q.mutex);
    // One wake-up serves every call queued before the main thread takes the
    // queue, so only the first call into an empty queue sends one: a burst of
    // calls then costs the event loop one event, not one each.
    if (q.pending.empty()) hook = q.wakeUpHook;
    q.pending.push_back(&pending);
  }
  q.mainWakes.notify_all();
  if (hook) hook();
  std::unique_lock lock(q.mutex);
  q.callDone.wait(lock, [&] { return pending.done; });
  if (pending.error) std::rethrow_exception(pending.error);
}

bool CheckSynchronize() {
  Queue& q = queue();
  std::deque<PendingCall*> batch;
  {
    std::lock_guard lock(q.mutex);
    batch.swap(q.pending);
  }
  for (PendingCall* p : batch) {
    std::exception_ptr error;
    try {
      (*p->call)();
    } catch (...) {
      error = std::current_exception();
    }
    std::lock_guard lock(q.mutex);
    p->error = error;
    p->done = true;
  }
  if (!batch.empty()) q.callDone.notify_all();
  return !batch.empty();
}

void SetWakeUpHook(std::function<void()> hook) {
  Queue& q = queue();
  std::lock_guard lock(q.mutex);
  q.wakeUpHook = std::move(hook);
}

int LiveThreadCount() {
  Queue& q = queue();
  std::lock_guard lock(q.mutex);
  return q.liveThreads;
}

namespace detail {

void ThreadStarted() {
  Queue& q = queue();
  std::lock_guard lock(q.mutex);
  ++q.liveThreads;
}

void ThreadEnded() {
  Queue& q = queue();
  {
    std::lock_guard lock(q.mutex);
    --q.liveThreads;
  }
  q.mainWakes.notify_all();
}

}  // namespace detail

bool PumpUntil(const std::function<bool()>& done, std::chrono::milliseconds bound) {
  const auto deadline = std::chrono::steady_clock::now() + bound;
  Queue& q = queue();
  for (;;) {
    CheckSynchronize();
    if (done()) return true;
    std::unique_lock lock(q.mutex);
    // Wakes for a queued call or a thread's end; the short slice also catches a
    // condition that changed by other means (a flag set by a worker).
    const auto slice = std::min(deadline, std::chrono::steady_clock::now() + std::chrono::milliseconds(5));
    q.mainWakes.wait_until(lock, slice, [&] { return !q.pending.empty(); });
    if (std::chrono::steady_clock::now() >= deadline) {
      lock.unlock();
      CheckSynchronize();
      return done();
    }
  }
}

bool WaitForTaskThreads(std::chrono::milliseconds bound) {
  return PumpUntil([] { return LiveThreadCount() == 0; }, bound);
}

}  // namespace task
