// A Settings.ini or Batch.ini as found on disk: loaded, read for the last
// session, the site addresses and the batch list, and saved back the way the
// program does when it closes.
// Input: the file's bytes.

#include <QFile>

#include "fuzz/FuzzSupport.h"
#include "control/BatchList.h"
#include "control/IniFile.h"
#include "control/LastSession.h"

namespace {

QString ScratchFile(const char* name) { return fuzz::ScratchFolder() + u'/' + QLatin1String(name); }

void Write(const QString& path, const uint8_t* data, size_t size) {
  QFile file(path);
  if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
      file.write(reinterpret_cast<const char*>(data), static_cast<qint64>(size)) != static_cast<qint64>(size)) {
    std::fprintf(stderr, "fuzz: cannot write %s\n", qPrintable(path));
    std::abort();
  }
}

QByteArray Read(const QString& path) {
  QFile file(path);
  FUZZ_CHECK(file.open(QIODevice::ReadOnly));
  return file.readAll();
}

bool Same(const control::TLastSession& a, const control::TLastSession& b) {
  return a.Name == b.Name && a.Threads == b.Threads && a.AllResolutions == b.AllResolutions && a.Sizes == b.Sizes;
}

bool Same(const site::TSiteUrls& a, const site::TSiteUrls& b) {
  return a.MainSiteUrl == b.MainSiteUrl && a.WallpaperHostUrl == b.WallpaperHostUrl &&
         a.ImageHostUrl == b.ImageHostUrl;
}

// What one load gives the program.
struct TRead {
  QStringList Sections;
  control::TLastSession Session;
  site::TSiteUrls Urls;
  QList<control::TBatchEntry> Batch;

  explicit TRead(const control::TIniFile& ini)
      : Sections(ini.ReadSections()),
        Session(control::ReadLastSession(ini)),
        Urls(control::ReadSiteUrls(ini, site::TSiteUrls{})),
        Batch(control::ReadBatchList(ini)) {}

  bool operator==(const TRead& other) const {
    return Sections == other.Sections && Same(Session, other.Session) && Same(Urls, other.Urls) &&
           Batch == other.Batch;
  }
};

void CheckRead(const TRead& read) {
  for (const QString& section : read.Sections)
    FUZZ_CHECK(!section.trimmed().isEmpty() && !section.contains(u'\r') && !section.contains(u'\n'));
  const int threads = control::ThreadCountFromText(read.Session.Threads);
  FUZZ_CHECK(threads >= control::kMinThreads && threads <= control::kMaxThreads);
  FUZZ_CHECK(!read.Urls.MainSiteUrl.endsWith(u'/') && !read.Urls.WallpaperHostUrl.endsWith(u'/'));
  FUZZ_CHECK(read.Urls.ImageHostUrl.endsWith(u'/'));
}

// Every line the save writes is a section, a key, a comment or blank: a name
// that held a line break would leave a piece of itself on a line of its own.
void CheckSavedLines(const QByteArray& saved) {
  for (const QByteArray& raw : saved.split('\n')) {
    const QByteArray line = raw.trimmed();
    FUZZ_CHECK(line.isEmpty() || line.startsWith(';') || line.startsWith('#') ||
               (line.startsWith('[') && line.endsWith(']')) || line.contains('='));
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const QString input = ScratchFile("input.ini");
  static const QString first = ScratchFile("first.ini");
  static const QString second = ScratchFile("second.ini");
  Write(input, data, size);

  control::TIniFile ini;
  const control::TIniFile::TLoadStatus status = ini.Load(input);
  const TRead read(ini);
  CheckRead(read);
  FUZZ_CHECK(control::LoadBatchFile(input) == read.Batch);
  if (status != control::TIniFile::TLoadStatus::Loaded) {
    FUZZ_CHECK(status == control::TIniFile::TLoadStatus::Invalid && read.Sections.isEmpty());
    return 0;
  }

  // Saved as it was loaded: it reads back the same, and saves to the same bytes.
  FUZZ_CHECK(ini.Save(first));
  const QByteArray saved = Read(first);
  CheckSavedLines(saved);
  control::TIniFile again;
  FUZZ_CHECK(again.Load(first) == control::TIniFile::TLoadStatus::Loaded);
  FUZZ_CHECK(TRead(again) == read);
  FUZZ_CHECK(again.Save(second));
  FUZZ_CHECK(Read(second) == saved);

  // The program writes back what it read when it closes: that adds the
  // sections that were missing, and changes nothing it reads.
  control::WriteLastSession(again, read.Session);
  control::WriteBatchList(again, read.Batch);
  const TRead written(again);
  FUZZ_CHECK(Same(written.Session, read.Session) && Same(written.Urls, read.Urls));
  FUZZ_CHECK(written.Batch.mid(0, read.Batch.size()) == read.Batch);
  FUZZ_CHECK(again.Save(second));
  CheckSavedLines(Read(second));
  control::TIniFile closed;
  FUZZ_CHECK(closed.Load(second) == control::TIniFile::TLoadStatus::Loaded);
  FUZZ_CHECK(TRead(closed) == written);
  return 0;
}
