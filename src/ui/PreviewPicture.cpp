#include "ui/PreviewPicture.h"

#include <QFile>

#include "ui/TImage.h"

namespace ui {

QImage LoadPreviewPicture(const QString& path, QSize box, const TDecodeLimits& limits) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly) || file.size() > kMaxPreviewFileBytes) return QImage();
  const QImage decoded = DecodeJpegScaled(file.read(kMaxPreviewFileBytes), box, limits);
  if (decoded.isNull()) return decoded;
  const QSize fit = FitRect(decoded.size(), box).size();
  if (fit.isEmpty() || fit == decoded.size()) return decoded;
  return decoded.scaled(fit, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}

}  // namespace ui
