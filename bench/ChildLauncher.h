#pragma once
// Starts programs for a benchmark from a small copy of the benchmark forked
// before it grows, and reports each program's own time, CPU and peak resident
// memory. A child forked (or vforked, as posix_spawn and QProcess do) from the
// benchmark itself carries the benchmark's resident memory into its ru_maxrss
// until it execs, so a program started from a large benchmark would report the
// benchmark's peak instead of its own.

#include <sys/types.h>

#include <chrono>
#include <string>
#include <vector>

namespace bench {

struct TChildRun {
  bool Ended = false;   // ended within the bound; else it was killed
  int ExitStatus = -1;  // when it exited; 127 when the program could not be started
  int Signal = 0;       // the signal that ended it, when one did
  std::chrono::steady_clock::time_point Start, End;  // fork and reaping
  double CpuS = 0;       // user and system time of all its threads
  double PeakRssMb = 0;  // its own ru_maxrss
};

class TChildLauncher {
 public:
  // Forks the launcher: call first thing in main, before threads or big
  // allocations. Throws std::runtime_error when it cannot.
  TChildLauncher();
  ~TChildLauncher();
  TChildLauncher(const TChildLauncher&) = delete;
  TChildLauncher& operator=(const TChildLauncher&) = delete;

  // Runs `argv` (argv[0] is the program's path) with stdout and stderr written
  // to `outputFile`, waits for it to end, and kills it after `bound`. Throws
  // std::runtime_error when the launcher cannot be reached.
  TChildRun Run(const std::vector<std::string>& argv, const std::string& outputFile,
                std::chrono::milliseconds bound);

 private:
  pid_t Launcher_ = -1;
  int RequestFd_ = -1;  // to the launcher
  int ResultFd_ = -1;   // from the launcher
};

}  // namespace bench
