#include "ui/DesktopPlatform.h"

#include <canberra.h>

#include <QApplication>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDesktopServices>
#include <QDir>
#include <QMessageBox>
#include <QStringList>

#include "ui/PlatformTargets.h"

namespace ui {

namespace {

const QString kFileManagerService = "org.freedesktop.FileManager1";
const QString kFileManagerPath = "/org/freedesktop/FileManager1";
const QString kFileManagerInterface = "org.freedesktop.FileManager1";

}  // namespace

TDesktopPlatform::TDesktopPlatform(const QDBusConnection& bus) : Bus(bus) {}

TDesktopPlatform::~TDesktopPlatform() {
  if (Sound) ca_context_destroy(Sound);
}

void TDesktopPlatform::Open(const QString& target) {
  const QUrl url = UrlForTarget(target);
  if (url.isValid()) QDesktopServices::openUrl(url);
}

void TDesktopPlatform::ShowSelected(const QString& path) {
  const QString folder = ContainingFolder(path);
  if (!Bus.isConnected()) {
    Open(folder);
    return;
  }
  QDBusMessage call = QDBusMessage::createMethodCall(kFileManagerService, kFileManagerPath,
                                                     kFileManagerInterface, "ShowItems");
  const QUrl item = QUrl::fromLocalFile(QDir::cleanPath(path));
  call << QStringList{item.toString(QUrl::FullyEncoded)} << QString();
  // Asynchronous: a file manager that is slow to start must not freeze the window.
  auto* watcher = new QDBusPendingCallWatcher(Bus.asyncCall(call), &Replies);
  QObject::connect(watcher, &QDBusPendingCallWatcher::finished, &Replies,
                   [this, folder](QDBusPendingCallWatcher* finished) {
                     // No file manager service, or it refused: the folder at least.
                     if (finished->isError()) Open(folder);
                     finished->deleteLater();
                   });
}

void TDesktopPlatform::PlayDoneSound() {
  if (!Sound) {
    if (ca_context_create(&Sound) != CA_SUCCESS) {
      Sound = nullptr;
      return;
    }
    ca_context_change_props(Sound, CA_PROP_APPLICATION_NAME, "Ostrana Downloader", nullptr);
  }
  // The desktop's own "complete" event sound. canberra plays it on a thread of its
  // own; with no sound device or no sound theme the call fails, and that is fine.
  ca_context_play(Sound, 0, CA_PROP_EVENT_ID, "complete", CA_PROP_EVENT_DESCRIPTION,
                  "Download finished", nullptr);
}

void TDesktopPlatform::ShowMessage(const QString& text) {
  QMessageBox box(QMessageBox::NoIcon, QGuiApplication::applicationDisplayName(), text,
                  QMessageBox::Ok, QApplication::activeWindow());
  box.setTextFormat(Qt::PlainText);
  box.exec();
}

}  // namespace ui
