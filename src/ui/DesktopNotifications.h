#pragma once
// Desktop notifications over D-Bus (org.freedesktop.Notifications): sends
// them, and opens a notification's folder when the user clicks it.

#include <QDBusConnection>
#include <QObject>
#include <QString>
#include <deque>
#include <functional>
#include <utility>

#include "ui/RunNotice.h"

namespace ui {

class TDesktopNotifications : public QObject {
  Q_OBJECT

 public:
  // `open` opens a folder; called when a notification of ours is clicked.
  TDesktopNotifications(const QDBusConnection& bus, std::function<bool(const QString&)> open);

  // Sends the notification without waiting for the server; nothing without a bus.
  void Notify(const TRunNotice& notice);

  // Notifications the server has not closed yet, kept this many at most.
  static constexpr std::size_t kMaxOpen = 32;

 private slots:
  void ActionInvoked(uint id, const QString& action);
  void NotificationClosed(uint id, uint reason);

 private:
  QDBusConnection Bus_;
  std::function<bool(const QString&)> OpenFolder_;
  std::deque<std::pair<uint, QString>> Open_;  // id, folder; oldest first
};

}  // namespace ui
