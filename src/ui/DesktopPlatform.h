#pragma once
// The platform layer of a Linux desktop: the desktop's URL handlers, the
// freedesktop file manager interface over D-Bus, and libcanberra for the sound.

#include <QDBusConnection>
#include <QObject>

#include "ui/Platform.h"

struct ca_context;

namespace ui {

class TDesktopPlatform final : public TPlatform {
 public:
  // `bus` is where the file manager is asked to show items: the session bus by default.
  explicit TDesktopPlatform(const QDBusConnection& bus = QDBusConnection::sessionBus());
  ~TDesktopPlatform() override;
  TDesktopPlatform(const TDesktopPlatform&) = delete;
  TDesktopPlatform& operator=(const TDesktopPlatform&) = delete;

  void Open(const QString& target) override;
  void ShowSelected(const QString& path) override;
  void PlayDoneSound() override;
  void ShowMessage(const QString& text) override;

 private:
  QDBusConnection Bus;
  QObject Replies;  // owns the watchers of calls still waiting for an answer
  ca_context* Sound = nullptr;
};

}  // namespace ui
