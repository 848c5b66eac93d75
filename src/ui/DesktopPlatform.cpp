#include "ui/DesktopPlatform.h"

#include <canberra.h>

#include <QApplication>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDesktopServices>
#include <QDir>
#include <QGuiApplication>
#include <QMessageBox>
#include <QStringList>
#include <QVariantMap>
#include <algorithm>

#include "ui/PlatformTargets.h"

namespace ui {

namespace {

const QString kFileManagerService = "org.freedesktop.FileManager1";
const QString kFileManagerPath = "/org/freedesktop/FileManager1";
const QString kFileManagerInterface = "org.freedesktop.FileManager1";
// The launcher entry signal that docks and task managers (Dash to Dock, Plasma,
// Plank, ...) listen to; any object path of the sender will do.
const QString kLauncherPath = "/com/canonical/unity/launcherentry/ostrana";
const QString kLauncherInterface = "com.canonical.Unity.LauncherEntry";

}  // namespace

TDesktopPlatform::TDesktopPlatform(const QDBusConnection& bus)
    : Bus_(bus), Notifications_(bus, [this](const QString& folder) { return Open(folder); }) {}

TDesktopPlatform::~TDesktopPlatform() {
  if (Sound_) ca_context_destroy(Sound_);
}

bool TDesktopPlatform::Open(const QString& target) {
  const QUrl url = UrlForTarget(target);
  // False when no opener (xdg-open or the desktop's own) could be started.
  return url.isValid() && QDesktopServices::openUrl(url);
}

void TDesktopPlatform::ShowSelected(const QString& path, std::function<void()> failed) {
  const QString folder = ContainingFolder(path);
  if (!Bus_.isConnected()) {
    if (!Open(folder) && failed) failed();
    return;
  }
  QDBusMessage call = QDBusMessage::createMethodCall(kFileManagerService, kFileManagerPath,
                                                     kFileManagerInterface, "ShowItems");
  const QUrl item = QUrl::fromLocalFile(QDir::cleanPath(path));
  call << QStringList{item.toString(QUrl::FullyEncoded)} << QString();
  // Asynchronous: a file manager that is slow to start must not freeze the window.
  auto* watcher = new QDBusPendingCallWatcher(Bus_.asyncCall(call), &Replies_);
  QObject::connect(watcher, &QDBusPendingCallWatcher::finished, &Replies_,
                   [this, folder, failed](QDBusPendingCallWatcher* finished) {
                     // No file manager service, or it refused: the folder at least.
                     if (finished->isError() && !Open(folder) && failed) failed();
                     finished->deleteLater();
                   });
}

void TDesktopPlatform::PlayDoneSound() {
  if (!Sound_) {
    if (ca_context_create(&Sound_) != CA_SUCCESS) {
      Sound_ = nullptr;
      return;
    }
    ca_context_change_props(Sound_, CA_PROP_APPLICATION_NAME, "Ostrana Downloader", nullptr);
  }
  // The desktop's own "complete" event sound. canberra plays it on a thread of its
  // own; with no sound device or no sound theme the call fails, and that is fine.
  ca_context_play(Sound_, 0, CA_PROP_EVENT_ID, "complete", CA_PROP_EVENT_DESCRIPTION,
                  "Download finished", nullptr);
}

void TDesktopPlatform::ShowMessage(const QString& text) {
  QMessageBox box(QMessageBox::NoIcon, QGuiApplication::applicationDisplayName(), text,
                  QMessageBox::Ok, QApplication::activeWindow());
  box.setTextFormat(Qt::PlainText);
  box.exec();
}

void TDesktopPlatform::NotifyRunDone(const TRunNotice& notice) { Notifications_.Notify(notice); }

void TDesktopPlatform::ShowLauncherProgress(std::optional<double> fraction) {
  // The launcher finds the program's icon by its desktop entry.
  const QString entry = QGuiApplication::desktopFileName();
  if (!Bus_.isConnected() || entry.isEmpty()) return;
  QVariantMap properties{{"progress-visible", fraction.has_value()}};
  if (fraction) properties["progress"] = std::clamp(*fraction, 0.0, 1.0);
  QDBusMessage update = QDBusMessage::createSignal(kLauncherPath, kLauncherInterface, "Update");
  update << "application://" + entry + ".desktop" << properties;
  Bus_.send(update);
}

}  // namespace ui
