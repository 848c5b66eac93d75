#pragma once
// What the fuzz targets share: the input as bytes, text or UTF-16, a rule
// check that ends the run like a crash (so libFuzzer keeps the input), and a
// scratch folder in memory for the targets that go through files.

#include <QByteArray>
#include <QDir>
#include <QFileInfo>
#include <QString>
#include <unistd.h>
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
// A process that crashes or is stopped (as every finding and every time-out
// ends one) leaves its folder behind; the next one takes away those whose
// process is gone.
class TScratchFolder {
 public:
  TScratchFolder() {
    const QString base = QDir(QStringLiteral("/dev/shm")).exists() ? QStringLiteral("/dev/shm") : QDir::tempPath();
    const QString prefix = QStringLiteral("ostrana-fuzz-");
    for (const QString& name : QDir(base).entryList({prefix + u'*'}, QDir::Dirs | QDir::NoDotAndDotDot))
      if (!QFileInfo::exists(QStringLiteral("/proc/") + name.mid(prefix.size())))
        QDir(base + u'/' + name).removeRecursively();
    Path_ = base + u'/' + prefix + QString::number(getpid());
    if (!QDir().mkpath(Path_)) {
      std::fprintf(stderr, "fuzz: no scratch folder %s\n", qPrintable(Path_));
      std::abort();
    }
  }
  ~TScratchFolder() { QDir(Path_).removeRecursively(); }
  const QString& Path() const { return Path_; }

 private:
  QString Path_;
};

inline const QString& ScratchFolder() {
  static const TScratchFolder folder;
  return folder.Path();
}

}  // namespace fuzz
