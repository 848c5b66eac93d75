#pragma once
// A platform layer for tests: it records every request and carries none out, so
// no program is opened, no sound plays and no message box waits for a click.

#include <QString>
#include <mutex>
#include <vector>

#include "ui/Platform.h"

namespace ui {

struct TPlatformCall {
  enum class TKind { Open, ShowSelected, PlayDoneSound, ShowMessage };
  TKind Kind;
  QString Text;     // the target, path or message; empty for the sound
  bool OnUiThread;  // made on the application's thread, as the interface requires
};

class TRecordingPlatform final : public TPlatform {
 public:
  void Open(const QString& target) override;
  void ShowSelected(const QString& path) override;
  void PlayDoneSound() override;
  void ShowMessage(const QString& text) override;

  std::vector<TPlatformCall> Calls() const;
  int Count(TPlatformCall::TKind kind) const;
  void Clear();

 private:
  void Record(TPlatformCall::TKind kind, const QString& text);

  mutable std::mutex Mutex;  // a misbehaving caller on another thread must not corrupt the record
  std::vector<TPlatformCall> Recorded;
};

}  // namespace ui
