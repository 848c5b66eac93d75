#pragma once
// What ostrana-get does once its command line is read: the downloads of names,
// the batch, the index of names and the thumbnail pass, each through the same
// window-free core the window uses, in the working folder under its lock, with
// the settings of its Settings.ini (read, never written). What it prints goes
// to the given streams; `stop` is the first Ctrl-C.

#include <atomic>
#include <cstdio>

#include "cli/Options.h"
#include "download/DownloadRun.h"
#include "site/Fetch.h"

namespace cli {

struct TOutput {
  std::FILE* Out = stdout;  // the account and the lines of the command's result
  std::FILE* Err = stderr;  // problems, and the progress line when Out holds JSON
  bool OutIsTerminal = false;
  bool ErrIsTerminal = false;
  int Columns = 80;  // of the terminal the progress line is drawn on
};

// Another copy of the program (window or command) works in the folder.
inline constexpr int kExitFolderBusy = 4;

// The timing constants of a run, as the window has them; tests shorten them.
struct TGetTimings {
  download::TDownloadTimings Download;
  site::TFetchOptions Fetch;
};

// Runs the command; returns the exit status.
int RunGetCommand(const TGetOptions& options, const TOutput& output, const std::atomic<bool>& stop,
                  const TGetTimings& timings = {});

}  // namespace cli
