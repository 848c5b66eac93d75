#include "FileStore.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>

bool WriteFileAtomically(const QString& path, const QByteArray& data) {
  QSaveFile file(path);
  if (!file.open(QIODevice::WriteOnly)) return false;
  if (file.write(data) != data.size()) {
    file.cancelWriting();
    file.commit();
    return false;
  }
  return file.commit();
}

bool CopyFileAtomically(const QString& from, const QString& to) {
  QFile source(from);
  if (!source.open(QIODevice::ReadOnly)) return false;
  return WriteFileAtomically(to, source.readAll());
}

std::optional<QString> NameFolder(const QString& dir, const QString& name) {
  if (name.isEmpty() || QDir::isAbsolutePath(name)) return std::nullopt;
  const QString normalised = QDir::fromNativeSeparators(name);
  for (const QString& part : normalised.split(u'/'))
    if (part == QStringLiteral("..")) return std::nullopt;
  const QString base = QDir::cleanPath(dir + QStringLiteral("/Wallpapers"));
  const QString folder = base + u'/' + name;
  // A last guard against anything the checks above did not foresee.
  if (!QDir::cleanPath(folder).startsWith(base + u'/')) return std::nullopt;
  return folder;
}
