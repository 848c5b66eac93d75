#pragma once
// The nine wallpaper sizes the site offers, and the set of them a user keeps.

#include <QString>
#include <QStringList>
#include <array>
#include <bitset>
#include <optional>

namespace download {

enum TResolution {
  tr1152x864,
  tr1280x800,
  tr1280x960,
  tr1280x1024,
  tr1440x900,
  tr1600x1200,
  tr1680x1050,
  tr1920x1200,
  tr1024x768,
};
inline constexpr int kResolutionCount = 9;

// A set of sizes, indexed by TResolution.
class TResParams {
 public:
  void Include(TResolution r) { Bits_.set(r); }
  void Exclude(TResolution r) { Bits_.reset(r); }
  bool Contains(TResolution r) const { return Bits_.test(r); }
  bool Empty() const { return Bits_.none(); }
  static TResParams All() {
    TResParams p;
    p.Bits_.set();
    return p;
  }
  friend bool operator==(const TResParams&, const TResParams&) = default;

 private:
  std::bitset<kResolutionCount> Bits_;
};

// "1152x864" for tr1152x864: the text used in links, folder names and settings.
QString SizeText(TResolution r);

// The size whose text equals `text` exactly, if any.
std::optional<TResolution> ResolutionFromText(const QString& text);

// The size folders in the order a run creates them.
const std::array<TResolution, kResolutionCount>& FolderOrder();

// Whether a link's size text names one of the kept sizes; an unknown text never does.
bool ResSelected(const TResParams& params, const QString& size);

}  // namespace download
