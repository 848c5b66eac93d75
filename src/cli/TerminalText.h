#pragma once
// Text from Batch.ini, the command line or the site, made fit for a terminal:
// a control character in a name could move the cursor or recolour the
// terminal, so it is shown as "?", and a line is cut to the columns it has.

#include <QString>

namespace cli {

// The text with every control character (C0, DEL, C1) shown as "?".
QString PrintableText(const QString& text);

// The columns a printable text takes on a terminal: a wide East Asian
// character or emoji takes two, a combining mark or format character none,
// anything else one (close to wcwidth, without depending on the locale).
int DisplayWidth(const QString& text);

// The text cut to at most `columns` columns, ending in "…" when it was cut;
// never splits a character, and keeps combining marks with their base.
QString FitText(const QString& text, int columns);

}  // namespace cli
