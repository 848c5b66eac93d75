#pragma once
// The text operations the site's URLs and markup are read with: positions count
// characters from 1 and 0 means "not there"; lower-casing touches A to Z only,
// so letters such as É keep their case in slugs and URLs.

#include <QString>

namespace site {

QString LowerAZ(const QString& S);

// Position of the first exact occurrence of Sub in S, from 1; 0 when Sub does
// not occur or is empty.
qsizetype Pos(const QString& Sub, const QString& S);

// Count characters of S from position Index (1-based, values below 1 count
// as 1), cut short at the end of S; empty for a Count of 0 or less.
QString Copy(const QString& S, qsizetype Index, qsizetype Count);

// URL with a "/" appended unless it already ends in one ("" gives "/").
QString WithTrailingSlash(const QString& URL);

}  // namespace site
