#include "site/SortUnique.h"

#include <QCollator>
#include <algorithm>

namespace site {

void SortUnique(QStringList& List, const QLocale& Locale) {
  QCollator collator(Locale);
  collator.setCaseSensitivity(Qt::CaseInsensitive);
  std::sort(List.begin(), List.end(),
            [&](const QString& A, const QString& B) { return collator.compare(A, B) < 0; });
  // Sorted, entries that compare equal stand together; keep the first of each run.
  const auto end = std::unique(List.begin(), List.end(),
                               [&](const QString& A, const QString& B) { return collator.compare(A, B) == 0; });
  List.erase(end, List.end());
}

}  // namespace site
