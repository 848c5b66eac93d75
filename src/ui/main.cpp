// Program entry: the application, the engine's hand-offs wired to the event loop,
// the folder's lock, the main window, then the About window, then the loop until
// the main window closes.

#include <QApplication>
#include <QDir>
#include <QMetaObject>
#include <cstdio>

#include "control/FolderLock.h"
#include "control/IniFile.h"
#include "control/LastSession.h"
#include "download/DiskLayout.h"
#include "task/MainThread.h"
#include "ui/Artwork.h"
#include "ui/DesktopPlatform.h"
#include "ui/Environment.h"
#include "ui/TAbout.h"
#include "ui/TForm1.h"

namespace {

int RunWindows(const QString& dir, ui::TPlatform& platform) {
  ui::TEnvironment environment = ui::CompiledEnvironment(dir, platform);
  // An optional [Site] section of Settings.ini points the program at another site.
  control::TIniFile settings;
  settings.Load(download::SettingsFilePath(environment.Dir));
  environment.Site = control::ReadSiteUrls(settings, environment.Site);

  ui::TForm1 Form1(environment);
  ui::TAbout About(environment);  // hidden until "About" is pressed
  Form1.About = &About;
  Form1.show();
  return QApplication::exec();
}

// Taken before anything in the folder is read or written, and held until the
// windows are gone: a second copy here ends without touching a file.
int RunInWorkingFolder(ui::TPlatform& platform) {
  const QString dir = QDir::currentPath();
  const control::TFolderLock lock(dir);
  if (lock.State() == control::TFolderLock::TState::HeldByAnother) {
    platform.ShowMessage(lock.AnotherCopyMessage());
    return 1;
  }
  if (lock.State() == control::TFolderLock::TState::Unavailable)
    std::fprintf(stderr, "ostrana: no lock file can be made in %s, so a second copy started there would not be noticed\n",
                 qPrintable(dir));
  lock.RemoveLeftovers();
  return RunWindows(dir, platform);
}

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  app.setWindowIcon(ui::ApplicationIcon());
  // Matches the windows to the installed desktop entry (its icon, its name in
  // the task bar and the notifications).
  QGuiApplication::setDesktopFileName(QStringLiteral(OSTRANA_APP_ID));

  // A task thread that queues a call for the UI thread wakes the event loop,
  // which then runs every queued call.
  task::SetWakeUpHook([] {
    QMetaObject::invokeMethod(qApp, [] { task::CheckSynchronize(); }, Qt::QueuedConnection);
  });

  int result = 1;
  {
    ui::TDesktopPlatform platform;
    const QString problem = qEnvironmentVariable("OSTRANA_LAUNCH_PROBLEM");
    if (!problem.isEmpty()) {
      // The menu's launcher could not give the program its folder; a menu
      // start shows no standard error, so the program says why and ends,
      // touching nothing.
      platform.ShowMessage(problem);
    } else {
      result = RunInWorkingFolder(platform);
    }
  }
  // Removed before the application object goes, so a late wake-up never posts
  // to an event loop that no longer exists.
  task::SetWakeUpHook({});
  return result;
}
