#include "ui/PlatformTargets.h"

#include <QDir>
#include <QFileInfo>

namespace ui {

QUrl UrlForTarget(const QString& target) {
  if (target.isEmpty()) return {};
  if (QDir::isAbsolutePath(target)) return QUrl::fromLocalFile(QDir::cleanPath(target));
  return QUrl::fromUserInput(target);
}

QString ContainingFolder(const QString& path) {
  return QFileInfo(QDir::cleanPath(path)).absolutePath();
}

}  // namespace ui
