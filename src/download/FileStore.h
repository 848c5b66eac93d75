#pragma once
// Where downloads go on disk, and how they get there: every file is written
// to a temporary file beside its target and renamed over it, so an interrupted
// write never leaves a truncated file that a later run would take as valid.

#include <QByteArray>
#include <QString>
#include <optional>

// Writes `data` to `path`, replacing it as a whole or not at all.
bool WriteFileAtomically(const QString& path, const QByteArray& data);

// Copies the bytes of `from` to `to` the same way.
bool CopyFileAtomically(const QString& from, const QString& to);

// dir/Wallpapers/name, or none when the name would lead outside that folder
// (an absolute path, or a ".." component).
std::optional<QString> NameFolder(const QString& dir, const QString& name);
