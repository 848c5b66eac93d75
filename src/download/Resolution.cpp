#include "download/Resolution.h"

namespace download {

namespace {
constexpr std::array<const char*, kResolutionCount> kTexts{
    "1152x864", "1280x800", "1280x960", "1280x1024", "1440x900", "1600x1200", "1680x1050", "1920x1200", "1024x768",
};
}  // namespace

QString SizeText(TResolution r) { return QString::fromLatin1(kTexts[r]); }

std::optional<TResolution> ResolutionFromText(const QString& text) {
  for (int i = 0; i < kResolutionCount; ++i)
    if (text == QLatin1String(kTexts[i])) return static_cast<TResolution>(i);
  return std::nullopt;
}

const std::array<TResolution, kResolutionCount>& FolderOrder() {
  static constexpr std::array<TResolution, kResolutionCount> order{
      tr1024x768, tr1152x864, tr1280x800, tr1280x960, tr1280x1024, tr1440x900, tr1600x1200, tr1680x1050, tr1920x1200,
  };
  return order;
}

bool ResSelected(const TResParams& params, const QString& size) {
  const auto r = ResolutionFromText(size);
  return r && params.Contains(*r);
}

}  // namespace download
