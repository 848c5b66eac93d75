// Names and reasons on a terminal: nothing in them steers the terminal, and a
// cut line never splits a character or counts a wide one as narrow.

#include <gtest/gtest.h>

#include "cli/TerminalText.h"
#include "common/QtPrint.h"

namespace {

TEST(TerminalText, ControlCharactersShowAsQuestionMarks) {
  const struct {
    QString Text, Printable;
  } cases[] = {
      {"Demo Model", "Demo Model"},
      {"a\nb\rc\td", "a?b?c?d"},
      {"\x1b]0;title\x07", "?]0;title?"},
      {QString("x") + QChar(0x7F) + QChar(0x85) + QChar(0x9B) + "y", "x???y"},
      {QString(QChar(0)) + "z", "?z"},
      {"Zoë 山田 \u00A0\u00A0", "Zoë 山田 \u00A0\u00A0"},  // no-break spaces are printable
      {"😀", "😀"},                                     // a surrogate pair stays whole
  };
  for (const auto& c : cases) EXPECT_EQ(cli::PrintableText(c.Text), c.Printable);
}

TEST(TerminalText, WidthCountsColumns) {
  const struct {
    QString Text;
    int Width;
  } cases[] = {
      {"", 0},
      {"Demo Model", 10},
      {"山田花子", 8},
      {"한국", 4},
      {"ｆｕｌｌ", 8},
      {"😀x", 3},
      {"e\u0301", 1},       // e and a combining acute accent
      {"a\u200Db", 2},      // a zero-width joiner
      {"Zoë Ünal", 8},
  };
  for (const auto& c : cases) EXPECT_EQ(cli::DisplayWidth(c.Text), c.Width) << c.Text.toStdString();
}

TEST(TerminalText, FitCutsWholeCharactersAndMarksTheCut) {
  const struct {
    QString Text;
    int Columns;
    QString Fitted;
  } cases[] = {
      {"Demo Model", 10, "Demo Model"},
      {"Demo Model", 20, "Demo Model"},
      {"Demo Model", 9, "Demo Mod…"},
      {"Demo Model", 1, "…"},
      {"Demo Model", 0, ""},
      {"Demo Model", -5, ""},
      {"", 0, ""},
      {"山田花子", 6, "山田…"},
      {"山田花子", 5, "山田…"},
      {"山田花子", 4, "山…"},
      {"😀😀😀", 4, "😀…"},
      {"e\u0301e\u0301e\u0301", 2, "e\u0301…"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Text.toStdString() + " in " + std::to_string(c.Columns));
    const QString fitted = cli::FitText(c.Text, c.Columns);
    EXPECT_EQ(fitted, c.Fitted);
    EXPECT_LE(cli::DisplayWidth(fitted), std::max(c.Columns, 0));
  }
}

}  // namespace
