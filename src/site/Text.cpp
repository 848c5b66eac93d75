#include "site/Text.h"

#include <algorithm>

namespace site {

QString LowerAZ(const QString& S) {
  QString out = S;
  for (QChar& c : out) {
    const char16_t u = c.unicode();
    if (u >= u'A' && u <= u'Z') c = QChar(char16_t(u + (u'a' - u'A')));
  }
  return out;
}

qsizetype Pos(const QString& Sub, const QString& S) {
  if (Sub.isEmpty()) return 0;
  return S.indexOf(Sub, 0, Qt::CaseSensitive) + 1;
}

QString Copy(const QString& S, qsizetype Index, qsizetype Count) {
  const qsizetype from = std::max<qsizetype>(Index, 1) - 1;
  if (Count <= 0 || from >= S.size()) return QString();
  return S.mid(from, std::min(Count, S.size() - from));
}

QString WithTrailingSlash(const QString& URL) {
  if (URL.endsWith(u'/')) return URL;
  return URL + u'/';
}

}  // namespace site
