#pragma once
// How every file of the program gets onto disk: written to a temporary file
// beside its target, flushed to the device, and renamed over the target only
// when all of that worked. A full disk, a read-only folder or a crash in
// between leaves the old file byte for byte as it was, and a failure says why.

#include <QByteArray>
#include <QString>

namespace download {

// The outcome of a write: done, or the system's error and the file it concerns.
struct TWriteResult {
  int Error = 0;  // errno of the step that failed; 0 when the file is in place
  QString Path;   // the file that was to be written, or the copy's source
  // The failure was in reading the source of a copy: it says nothing of the
  // folder written to.
  bool Reading = false;

  explicit operator bool() const { return Error == 0; }
  // The system's words for the error: "No space left on device".
  QString Reason() const;
  // "<path>: <reason>".
  QString Describe() const;
  // The folder takes no file at all (full disk or quota, read-only, no
  // permission, gone), so every later write there fails the same way. A
  // source that cannot be read never does.
  bool StopsEveryWrite() const;
};

// A file written beside its target and flushed, not yet in place. Unless it
// is committed, it is removed again when the object goes.
class TStagedFile {
 public:
  // Writes `data` to a new temporary file beside `path`.
  TStagedFile(const QString& path, const QByteArray& data);
  // Copies the file `from` into a new temporary file beside `path`.
  static TStagedFile CopyOf(const QString& from, const QString& path);
  ~TStagedFile();
  TStagedFile(TStagedFile&& other) noexcept;
  TStagedFile& operator=(TStagedFile&&) = delete;
  TStagedFile(const TStagedFile&) = delete;
  TStagedFile& operator=(const TStagedFile&) = delete;

  // How staging went; a failed one has no temporary file left.
  const TWriteResult& Staged() const { return Result_; }
  // Renames the temporary file over the target: the target is replaced as a
  // whole or, on failure, not at all.
  TWriteResult Commit();

 private:
  explicit TStagedFile(const QString& path);
  // Creates the temporary file; false (with Result_ set) when it cannot.
  bool Open(int& fd);
  // Flushes and closes fd, keeping the first error.
  void Finish(int fd);
  void Fail(int error);
  void Discard();

  TWriteResult Result_;
  QByteArray Temporary_;  // the temporary file's native path; empty once renamed or removed
};

// Stages and commits in one step.
TWriteResult WriteFileAtomically(const QString& path, const QByteArray& data);

// Copies the bytes of `from` to `to` the same way, a piece at a time.
TWriteResult CopyFileAtomically(const QString& from, const QString& to);

// Makes `folder` and every missing folder above it; an existing one is left
// as it is.
TWriteResult MakeFolder(const QString& folder);

// Whether a file name is one of our temporary files: "." + the target's name
// (cut to fit the file system's limit on names) + ".ostrana-" + six letters or
// digits.
bool IsTemporaryFileName(const QString& fileName);

// Removes the temporary files that a killed process left in `folder` (only
// those of our own pattern); returns how many went.
int RemoveLeftoverTemporaries(const QString& folder);

}  // namespace download
