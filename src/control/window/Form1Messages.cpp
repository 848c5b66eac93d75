// The main window's hand-offs from task threads: log lines, progress positions
// and preview updates as window messages, each handled on the UI thread while
// the sender waits; and the preview picture's own mouse actions.

#include <QFile>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <algorithm>

#include "task/MainThread.h"
#include "ui/PreviewLoader.h"
#include "ui/TForm1.h"
#include "ui/TImage.h"

namespace ui {

void TForm1::SendMessage(TMessage& msg) {
  task::Synchronize([&] {
    switch (msg.Msg) {
      case WM_IMAGE_UPDATE: MessageImageUpdate(msg); break;
      case WM_LOG_LINE: MessageLog(msg); break;
      case WM_PROGRESS_POS: MessageProg(msg); break;
      default: break;
    }
  });
}

void TForm1::AddLog(const QString& Event) {
  TMessage msg{WM_LOG_LINE, 0, reinterpret_cast<std::intptr_t>(Event.utf16()), 0};
  SendMessage(msg);
}

void TForm1::UpdateProgress(int Position) {
  TMessage msg{WM_PROGRESS_POS, 0, Position, 0};
  SendMessage(msg);
}

void TForm1::MessageLog(TMessage& msg) {
  const QString line = QString::fromUtf16(reinterpret_cast<const char16_t*>(msg.LParam));
  msg.Result = 1;
  Log->appendPlainText(line);
}

void TForm1::MessageProg(TMessage& msg) {
  msg.Result = 1;
  // Like the classic bar, a position outside the range is brought into it.
  ProgressValue_ = static_cast<int>(std::clamp<std::intptr_t>(msg.LParam, 0, ProgressMaximum_));
  Progress->setValue(ProgressValue_);
  ShowLauncherProgress();
}

void TForm1::SetProgressMax(int max) {
  ProgressMaximum_ = std::max(max, 0);
  ProgressValue_ = std::min(ProgressValue_, ProgressMaximum_);
  // A bar whose range is 0 to 0 would turn into a busy indicator.
  Progress->setRange(0, std::max(ProgressMaximum_, 1));
  Progress->setValue(ProgressValue_);
  ShowLauncherProgress();
}

void TForm1::MessageImageUpdate(TMessage& msg) {
  if (!QFile::exists(PreviewPath)) return;
  // The sender decoded PreviewPath already (LParam points to the picture), so
  // the UI thread only shows it. One that could not be decoded after all
  // leaves the last picture in place.
  const auto* picture = reinterpret_cast<const QImage*>(msg.LParam);
  if (picture && !picture->isNull()) SetPreview(*picture);
  Image1->repaint();
}

void TForm1::LoadPreview(const QString& path, std::function<void(const QImage&)> done) {
  PreviewLoader->Load(path, std::move(done));
}

void TForm1::ShowPreviewFile(const QString& path) {
  LoadPreview(path, [this](const QImage& picture) { Image1->SetPicture(picture); });
}

bool TForm1::ShowPictureOrClear(const QString& path, std::function<void(const QImage&)> shown) {
  if (path.isEmpty() || !QFile::exists(path)) {
    SetPreview(QImage());
    return false;
  }
  if (shown) {
    LoadPreview(path, std::move(shown));
  } else {
    ShowPreviewFile(path);
    CurrentPath = path;
  }
  return true;
}

void TForm1::SetPreview(const QImage& picture) {
  if (PreviewLoader) PreviewLoader->Cancel();
  Image1->SetPicture(picture);
}

bool TForm1::PreviewPending() const { return PreviewLoader && PreviewLoader->Pending(); }

void TForm1::Image1MouseDown(Qt::MouseButton button) {
  if (button == Qt::LeftButton) OpenOrLog(CurrentPath);
  if (button == Qt::RightButton) ShowSelectedOrLog(CurrentPath);
}

void TForm1::Image1MouseEnter() { Image10->setVisible(true); }
void TForm1::Image1MouseLeave() { Image10->setVisible(false); }

}  // namespace ui
