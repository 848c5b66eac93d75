#pragma once
// What ostrana-get prints while a name runs. On a terminal, one line redrawn
// in place:
//   Demo Model  12/36  2 failed  1.5/s  0:08  left 0:16
// (the name, wallpapers on disk of those found, failures, wallpapers dealt
// with per second, time elapsed, time left). When stdout is no terminal
// (a log, cron's mail), plain lines instead, at each name's end: one for the
// name, then one per failure.

#include <QString>
#include <chrono>
#include <optional>

#include "cli/Account.h"

namespace cli {

// Where one name's run stands.
struct TProgress {
  QString Name;
  int Done = 0;   // on disk: found there or fetched
  int Found = 0;  // listed so far
  int Failed = 0;
  std::chrono::milliseconds Elapsed{0};
};

// An estimate beyond this is no estimate: it shows as unknown.
inline constexpr std::chrono::hours kLongestTimeLeft{100};

// Wallpapers dealt with (on disk or failed) per second; none before any time has passed.
std::optional<double> RateOf(const TProgress& progress);

// The time the wallpapers still to go will take at the rate so far, rounded
// up to a second; none before any is dealt with, or beyond kLongestTimeLeft.
std::optional<std::chrono::seconds> TimeLeft(const TProgress& progress);

// "m:ss" under an hour, "h:mm:ss" from one on; a negative time reads 0:00.
QString DurationText(std::chrono::seconds time);

// The terminal line: "\r", the line, and "clear to the end of the line"
// (ESC [K), so a shorter line leaves nothing of a longer one. The line takes
// at most `width` - 1 columns (the last one would make some terminals wrap):
// the name is cut first, then the rate, the elapsed time, the time left and
// the failures are left out in that order.
QString ProgressLine(const TProgress& progress, int width);

// A name's end, as one plain line (no line break):
//   Demo Model: all 36 on disk (20 already there, 16 fetched), 0:42
//   Demo Model: 34 of 36 on disk (20 already there, 14 fetched), 2 failed, 0:42
//   Demo Model: stopped, 10 of 36 on disk (4 already there, 6 fetched), 0:12
//   Demo Model: no wallpapers found, 0:03
//   Demo Model: the site could not be reached: <why>
QString PlainEndLine(const TNameAccount& account);

// A failure of a name, as one plain line (no line break):
//   Demo Model: not loaded: 1234 at 1920x1200: <reason>
QString PlainFailureLine(const QString& name, const TFailure& failure);

}  // namespace cli
