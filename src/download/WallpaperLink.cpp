#include "WallpaperLink.h"

int TextPos(const QString& needle, const QString& haystack) {
  if (needle.isEmpty()) return 0;
  return static_cast<int>(haystack.indexOf(needle, 0, Qt::CaseSensitive)) + 1;
}

QString TextFrom(const QString& text, int k) {
  if (k < 1) return text;
  if (k > text.size()) return {};
  return text.mid(k - 1);
}

QString LowerAscii(QString text) {
  for (QChar& c : text)
    if (c >= u'A' && c <= u'Z') c = QChar(c.unicode() + (u'a' - u'A'));
  return text;
}

QString WorkerSlug(const QString& name) {
  QString slug = name;
  slug.replace(u' ', u'-');
  slug = LowerAscii(slug);
  slug.replace(u'\'', u'-');
  return LowerAscii(slug);
}

QString GetWallpaperID(const QString& slug, const QString& link) {
  const int p = TextPos(slug, link);
  const QString rest = TextFrom(link, p + static_cast<int>(slug.size()) + 1);
  const int q = TextPos(QStringLiteral("/"), rest);
  return q == 0 ? QString() : rest.left(q - 1);
}

QString GetWallpaperRes(const QString& id, const QString& link) {
  const int p = TextPos(id, link);
  return TextFrom(link, p + static_cast<int>(id.size()) + 1);
}

QString ImageUrl(const QString& imageHostUrl, const QString& slug, const QString& size, const QString& id) {
  return imageHostUrl + slug + u'/' + slug + u'-' + size + u'-' + id + QStringLiteral(".jpg");
}
