#pragma once
// What the program asks of the desktop it runs on. The windows and the run
// controller reach the desktop only through this, so tests can put a recording
// implementation in its place. Called on the UI thread.

#include <QString>
#include <functional>
#include <optional>

#include "ui/RunNotice.h"

namespace ui {

class TPlatform {
 public:
  virtual ~TPlatform() = default;

  // Opens a file or folder (an absolute path) with its associated program, or a
  // web address in the browser. False when no program could be started for it
  // (no opener installed) or `target` is empty.
  virtual bool Open(const QString& target) = 0;

  // Shows the file manager with the file or folder `path` selected in its parent
  // folder; when the file manager cannot do that, opens the parent folder. The
  // answer may come later: when neither worked, `failed` runs then, on the UI thread.
  virtual void ShowSelected(const QString& path, std::function<void()> failed) = 0;

  // Plays the end-of-run sound in the background; nothing when there is no sound device.
  virtual void PlayDoneSound() = 0;

  // A modal message box with an OK button; returns when the user has closed it.
  virtual void ShowMessage(const QString& text) = 0;

  // Tells the desktop that a run, or a batch of them, has ended: a notification
  // that opens `notice.Folder` when clicked. Nothing where the desktop shows none.
  virtual void NotifyRunDone(const TRunNotice& notice) = 0;

  // The run's progress (0 to 1) on the program's icon in the desktop's launcher;
  // none hides it. Nothing where the launcher shows no progress.
  virtual void ShowLauncherProgress(std::optional<double> fraction) = 0;
};

}  // namespace ui
