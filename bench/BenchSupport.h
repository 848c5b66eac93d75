#pragma once
// What the benchmarks measure with: seconds and milliseconds of a clock's
// durations, and this process's memory as /proc tells it.

#include <QByteArray>
#include <QFile>
#include <QList>
#include <chrono>

namespace bench {

using Clock = std::chrono::steady_clock;

inline double Seconds(Clock::duration d) { return std::chrono::duration<double>(d).count(); }
inline double Millis(Clock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }

// VmRSS or VmHWM of this process, in MiB; -1 when /proc cannot tell.
inline double ProcStatusMb(const char* key) {
  QFile status("/proc/self/status");
  if (!status.open(QIODevice::ReadOnly)) return -1;
  for (const QByteArray& line : status.readAll().split('\n')) {
    if (!line.startsWith(key)) continue;
    const QList<QByteArray> parts = line.simplified().split(' ');  // "VmHWM: 12345 kB"
    if (parts.size() >= 2) return parts[1].toDouble() / 1024;
  }
  return -1;
}

}  // namespace bench
