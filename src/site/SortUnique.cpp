#include "site/SortUnique.h"

#include <QCollator>
#include <algorithm>
#include <set>

namespace site {

void SortUnique(QStringList& List, const QLocale& Locale) {
  QCollator collator(Locale);
  collator.setCaseSensitivity(Qt::CaseInsensitive);
  // The locale decides the order, but it also calls texts equal that differ
  // by an ignorable character (a zero-width space, a soft hyphen, a control
  // character) or by width: such links are different links. Ties are broken
  // by the case-insensitive text itself, and nothing else counts as a duplicate.
  const auto caseLess = [](const QString& A, const QString& B) {
    return QString::compare(A, B, Qt::CaseInsensitive) < 0;
  };
  const auto before = [&](const QString& A, const QString& B) {
    const int order = collator.compare(A, B);
    return order != 0 ? order < 0 : caseLess(A, B);
  };
  std::sort(List.begin(), List.end(), before);
  // Case variants need not stand side by side: a locale may keep apart letters
  // that are one letter ignoring case (in Turkish, I is the capital of dotless
  // ı, so "IRIS" sorts before "ırmak", away from "iris"). The first of each
  // group stays.
  std::set<QString, decltype(caseLess)> kept(caseLess);
  const auto end = std::remove_if(List.begin(), List.end(), [&](const QString& A) { return !kept.insert(A).second; });
  List.erase(end, List.end());
}

}  // namespace site
