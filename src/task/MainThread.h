#pragma once
// The main-thread queue: the one way a task thread hands work to the UI thread.
//
// A worker calls Synchronize(call) and blocks until the main thread has run it.
// The main thread runs pending calls in CheckSynchronize(); the application sets a
// wake-up hook so that its event loop calls CheckSynchronize() soon after a call
// is queued. Tests pump the queue themselves.

#include <chrono>
#include <functional>

namespace task {

// Runs `call` on the main thread and returns once it has run. On the main thread
// itself it runs at once. An exception thrown by `call` is re-thrown to the caller.
void Synchronize(const std::function<void()>& call);

// Runs every call queued so far, in the order queued. Main thread only.
// Returns true if it ran at least one.
bool CheckSynchronize();

// Called (from the queuing thread) when a call is queued while none was
// waiting; the next CheckSynchronize() runs that call and all queued after it.
// Pass an empty function to remove the hook. Set it before any task starts.
void SetWakeUpHook(std::function<void()> hook);

// True on the thread that initialised the program (the main thread).
bool IsMainThread();

// Number of task threads that exist and have not yet finished their last step.
int LiveThreadCount();

// Main thread only: pumps the queue until every task thread has ended or `bound`
// has passed. Returns true if none is left. For shut-down and for tests.
bool WaitForTaskThreads(std::chrono::milliseconds bound);

// Main thread only: pumps the queue until `done()` is true or `bound` has passed.
// Returns the last value of `done()`. Lets tests wait on a condition without sleeping.
bool PumpUntil(const std::function<bool()>& done, std::chrono::milliseconds bound);

}  // namespace task
