#pragma once
// Sorting a list of links or pages the way the user's locale orders text, with
// letter case ignored, keeping one entry of each group that differs only in case.

#include <QLocale>
#include <QStringList>

namespace site {

// Numbers compare as text: ".../page/10" comes before ".../page/2". Two
// entries are duplicates only when they are equal ignoring the case of
// letters; which member of such a group survives is not fixed.
void SortUnique(QStringList& List, const QLocale& Locale = QLocale());

}  // namespace site
