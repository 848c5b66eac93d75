#include "ui/RecordingPlatform.h"

#include <QCoreApplication>
#include <QThread>
#include <algorithm>

namespace ui {

void TRecordingPlatform::Open(const QString& target) { Record(TPlatformCall::TKind::Open, target); }

void TRecordingPlatform::ShowSelected(const QString& path) {
  Record(TPlatformCall::TKind::ShowSelected, path);
}

void TRecordingPlatform::PlayDoneSound() { Record(TPlatformCall::TKind::PlayDoneSound, {}); }

void TRecordingPlatform::ShowMessage(const QString& text) {
  Record(TPlatformCall::TKind::ShowMessage, text);
}

std::vector<TPlatformCall> TRecordingPlatform::Calls() const {
  std::lock_guard lock(Mutex);
  return Recorded;
}

int TRecordingPlatform::Count(TPlatformCall::TKind kind) const {
  std::lock_guard lock(Mutex);
  return int(std::count_if(Recorded.begin(), Recorded.end(),
                           [kind](const TPlatformCall& call) { return call.Kind == kind; }));
}

void TRecordingPlatform::Clear() {
  std::lock_guard lock(Mutex);
  Recorded.clear();
}

void TRecordingPlatform::Record(TPlatformCall::TKind kind, const QString& text) {
  const QCoreApplication* app = QCoreApplication::instance();
  const bool onUiThread = app && QThread::currentThread() == app->thread();
  std::lock_guard lock(Mutex);
  Recorded.push_back({kind, text, onUiThread});
}

}  // namespace ui
