#pragma once
// A thread object with the classic contract: created suspended, started by
// Resume, asked to end by Terminate (which only sets a flag), an end
// notification run synchronously on the main thread, and optional release of
// the object by its own thread once that notification has run.

#include <atomic>
#include <condition_variable>
#include <exception>
#include <mutex>
#include <thread>

#include "task/TObject.h"

namespace task {

// The system refuses a thread when it runs out of threads or memory; tests
// make the next `count` creations fail the same way (std::system_error with
// EAGAIN) to see that every caller copes.
void RefuseNextThreadCreations(int count);

enum class TThreadPriority { tpIdle, tpLowest, tpLower, tpNormal, tpHigher, tpHighest, tpTimeCritical };

class TThread : public TObject {
 public:
  // Creates the OS thread, suspended. Throws std::system_error when the
  // platform cannot create it.
  TThread();
  // See EndBeforeDestruction.
  ~TThread() override;

  void Resume();
  void Terminate() { Terminated_.store(true); }
  bool Terminated() const { return Terminated_.load(); }

  void SetPriority(TThreadPriority value);
  TThreadPriority Priority() const { return Priority_.load(); }

  // Set before Resume; when true the object deletes itself after OnTerminate.
  bool FreeOnTerminate = false;
  // Runs on the main thread, after the body, while this thread waits.
  TNotifyEvent OnTerminate;

 protected:
  virtual void Execute() = 0;
  // For an object destroyed by another thread: a thread still suspended is
  // abandoned (neither its body nor its notification runs); a running one is
  // told to end and waited for, the main thread pumping its queue meanwhile so
  // the end notification can run. A derived class calls this first in its
  // destructor, while its own members still exist. Does nothing on the
  // thread's own thread (a release by FreeOnTerminate).
  void EndBeforeDestruction();
  // Names the OS thread; failures are ignored.
  void SetName(const char* name);

 private:
  void Run();

  std::thread Handle_;
  std::mutex GateMutex_;
  std::condition_variable Gate_;
  bool Resumed_ = false;
  bool Abandoned_ = false;
  std::atomic<bool> Finished_{false};
  std::atomic<bool> Terminated_{false};
  std::atomic<TThreadPriority> Priority_{TThreadPriority::tpNormal};
  std::atomic<long> OsThreadId_{0};  // known once the body has begun
  std::exception_ptr FatalException_;  // kept, never reported
};

}  // namespace task
