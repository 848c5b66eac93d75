#include "ui/PreviewPicture.h"

#include <QFile>

#include "download/Jpeg.h"
#include "ui/TImage.h"

namespace ui {

QImage LoadPreviewPicture(const QString& path, QSize box) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return QImage();
  const QImage decoded = DecodeJpegScaled(file.readAll(), box);
  if (decoded.isNull()) return decoded;
  const QSize fit = FitRect(decoded.size(), box).size();
  if (fit.isEmpty() || fit == decoded.size()) return decoded;
  return decoded.scaled(fit, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}

}  // namespace ui
