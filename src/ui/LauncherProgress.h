#pragma once
// What the launcher's progress shows of the run's progress bar. The bar moves
// once per wallpaper; the launcher is told only when the whole percent it
// shows changes, so a run sends at most about a hundred updates over D-Bus.

#include <optional>

namespace ui {

class TLauncherProgress {
 public:
  // Takes the bar's state; true when the launcher must be told, and Shown()
  // is then what to tell it.
  bool Step(bool visible, int position, int maximum);
  // The fraction shown (whole percents), or none while hidden.
  std::optional<double> Shown() const;

 private:
  int Percent_ = -1;  // -1: hidden, as at start
};

}  // namespace ui
