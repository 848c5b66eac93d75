#pragma once
// A platform layer for tests: it records every request and carries none out, so
// no program is opened, no sound plays, no notification shows and no message
// box waits for a click.

#include <QString>
#include <atomic>
#include <mutex>
#include <optional>
#include <vector>

#include "ui/Platform.h"

namespace ui {

struct TPlatformCall {
  enum class TKind { Open, ShowSelected, PlayDoneSound, ShowMessage, NotifyRunDone, ShowLauncherProgress };
  TKind Kind;
  QString Text;     // the target, path or message; empty for the sound, the notice and the progress
  bool OnUiThread;  // made on the application's thread, as the interface requires
  TRunNotice Notice = {};                // NotifyRunDone's
  std::optional<double> Progress = {};   // ShowLauncherProgress's
};

class TRecordingPlatform final : public TPlatform {
 public:
  bool Open(const QString& target) override;
  void ShowSelected(const QString& path, std::function<void()> failed) override;
  void PlayDoneSound() override;
  void ShowMessage(const QString& text) override;
  void NotifyRunDone(const TRunNotice& notice) override;
  void ShowLauncherProgress(std::optional<double> fraction) override;

  std::vector<TPlatformCall> Calls() const;
  std::vector<TPlatformCall> Calls(TPlatformCall::TKind kind) const;
  int Count(TPlatformCall::TKind kind) const;
  void Clear();

  // Plays a desktop with no program to open anything: Open answers false and
  // ShowSelected reports its failure at once.
  std::atomic<bool> NothingOpens{false};

 private:
  void Record(TPlatformCall call);

  mutable std::mutex Mutex_;  // a misbehaving caller on another thread must not corrupt the record
  std::vector<TPlatformCall> Recorded_;
};

}  // namespace ui
