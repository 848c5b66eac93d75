#pragma once
// A real, small file system for tests of full disks and read-only folders: a
// tmpfs mounted over a test's own folder where the test may mount (root, as
// on the project's machines), and nothing otherwise, so the test can fall
// back or skip. Unmounted when the object goes.

#include <sys/mount.h>
#include <sys/resource.h>
#include <unistd.h>

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>
#include <cerrno>
#include <csignal>

namespace testfs {

class TSmallFileSystem {
 public:
  // Mounts a tmpfs of `kib` KiB over `folder` (which must exist and be empty).
  TSmallFileSystem(const QString& folder, int kib) : Folder_(QFile::encodeName(folder)) {
    const QByteArray options = "size=" + QByteArray::number(kib) + "k,mode=0755";
    Mounted_ = ::mount("tmpfs", Folder_.constData(), "tmpfs", 0, options.constData()) == 0;
  }
  ~TSmallFileSystem() {
    if (Mounted_) ::umount2(Folder_.constData(), MNT_DETACH);
  }
  TSmallFileSystem(const TSmallFileSystem&) = delete;
  TSmallFileSystem& operator=(const TSmallFileSystem&) = delete;

  bool Mounted() const { return Mounted_; }

  // Writes a filler file until the file system takes no more bytes.
  bool Fill() {
    QFile filler(QString::fromLocal8Bit(Folder_) + "/.filler");
    if (!filler.open(QIODevice::WriteOnly | QIODevice::Append)) return false;
    const QByteArray block(4096, 'f');
    while (filler.write(block) == block.size() && filler.flush()) {
    }
    // The last partial block too, byte by byte.
    while (filler.write("f", 1) == 1 && filler.flush()) {
    }
    return true;
  }

  // Turns the mounted file system read-only, keeping what it holds.
  bool MakeReadOnly() {
    return Mounted_ && ::mount("tmpfs", Folder_.constData(), "tmpfs", MS_REMOUNT | MS_RDONLY, nullptr) == 0;
  }

 private:
  QByteArray Folder_;
  bool Mounted_ = false;
};

// Where no file system can be mounted: a limit on the size of the files the
// process writes stands in for a full disk (writes fail with EFBIG, and the
// signal that would end the process is ignored meanwhile).
class TFileSizeLimit {
 public:
  explicit TFileSizeLimit(rlim_t bytes) {
    ::getrlimit(RLIMIT_FSIZE, &Old_);
    Previous_ = std::signal(SIGXFSZ, SIG_IGN);
    rlimit limit = Old_;
    limit.rlim_cur = bytes;
    Set_ = ::setrlimit(RLIMIT_FSIZE, &limit) == 0;
  }
  ~TFileSizeLimit() {
    ::setrlimit(RLIMIT_FSIZE, &Old_);
    std::signal(SIGXFSZ, Previous_);
  }
  TFileSizeLimit(const TFileSizeLimit&) = delete;
  TFileSizeLimit& operator=(const TFileSizeLimit&) = delete;

  bool Set() const { return Set_; }

 private:
  rlimit Old_{};
  void (*Previous_)(int) = SIG_DFL;
  bool Set_ = false;
};

}  // namespace testfs
