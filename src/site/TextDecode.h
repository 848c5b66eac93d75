#pragma once
// Turning a fetched page body into lines of text.

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <limits>

namespace site {

// By byte-order mark, tested in this order: FF FE (UTF-16 LE), FE FF
// (UTF-16 BE), EF BB BF (UTF-8); the mark is dropped. Without a mark the bytes
// are Windows-1252. The text ends at its first NUL.
QString DecodeText(const QByteArray& Body);

// Lines broken at CR LF, LF and a lone CR; a break at the very end gives no
// extra empty line, so "" gives no line and "\n" one empty line. Stops after
// MaxLines + 1 lines, so a caller can tell a text of too many lines without
// paying for all of them.
QStringList SplitLines(const QString& Text, qsizetype MaxLines = std::numeric_limits<qsizetype>::max() - 1);

}  // namespace site
