#pragma once
// The text of Settings.ini or Batch.ini as the Windows profile functions see it,
// and that text made safe for SimpleIni, which reads some lines otherwise.

#include <QByteArray>
#include <QString>
#include <QStringView>
#include <optional>
#include <string>
#include <string_view>

namespace control {

// The characters `bytes` stand for, or nullopt for bytes that are no text (a NUL
// character). A file that starts with a UTF-16 mark (FF FE or FE FF, Notepad's
// "Unicode") is UTF-16; one that starts with the UTF-8 mark is UTF-8, and a broken
// sequence in it becomes U+FFFD, since the mark says what was meant; any other
// file is UTF-8 when it is valid UTF-8, which is what this program writes, and
// Windows-1252 otherwise, as a Windows editor saves it in its ANSI code page.
// Only a mark at the very start is taken off, and only one.
std::optional<QString> DecodeIniFile(const QByteArray& bytes);

// True for a section or key name the Windows functions read as empty, since
// they take white space off both ends: one of nothing but white space (blanks,
// but also a vertical tab, a form feed or a no-break space).
bool IsEmptyName(QStringView name);

// `text` as UTF-8 for SimpleIni's parser, one line per line of the file, each
// ended by "\n" (a lone CR ends a line too, as it does for the parser), without
// blank lines at the start. Lines that read as no section and no key anyone can
// ask for, but that SimpleIni would misread, drop or not write back as they
// are, become comments: one that opens a section but never closes it, a
// section without a name with all its keys, a line without a key, and a key
// before the first section that begins with U+FEFF.
std::string ParserText(const QString& text);

// The comments after the last section or key of `parserText` (ParserText's
// output), with the blank lines before and among them but none after.
// SimpleIni keeps a comment only as the lead of the entry after it, so these
// it would drop at the next save. Empty when the text holds no comment after
// its last entry, or no entry at all (SimpleIni then keeps the comments as the
// file's own).
std::string TrailingComments(std::string_view parserText);

}  // namespace control
