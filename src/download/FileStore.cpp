#include "download/FileStore.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QRegularExpression>

#include <cerrno>
#include <climits>
#include <cstring>

#if defined(Q_OS_UNIX)
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace download {

#else
#error "FileStore writes through the POSIX file calls; this platform needs its own here"
#endif

namespace {

const QString kTemporaryMark = QStringLiteral(".ostrana-");
constexpr int kTemporaryNameTries = 100;

constexpr int kRandomLetters = 6;

// The part of the temporary file's name that repeats the target's, cut where
// needed so that a target whose name is at the file system's limit still gets
// a temporary file beside it.
QString TemporaryStem(const QString& targetName) {
  const qsizetype room = NAME_MAX - 1 - kTemporaryMark.size() - kRandomLetters;
  QString stem = targetName;
  while (QFile::encodeName(stem).size() > room) {
    stem.chop(1);
    if (!stem.isEmpty() && stem.back().isHighSurrogate()) stem.chop(1);
  }
  return stem;
}

QString RandomLetters() {
  static const char kAlphabet[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
  QString letters;
  for (int i = 0; i < kRandomLetters; ++i) letters += QChar(kAlphabet[QRandomGenerator::global()->bounded(62)]);
  return letters;
}

// Writes all of data; false with errno set on failure.
bool WriteAll(int fd, const char* data, qint64 size) {
  while (size > 0) {
    const ssize_t written = ::write(fd, data, size_t(size));
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) {
      if (written == 0) errno = EIO;
      return false;
    }
    data += written;
    size -= written;
  }
  return true;
}

}  // namespace

QString TWriteResult::Reason() const { return Error == 0 ? QString() : QString::fromLocal8Bit(std::strerror(Error)); }

QString TWriteResult::Describe() const { return Path + QStringLiteral(": ") + Reason(); }

bool TWriteResult::StopsEveryWrite() const {
  if (Reading) return false;
  switch (Error) {
    case ENOSPC:
    case EDQUOT:
    case EFBIG:  // the file-size limit of the process is as final as a full disk
    case EROFS:
    case EACCES:
    case EPERM:
    case ENOENT:  // the folder has gone
    case ENOTDIR:
      return true;
    default:
      return false;
  }
}

TStagedFile::TStagedFile(const QString& path) { Result_.Path = path; }

TStagedFile::TStagedFile(const QString& path, const QByteArray& data) : TStagedFile(path) {
  int fd = -1;
  if (!Open(fd)) return;
  if (!WriteAll(fd, data.constData(), data.size())) Fail(errno);
  Finish(fd);
}

TStagedFile TStagedFile::CopyOf(const QString& from, const QString& path) {
  TStagedFile staged(path);
  const int source = ::open(QFile::encodeName(from).constData(), O_RDONLY | O_CLOEXEC);
  if (source < 0) {
    staged.Result_.Error = errno;
    staged.Result_.Path = from;
    staged.Result_.Reading = true;
    return staged;
  }
  int fd = -1;
  if (staged.Open(fd)) {
    char buffer[64 * 1024];
    for (;;) {
      const ssize_t got = ::read(source, buffer, sizeof buffer);
      if (got < 0 && errno == EINTR) continue;
      if (got < 0) {
        staged.Fail(errno);
        staged.Result_.Path = from;
        staged.Result_.Reading = true;
        break;
      }
      if (got == 0) break;
      if (!WriteAll(fd, buffer, got)) {
        staged.Fail(errno);
        break;
      }
    }
    staged.Finish(fd);
  }
  ::close(source);
  return staged;
}

TStagedFile::~TStagedFile() { Discard(); }

TStagedFile::TStagedFile(TStagedFile&& other) noexcept
    : Result_(std::move(other.Result_)), Temporary_(std::move(other.Temporary_)) {
  other.Temporary_.clear();
}

bool TStagedFile::Open(int& fd) {
  const QFileInfo target(Result_.Path);
  const QString prefix = target.absolutePath() + QStringLiteral("/.") + TemporaryStem(target.fileName()) + kTemporaryMark;
  for (int i = 0; i < kTemporaryNameTries; ++i) {
    const QByteArray name = QFile::encodeName(prefix + RandomLetters());
    fd = ::open(name.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
    if (fd >= 0) {
      Temporary_ = name;
      return true;
    }
    if (errno != EEXIST) break;
  }
  Result_.Error = errno;
  return false;
}

void TStagedFile::Finish(int fd) {
  // A full disk may only show when the data reaches the device; the file is
  // not taken for written before then.
  if (Result_ && ::fsync(fd) != 0) Fail(errno);
  if (::close(fd) != 0 && Result_) Fail(errno);
  if (!Result_) Discard();
}

void TStagedFile::Fail(int error) {
  if (Result_) Result_.Error = error;
}

void TStagedFile::Discard() {
  if (Temporary_.isEmpty()) return;
  ::unlink(Temporary_.constData());
  Temporary_.clear();
}

TWriteResult TStagedFile::Commit() {
  if (!Result_) return Result_;
  if (::rename(Temporary_.constData(), QFile::encodeName(Result_.Path).constData()) != 0) {
    Result_.Error = errno;
    Discard();
    return Result_;
  }
  Temporary_.clear();
  return Result_;
}

TWriteResult WriteFileAtomically(const QString& path, const QByteArray& data) {
  TStagedFile staged(path, data);
  return staged.Commit();
}

TWriteResult CopyFileAtomically(const QString& from, const QString& to) {
  TStagedFile staged = TStagedFile::CopyOf(from, to);
  return staged.Commit();
}

TWriteResult MakeFolder(const QString& folder) {
  const QString path = QDir::cleanPath(folder);
  if (QFileInfo(path).isDir()) return {0, path};
  const QString parent = QFileInfo(path).path();
  if (parent != path) {
    const TWriteResult above = MakeFolder(parent);
    if (!above) return above;
  }
  if (::mkdir(QFile::encodeName(path).constData(), 0777) != 0 && errno != EEXIST) return {errno, path};
  if (!QFileInfo(path).isDir()) return {ENOTDIR, path};
  return {0, path};
}

bool IsTemporaryFileName(const QString& fileName) {
  static const QRegularExpression pattern(QStringLiteral("^\\..+\\.ostrana-[A-Za-z0-9]{6}$"));
  return pattern.match(fileName).hasMatch();
}

int RemoveLeftoverTemporaries(const QString& folder) {
  int removed = 0;
  const QDir dir(folder);
  for (const QString& name : dir.entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::Unsorted))
    if (IsTemporaryFileName(name) && QFile::remove(dir.filePath(name))) ++removed;
  return removed;
}

}  // namespace download
