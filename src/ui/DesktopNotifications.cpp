#include "ui/DesktopNotifications.h"

#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QGuiApplication>
#include <QVariantMap>
#include <algorithm>

namespace ui {

namespace {

const QString kService = "org.freedesktop.Notifications";
const QString kPath = "/org/freedesktop/Notifications";
const QString kInterface = "org.freedesktop.Notifications";
const QString kDefaultAction = "default";  // what a click on the notification itself invokes

}  // namespace

TDesktopNotifications::TDesktopNotifications(const QDBusConnection& bus,
                                             std::function<bool(const QString&)> open)
    : Bus_(bus), OpenFolder_(std::move(open)) {
  if (!Bus_.isConnected()) return;
  // Any sender: a peer connection has no bus names, and the ids we sent tell
  // our notifications apart.
  Bus_.connect(QString(), kPath, kInterface, "ActionInvoked", this, SLOT(ActionInvoked(uint, QString)));
  Bus_.connect(QString(), kPath, kInterface, "NotificationClosed", this, SLOT(NotificationClosed(uint, uint)));
}

void TDesktopNotifications::Notify(const TRunNotice& notice) {
  if (!Bus_.isConnected()) return;
  const TNoticeText text = NoticeText(notice);
  const QString entry = QGuiApplication::desktopFileName();
  QVariantMap hints{{"category", QStringLiteral("transfer.complete")},
                    {"suppress-sound", true}};  // the chime has played already
  if (!entry.isEmpty()) hints["desktop-entry"] = entry;
  QDBusMessage call = QDBusMessage::createMethodCall(kService, kPath, kInterface, "Notify");
  call << QStringLiteral("Ostrana Downloader") << uint(0) << entry << text.Summary << text.Body
       << QStringList{kDefaultAction, QStringLiteral("Open Folder")} << hints << int(-1);
  // Asynchronous: a notification server that is slow to start must not freeze the window.
  auto* watcher = new QDBusPendingCallWatcher(Bus_.asyncCall(call), this);
  connect(watcher, &QDBusPendingCallWatcher::finished, this,
          [this, folder = notice.Folder](QDBusPendingCallWatcher* finished) {
            const QDBusPendingReply<uint> reply = *finished;
            if (!reply.isError()) {
              Open_.emplace_back(reply.value(), folder);
              // A server that never says it closed one must not make the list grow.
              if (Open_.size() > kMaxOpen) Open_.pop_front();
            }
            finished->deleteLater();
          });
}

void TDesktopNotifications::ActionInvoked(uint id, const QString& action) {
  if (action != kDefaultAction) return;
  const auto it = std::find_if(Open_.begin(), Open_.end(), [id](const auto& open) { return open.first == id; });
  if (it != Open_.end()) OpenFolder_(it->second);
}

void TDesktopNotifications::NotificationClosed(uint id, uint) {
  std::erase_if(Open_, [id](const auto& open) { return open.first == id; });
}

}  // namespace ui
