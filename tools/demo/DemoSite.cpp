// The demo: a small wallpaper site on loopback with a few names, for trying
// the program without a network. It points the working folder's Settings.ini
// at itself ([Site]), fills in a name when none was saved, and serves until
// it is stopped (SIGINT or SIGTERM).

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <csignal>
#include <cstdio>

#include "control/IniFile.h"
#include "control/LastSession.h"
#include "fixture/FixtureSite.h"
#include "fixture/Jpeg.h"

namespace {

volatile std::sig_atomic_t stopRequested = 0;
void OnSignal(int) { stopRequested = 1; }

struct Size {
  const char* text;
  int width, height;
};

const Size kSizes[] = {{"1024x768", 1024, 768}, {"1280x1024", 1280, 1024}, {"1600x1200", 1600, 1200},
                       {"1920x1200", 1920, 1200}, {"1280x800", 1280, 800}};

// A name whose wallpapers come in several sizes; every seventh has no image on
// the host and every eleventh is too narrow to keep, so the log shows failures too.
fixture::TSiteName DemoName(const QString& name, int pages, int perPage, int firstId) {
  fixture::TSiteName site;
  site.Name = name;
  site.Slug = fixture::SiteSlug(name);
  int n = 0;
  for (int p = 0; p < pages; ++p) {
    QList<fixture::TWallpaper> page;
    for (int i = 0; i < perPage; ++i, ++n) {
      const Size& s = kSizes[n % std::size(kSizes)];
      fixture::TWallpaper w;
      w.Id = QString::number(firstId + n);
      w.Size = QString::fromLatin1(s.text);
      if (n % 7 != 6) w.Image = n % 11 == 10 ? fixture::MakeJpeg(299, 200, n) : fixture::MakeJpeg(s.width, s.height, firstId + n);
      page << w;
    }
    site.Pages << page;
  }
  return site;
}

bool PointSettingsAt(const QString& dir, const fixture::TFixtureSite& site, const QString& demoName) {
  const QString path = dir + QStringLiteral("/Settings.ini");
  control::TIniFile ini;
  const control::TIniFile::TLoadStatus status = ini.Load(path);
  if (status == control::TIniFile::TLoadStatus::Unreadable || status == control::TIniFile::TLoadStatus::Invalid) {
    std::fprintf(stderr, "demo: %s cannot be read; leaving it alone\n", qPrintable(path));
    return false;
  }
  ini.WriteString("Site", "MainSiteUrl", site.MainSiteUrl());
  ini.WriteString("Site", "WallpaperHostUrl", site.WallpaperHostUrl());
  ini.WriteString("Site", "ImageHostUrl", site.ImageHostUrl());
  if (control::ReadLastSession(ini).Name.isEmpty()) {
    control::TLastSession session;
    session.Name = demoName;
    for (const Size& s : kSizes) session.Sizes[*download::ResolutionFromText(QString::fromLatin1(s.text))] = true;
    control::WriteLastSession(ini, session);
  }
  const download::TWriteResult saved = ini.Save(path);
  if (!saved) std::fprintf(stderr, "demo: %s\n", qPrintable(saved.Describe()));
  return bool(saved);
}

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  const QStringList args = app.arguments();
  const qsizetype at = args.indexOf("--workdir");
  if (at < 0 || at + 1 >= args.size()) {
    std::fprintf(stderr, "usage: %s --workdir DIR\n", argv[0]);
    return 2;
  }
  const QString dir = QDir(args[at + 1]).absolutePath();
  // The program keeps catalogue thumbnails only where AllGirls/ exists.
  if (!QDir().mkpath(dir + QStringLiteral("/AllGirls"))) {
    std::fprintf(stderr, "demo: cannot make %s\n", qPrintable(dir));
    return 1;
  }

  fixture::TFixtureSite site;
  const QStringList names{"Demo Model", "Sample O'Name", "Ann Other"};
  site.AddName(DemoName(names[0], 3, 12, 41001));
  site.AddName(DemoName(names[1], 1, 9, 52001));
  site.AddName(DemoName(names[2], 2, 6, 63001));
  site.SetNamesIndex(names);
  if (!PointSettingsAt(dir, site, names[0])) return 1;

  std::printf("demo site at %s, images at %s, working folder %s\n", qPrintable(site.MainSiteUrl()),
              qPrintable(site.ImageHostUrl()), qPrintable(dir));
  std::fflush(stdout);
  // The run script waits for this file before it starts the program.
  QFile ready(dir + QStringLiteral("/.demo-ready"));
  ready.open(QIODevice::WriteOnly);
  ready.close();

  // Blocked between the checks, so a signal cannot slip in before the wait.
  sigset_t stopSignals, waiting;
  sigemptyset(&stopSignals);
  sigaddset(&stopSignals, SIGINT);
  sigaddset(&stopSignals, SIGTERM);
  sigprocmask(SIG_BLOCK, &stopSignals, &waiting);
  sigdelset(&waiting, SIGINT);
  sigdelset(&waiting, SIGTERM);
  std::signal(SIGINT, OnSignal);
  std::signal(SIGTERM, OnSignal);
  while (!stopRequested) sigsuspend(&waiting);
  QFile::remove(ready.fileName());
  return 0;
}
