#pragma once
// What the fuzz targets share: the input as bytes, text or UTF-16, a rule
// check that ends the run like a crash (so libFuzzer keeps the input), and a
// scratch folder in memory for the targets that go through files.

#include <QByteArray>
#include <QDir>
#include <QString>
#include <QTemporaryDir>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace fuzz {

[[noreturn]] inline void Broken(const char* rule, const char* file, int line) {
  std::fprintf(stderr, "%s:%d: broken rule: %s\n", file, line, rule);
  std::abort();
}

#define FUZZ_CHECK(rule) ((rule) ? void() : ::fuzz::Broken(#rule, __FILE__, __LINE__))

inline QByteArray Bytes(const uint8_t* data, size_t size) {
  return QByteArray(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
}

// Every UTF-16 text, lone surrogates and NUL included: two bytes a unit, in
// the machine's order; an odd last byte is dropped.
inline QString Utf16(const uint8_t* data, size_t size) {
  QString text(static_cast<qsizetype>(size / 2), Qt::Uninitialized);
  std::memcpy(text.data(), data, size / 2 * 2);
  return text;
}

// A folder of this process's own, on tmpfs when there is one: the targets
// write a file or two per input, and a disk would make that the slow part.
inline const QString& ScratchFolder() {
  static QTemporaryDir dir(QDir(QStringLiteral("/dev/shm")).exists() ? QStringLiteral("/dev/shm/ostrana-fuzz-XXXXXX")
                                                                      : QDir::tempPath() + "/ostrana-fuzz-XXXXXX");
  if (!dir.isValid()) {
    std::fprintf(stderr, "fuzz: no scratch folder: %s\n", qPrintable(dir.errorString()));
    std::abort();
  }
  static const QString path = dir.path();
  return path;
}

}  // namespace fuzz
