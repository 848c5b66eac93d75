#include "download/DiskLayout.h"

#include <dirent.h>

#include <QFile>

namespace download {

namespace {

constexpr QChar kSlash = u'/';
constexpr QChar kSlashStandIn = QChar(0x2215);  // DIVISION SLASH

bool FitsAFileName(const QString& fileName) { return fileName.toUtf8().size() <= kMaxFileNameBytes; }

}  // namespace

std::optional<QString> NamePart(const QString& name) {
  // A stand-in already in the name would be read back as "/": another name.
  if (name.contains(QChar(0)) || name.contains(kSlashStandIn)) return std::nullopt;
  QString part = name;
  return part.replace(kSlash, kSlashStandIn);
}

QString NameFromPart(const QString& part) {
  QString name = part;
  return name.replace(kSlashStandIn, kSlash);
}

QString WallpapersFolder(const QString& dir) { return dir + QStringLiteral("/Wallpapers"); }

std::optional<QString> NameFolder(const QString& dir, const QString& name) {
  const std::optional<QString> part = NamePart(name);
  // "" and "." would name Wallpapers itself, ".." the working folder.
  if (!part || part->isEmpty() || *part == QStringLiteral(".") || *part == QStringLiteral("..") ||
      !FitsAFileName(*part))
    return std::nullopt;
  return WallpapersFolder(dir) + kSlash + *part;
}

QString WallpaperFile(const QString& nameFolder, const QString& size, const QString& name, const QString& id) {
  return nameFolder + kSlash + size + kSlash + NamePart(name).value_or(QString()) + QStringLiteral(" (") + id +
         QStringLiteral(").jpg");
}

QString PreviewFileIn(const QString& nameFolder) { return nameFolder + QStringLiteral("/Preview.jpg"); }

QString PreviewFileOf(const QString& dir, const QString& name) {
  const std::optional<QString> folder = NameFolder(dir, name);
  return folder ? PreviewFileIn(*folder) : QString();
}

QString AllGirlsFolder(const QString& dir) { return dir + QStringLiteral("/AllGirls"); }

std::optional<QString> ThumbnailPath(const QString& dir, const QString& caption) {
  const std::optional<QString> part = NamePart(caption);
  if (!part) return std::nullopt;
  const QString fileName = *part + QStringLiteral(".jpg");
  if (!FitsAFileName(fileName)) return std::nullopt;
  return AllGirlsFolder(dir) + kSlash + fileName;
}

QStringList ThumbnailCaptions(const QString& dir) {
  QStringList captions;
  // Files and folders alike, hidden ones too, in the file system's order. The
  // names alone are read: a folder of tens of thousands costs no look-up each.
  DIR* folder = ::opendir(QFile::encodeName(AllGirlsFolder(dir)).constData());
  if (!folder) return captions;
  while (const dirent* entry = ::readdir(folder)) {
    const QString name = QFile::decodeName(entry->d_name);
    if (name == u"." || name == u".." || !name.contains(QStringLiteral(".jpg"), Qt::CaseSensitive)) continue;
    captions.append(NameFromPart(name.left(name.lastIndexOf(u'.'))));
  }
  ::closedir(folder);
  return captions;
}

QString SettingsFilePath(const QString& dir) { return dir + QStringLiteral("/Settings.ini"); }
QString BatchFilePath(const QString& dir) { return dir + QStringLiteral("/Batch.ini"); }
QString LockFilePath(const QString& dir) { return dir + QStringLiteral("/.ostrana.lock"); }

}  // namespace download
