#pragma once
// Decodes the preview pictures the window shows on a thread of its own, so a
// huge or hostile file never holds the window: each request abandons the
// decode of the one before it, and closing abandons the one in progress.

#include <QImage>
#include <QSize>
#include <QString>
#include <atomic>
#include <functional>
#include <memory>

#include "task/SmartTask.h"

namespace ui {

class TPreviewLoader {
 public:
  using TDone = std::function<void(const QImage& picture)>;

  // `box` is the size pictures are made for; `terminating` the program's closing flag.
  TPreviewLoader(QSize box, std::shared_ptr<const std::atomic<bool>> terminating);
  ~TPreviewLoader();
  TPreviewLoader(const TPreviewLoader&) = delete;
  TPreviewLoader& operator=(const TPreviewLoader&) = delete;

  // Decodes the file at `path` and hands the picture (null when the file is no
  // picture to show) to `done` on the UI thread, unless a newer Load or a
  // Cancel came first. UI thread only.
  void Load(const QString& path, TDone done);
  // Drops the request in progress: its decode is abandoned and `done` never runs.
  void Cancel();
  // A request whose `done` has not run yet.
  bool Pending() const;

 private:
  struct TRequest;

  const QSize Box_;
  const std::shared_ptr<const std::atomic<bool>> Terminating_;
  std::shared_ptr<TRequest> Current_;
  task::TSmartTask Task_;
};

}  // namespace ui
