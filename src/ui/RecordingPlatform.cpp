#include "ui/RecordingPlatform.h"

#include <QCoreApplication>
#include <QThread>
#include <algorithm>

namespace ui {

using TKind = TPlatformCall::TKind;

bool TRecordingPlatform::Open(const QString& target) {
  Record({TKind::Open, target, false});
  return !NothingOpens && !target.isEmpty();
}

void TRecordingPlatform::ShowSelected(const QString& path, std::function<void()> failed) {
  Record({TKind::ShowSelected, path, false});
  if (NothingOpens && failed) failed();
}

void TRecordingPlatform::PlayDoneSound() { Record({TKind::PlayDoneSound, {}, false}); }

void TRecordingPlatform::ShowMessage(const QString& text) { Record({TKind::ShowMessage, text, false}); }

void TRecordingPlatform::NotifyRunDone(const TRunNotice& notice) {
  Record({TKind::NotifyRunDone, {}, false, notice});
}

void TRecordingPlatform::ShowLauncherProgress(std::optional<double> fraction) {
  Record({TKind::ShowLauncherProgress, {}, false, {}, fraction});
}

std::vector<TPlatformCall> TRecordingPlatform::Calls() const {
  std::lock_guard lock(Mutex_);
  return Recorded_;
}

std::vector<TPlatformCall> TRecordingPlatform::Calls(TKind kind) const {
  std::lock_guard lock(Mutex_);
  std::vector<TPlatformCall> calls;
  std::copy_if(Recorded_.begin(), Recorded_.end(), std::back_inserter(calls),
               [kind](const TPlatformCall& call) { return call.Kind == kind; });
  return calls;
}

int TRecordingPlatform::Count(TKind kind) const { return int(Calls(kind).size()); }

void TRecordingPlatform::Clear() {
  std::lock_guard lock(Mutex_);
  Recorded_.clear();
}

void TRecordingPlatform::Record(TPlatformCall call) {
  const QCoreApplication* app = QCoreApplication::instance();
  call.OnUiThread = app && QThread::currentThread() == app->thread();
  std::lock_guard lock(Mutex_);
  Recorded_.push_back(std::move(call));
}

}  // namespace ui
