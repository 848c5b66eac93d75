#pragma once
// How the desktop operations read their arguments.

#include <QString>
#include <QUrl>

namespace ui {

// The address that opening `target` means: an absolute path is a local file or
// folder; anything else is read as a web address ("www.host" gets "http://").
// Empty for an empty target.
QUrl UrlForTarget(const QString& target);

// The folder that holds `path` (a trailing separator does not count as a level).
QString ContainingFolder(const QString& path);

}  // namespace ui
