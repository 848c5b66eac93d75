#include "download/WallpaperLink.h"

#include "site/Text.h"

using site::LowerAZ;
using site::Pos;

namespace {
// `text` from its k-th character on: all of it for k < 1, empty past the end.
QString From(const QString& text, qsizetype k) { return site::Copy(text, k, text.size()); }
}  // namespace

QString WorkerSlug(const QString& name) {
  QString slug = name;
  slug.replace(u' ', u'-');
  slug = LowerAZ(slug);
  slug.replace(u'\'', u'-');
  return LowerAZ(slug);
}

QString GetWallpaperID(const QString& slug, const QString& link) {
  const qsizetype p = Pos(slug, link);
  const QString rest = From(link, p + slug.size() + 1);
  const qsizetype q = Pos(QStringLiteral("/"), rest);
  return q == 0 ? QString() : rest.left(q - 1);
}

QString GetWallpaperRes(const QString& id, const QString& link) {
  return From(link, Pos(id, link) + id.size() + 1);
}

QString ImageUrl(const QString& imageHostUrl, const QString& slug, const QString& size, const QString& id) {
  return imageHostUrl + slug + u'/' + slug + u'-' + size + u'-' + id + QStringLiteral(".jpg");
}
