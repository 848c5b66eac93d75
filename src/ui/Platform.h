#pragma once
// What the program asks of the desktop it runs on. The windows and the run
// controller reach the desktop only through this, so tests can put a recording
// implementation in its place. Called on the UI thread.

#include <QString>

namespace ui {

class TPlatform {
 public:
  virtual ~TPlatform() = default;

  // Opens a file or folder (an absolute path) with its associated program, or a
  // web address in the browser. Failures are ignored.
  virtual void Open(const QString& target) = 0;

  // Shows the file manager with the file or folder `path` selected in its parent
  // folder; when the file manager cannot do that, opens the parent folder.
  virtual void ShowSelected(const QString& path) = 0;

  // Plays the end-of-run sound in the background; nothing when there is no sound device.
  virtual void PlayDoneSound() = 0;

  // A modal message box with an OK button; returns when the user has closed it.
  virtual void ShowMessage(const QString& text) = 0;
};

}  // namespace ui
