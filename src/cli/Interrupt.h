#pragma once
// Ctrl-C and SIGTERM while ostrana-get runs. The first asks the run to stop:
// it sets a flag and makes a pipe readable, so the Qt loop (a QSocketNotifier
// on NotifyFd) or a waiting thread (WaitForStop) learns of it at once. The
// second ends the process at once with kExitAtOnce: every file the program
// writes is staged beside its target and renamed into place, so nothing is
// left torn, and the next run removes what is left of the staging.
//
// A signal the process was started with ignored (nohup, a background job of a
// shell without job control) stays ignored. One object at a time; it puts the
// former handling back when it goes.

#include <chrono>

namespace cli {

class TInterrupt {
 public:
  // Installs the handlers; throws std::system_error when no pipe can be made.
  TInterrupt();
  ~TInterrupt();
  TInterrupt(const TInterrupt&) = delete;
  TInterrupt& operator=(const TInterrupt&) = delete;

  // From the first signal on.
  bool StopRequested() const;
  // The first signal (SIGINT or SIGTERM); 0 before.
  int StopSignal() const;
  // Readable from the first signal on, and stays so: watch it, never read it.
  int NotifyFd() const { return ReadFd_; }
  // Waits until the first signal, at most `bound`; whether it came.
  bool WaitForStop(std::chrono::milliseconds bound) const;

  static constexpr int kExitAtOnce = 130;

 private:
  int ReadFd_ = -1;
};

}  // namespace cli
