#include "ui/LauncherProgress.h"

#include <algorithm>

namespace ui {

bool TLauncherProgress::Step(bool visible, int position, int maximum) {
  // 64 bits: a bar of millions of positions must not overflow the product.
  const int percent =
      visible && maximum > 0 ? int(std::clamp<long long>(100LL * position / maximum, 0, 100)) : -1;
  if (percent == Percent_) return false;
  Percent_ = percent;
  return true;
}

std::optional<double> TLauncherProgress::Shown() const {
  if (Percent_ < 0) return std::nullopt;
  return Percent_ / 100.0;
}

}  // namespace ui
