#pragma once
// The platform layer of a Linux desktop: the desktop's URL handlers, the
// freedesktop file manager and notification interfaces and the launcher's
// progress over D-Bus, and libcanberra for the sound.

#include <QDBusConnection>
#include <QObject>

#include "ui/DesktopNotifications.h"
#include "ui/Platform.h"

struct ca_context;

namespace ui {

class TDesktopPlatform final : public TPlatform {
 public:
  // `bus` is where the file manager, the notification server and the launcher
  // are reached: the session bus by default. Without one, none of them is.
  explicit TDesktopPlatform(const QDBusConnection& bus = QDBusConnection::sessionBus());
  ~TDesktopPlatform() override;
  TDesktopPlatform(const TDesktopPlatform&) = delete;
  TDesktopPlatform& operator=(const TDesktopPlatform&) = delete;

  bool Open(const QString& target) override;
  void ShowSelected(const QString& path, std::function<void()> failed) override;
  void PlayDoneSound() override;
  void ShowMessage(const QString& text) override;
  void NotifyRunDone(const TRunNotice& notice) override;
  void ShowLauncherProgress(std::optional<double> fraction) override;

 private:
  QDBusConnection Bus_;
  QObject Replies_;  // owns the watchers of calls still waiting for an answer
  TDesktopNotifications Notifications_;
  ca_context* Sound_ = nullptr;
};

}  // namespace ui
