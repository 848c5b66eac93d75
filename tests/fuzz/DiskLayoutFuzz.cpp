// A name, whatever it holds, made into its folder and file names: none of
// them may lead out of the folder it is built in, and each must give the name
// back. Input: the name as UTF-16 in the machine's byte order, so that NUL and
// lone surrogates come up too.

#include "fuzz/FuzzSupport.h"
#include "download/DiskLayout.h"

namespace {

const QString kDir = QStringLiteral("/w");

// One step below `base`: no separator, no NUL, not "." or "..". Returns the step.
QString CheckOneStep(const QString& path, const QString& base) {
  FUZZ_CHECK(path.startsWith(base + u'/'));
  const QString step = path.mid(base.size() + 1);
  FUZZ_CHECK(!step.isEmpty() && step != QStringLiteral(".") && step != QStringLiteral(".."));
  FUZZ_CHECK(!step.contains(u'/') && !step.contains(QChar(0)));
  return step;
}

bool FitsAFileName(const QString& step) { return step.toUtf8().size() <= download::kMaxFileNameBytes; }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const QString name = fuzz::Utf16(data, size);

  const std::optional<QString> part = download::NamePart(name);
  FUZZ_CHECK(part.has_value() == !(name.contains(QChar(0)) || name.contains(QChar(0x2215))));
  if (part) {
    FUZZ_CHECK(!part->contains(u'/') && !part->contains(QChar(0)));
    FUZZ_CHECK(download::NameFromPart(*part) == name);
  }

  if (const std::optional<QString> folder = download::NameFolder(kDir, name)) {
    FUZZ_CHECK(part && *folder == download::WallpapersFolder(kDir) + u'/' + *part);
    FUZZ_CHECK(FitsAFileName(CheckOneStep(*folder, download::WallpapersFolder(kDir))));
    CheckOneStep(download::WallpaperFile(*folder, QStringLiteral("1024x768"), name, QStringLiteral("41237")),
                 *folder + QStringLiteral("/1024x768"));
    FUZZ_CHECK(download::PreviewFileOf(kDir, name) == *folder + QStringLiteral("/Preview.jpg"));
  } else {
    FUZZ_CHECK(download::PreviewFileOf(kDir, name).isEmpty());
  }

  if (const std::optional<QString> thumbnail = download::ThumbnailPath(kDir, name)) {
    FUZZ_CHECK(part && *thumbnail == download::AllGirlsFolder(kDir) + u'/' + *part + QStringLiteral(".jpg"));
    FUZZ_CHECK(FitsAFileName(CheckOneStep(*thumbnail, download::AllGirlsFolder(kDir))));
  }
  return 0;
}
