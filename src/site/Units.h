#pragma once
// Bounds and caps as a user reads them in a log line: "90 s", "200 ms",
// "16 MiB", "1 KiB", "1001 bytes".

#include <QString>
#include <chrono>

namespace site {

QString DurationText(std::chrono::milliseconds Duration);
QString ByteCountText(qint64 Bytes);

}  // namespace site
