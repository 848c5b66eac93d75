#include "site/Units.h"

namespace site {

QString DurationText(std::chrono::milliseconds Duration) {
  const auto ms = Duration.count();
  return ms % 1000 == 0 ? QString::number(ms / 1000) + QStringLiteral(" s") : QString::number(ms) + QStringLiteral(" ms");
}

QString ByteCountText(qint64 Bytes) {
  constexpr qint64 kKiB = 1024;
  constexpr qint64 kMiB = 1024 * kKiB;
  if (Bytes > 0 && Bytes % kMiB == 0) return QString::number(Bytes / kMiB) + QStringLiteral(" MiB");
  if (Bytes > 0 && Bytes % kKiB == 0) return QString::number(Bytes / kKiB) + QStringLiteral(" KiB");
  return QString::number(Bytes) + (Bytes == 1 ? QStringLiteral(" byte") : QStringLiteral(" bytes"));
}

}  // namespace site
