// Decoding a page body and cutting it into lines.

#include <gtest/gtest.h>

#include "site/TextDecode.h"

namespace {

QByteArray Bytes(const char* Data, qsizetype Size) { return QByteArray(Data, Size); }

TEST(DecodeText, ByteOrderMarksAndTheSingleByteDefault) {
  const struct {
    const char* Name;
    QByteArray Body;
    QString Text;
  } cases[] = {
      {"plain ASCII", "abc", "abc"},
      {"UTF-8 mark dropped", "\xEF\xBB\xBF" "caf\xC3\xA9", QString::fromUtf8("caf\xC3\xA9")},
      {"UTF-16 LE mark", Bytes("\xFF\xFE" "a\0\xE9\0", 6), QString::fromUtf8("a\xC3\xA9")},
      {"UTF-16 BE mark", Bytes("\xFE\xFF" "\0a\0\xE9", 6), QString::fromUtf8("a\xC3\xA9")},
      {"UTF-16 LE wins over a UTF-32 look", Bytes("\xFF\xFE\0\0", 4), QString()},
      {"odd byte at the end of UTF-16 dropped", Bytes("\xFF\xFE" "a\0b", 5), "a"},
      {"a second mark is text", "\xEF\xBB\xBF\xEF\xBB\xBFx", QString(QChar(0xFEFF)) + "x"},
      {"no mark: Windows-1252", "\x80 caf\xE9 \x9F", QString(QChar(0x20AC)) + QString::fromUtf8(" caf\xC3\xA9 ") +
                                                         QChar(0x0178)},
      {"no mark: undefined 1252 bytes keep their value", "\x81\x8D", QString(QChar(0x81)) + QChar(0x8D)},
      {"UTF-8 without its mark is read as 1252", "caf\xC3\xA9", QString::fromUtf8("caf\xC3\x83\xC2\xA9")},
      {"NUL ends single-byte text", Bytes("ab\0cd", 5), "ab"},
      {"NUL ends UTF-16 text", Bytes("\xFF\xFE" "a\0\0\0b\0", 8), "a"},
      {"NUL ends UTF-8 text", Bytes("\xEF\xBB\xBF" "a\0b", 6), "a"},
      {"empty body", "", QString()},
      {"mark only", "\xEF\xBB\xBF", QString()},
  };
  for (const auto& c : cases) EXPECT_EQ(site::DecodeText(c.Body), c.Text) << c.Name;
}

TEST(SplitLines, BreaksAtCrLfLfAndLoneCr) {
  const struct {
    const char* Text;
    QStringList Lines;
  } cases[] = {
      {"", {}},
      {"one", {"one"}},
      {"one\r\ntwo\r\n", {"one", "two"}},
      {"one\ntwo\n", {"one", "two"}},
      {"one\rtwo\r", {"one", "two"}},
      {"one\r\ntwo\nthree\rfour", {"one", "two", "three", "four"}},
      {"\n", {""}},
      {"\r\n\r\n", {"", ""}},
      {"a\n\nb", {"a", "", "b"}},
      {"a\r\r\nb", {"a", "", "b"}},
      {"a\n\rb", {"a", "", "b"}},
  };
  for (const auto& c : cases) EXPECT_EQ(site::SplitLines(QString::fromLatin1(c.Text)), c.Lines) << c.Text;
}

}  // namespace
