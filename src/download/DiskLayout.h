#pragma once
// Where the program's files lie under the working folder, and how a person's
// name becomes a folder or file name there:
//   Wallpapers/<name>/<size>/<name> (<id>).jpg
//   Wallpapers/<name>/Preview.jpg
//   AllGirls/<name>.jpg
//
// A name becomes one folder or file name part by the same rule everywhere: a
// "/" (which the site's slugs allow) cannot stand in a file name, so it is
// written as "∕" (U+2215 DIVISION SLASH), which looks the same, and read back
// as "/". A name with a NUL or a "∕" of its own (which would read back as
// "/"), and a folder or file name longer than a file system takes, have no
// place on disk; nor does a name folder "", "." or "..".

#include <QString>
#include <QStringList>
#include <optional>

namespace download {

// The longest file name (in bytes of UTF-8) the common file systems take.
inline constexpr int kMaxFileNameBytes = 255;

// The name as one file name part, or none when it holds a NUL or a "∕".
std::optional<QString> NamePart(const QString& name);
// The name a folder or file name part stands for.
QString NameFromPart(const QString& part);

// dir/Wallpapers.
QString WallpapersFolder(const QString& dir);
// dir/Wallpapers/<name>, or none for a name that has no place on disk.
std::optional<QString> NameFolder(const QString& dir, const QString& name);
// nameFolder/<size>/<name> (<id>).jpg; `name` must have a NamePart.
QString WallpaperFile(const QString& nameFolder, const QString& size, const QString& name, const QString& id);
// nameFolder/Preview.jpg.
QString PreviewFileIn(const QString& nameFolder);
// dir/Wallpapers/<name>/Preview.jpg, or empty for a name that has no place on disk.
QString PreviewFileOf(const QString& dir, const QString& name);

// dir/AllGirls, where the thumbnails live.
QString AllGirlsFolder(const QString& dir);
// dir/AllGirls/<name>.jpg, or none for a name that has no place on disk.
std::optional<QString> ThumbnailPath(const QString& dir, const QString& caption);
// The captions of the entries of dir/AllGirls whose names hold ".jpg" (exactly,
// so ".JPG" does not count), each name without its last extension, in the
// order the file system lists them. Empty when the folder does not exist.
QStringList ThumbnailCaptions(const QString& dir);

// dir/Settings.ini and dir/Batch.ini.
QString SettingsFilePath(const QString& dir);
QString BatchFilePath(const QString& dir);
// dir/.ostrana.lock, held by the copy of the program that works in dir.
QString LockFilePath(const QString& dir);

}  // namespace download
