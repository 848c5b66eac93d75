#include "ui/PreviewLoader.h"

#include "task/MainThread.h"
#include "ui/PreviewPicture.h"

namespace ui {

struct TPreviewLoader::TRequest {
  QString Path;
  TDone Done;
  std::atomic<bool> Cancelled{false};  // read by the decoder between its steps
  bool Finished = false;               // UI thread only
};

TPreviewLoader::TPreviewLoader(QSize box, std::shared_ptr<const std::atomic<bool>> terminating)
    : Box_(box), Terminating_(std::move(terminating)) {
  Task_.ID("PreviewLoader");
}

TPreviewLoader::~TPreviewLoader() { Cancel(); }

void TPreviewLoader::Load(const QString& path, TDone done) {
  Cancel();
  auto request = std::make_shared<TRequest>();
  request->Path = path;
  request->Done = std::move(done);
  Current_ = request;
  const QSize box = Box_;
  const std::shared_ptr<const std::atomic<bool>> terminating = Terminating_;
  Task_.OnExecuteEvent([request, box, terminating](const task::TTaskThread&) {
    const QImage picture = LoadPreviewPicture(request->Path, box, {.Cancel = &request->Cancelled});
    task::Synchronize([&] {
      if (request->Cancelled || *terminating) return;
      request->Finished = true;
      request->Done(picture);
    });
  });
  try {
    Task_.Start();
  } catch (const std::system_error&) {
    // No thread to decode on: the file is shown as one that cannot be read.
    request->Finished = true;
    request->Done(QImage());
  }
}

void TPreviewLoader::Cancel() {
  if (Current_) Current_->Cancelled = true;
  Current_.reset();
}

bool TPreviewLoader::Pending() const { return Current_ && !Current_->Finished; }

}  // namespace ui
