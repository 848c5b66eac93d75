#pragma once
// The user's last choices, as Settings.ini keeps them in "Last Session", and
// the site addresses an optional [Site] section puts in place of the defaults.

#include <QString>
#include <array>
#include <optional>

#include "control/IniFile.h"
#include "download/Resolution.h"
#include "site/SiteUrls.h"

namespace control {

struct TLastSession {
  QString Name;
  QString Threads = QStringLiteral("10");  // the field's text, as typed
  bool AllResolutions = false;
  std::array<bool, download::kResolutionCount> Sizes{};  // indexed by TResolution

  TLastSession() { Sizes[download::tr1024x768] = true; }
};

inline constexpr int kMinThreads = 1;
inline constexpr int kMaxThreads = 50;

// Reads the twelve keys; a box counts as checked only for exactly "Yes", and a
// missing key takes its default (only 1024x768 is "Yes"). A number outside
// 1 to 50 in "Threads" is brought to the nearer bound; other text stays as it is.
TLastSession ReadLastSession(const TIniFile& ini);

// Writes the twelve keys in their order; every other key and section stays.
void WriteLastSession(TIniFile& ini, const TLastSession& session);

// The whole decimal number `text` stands for (blanks around it aside), brought
// into min to max; nullopt for any other text. A number too long for any count
// still counts as beyond the bound its sign points to.
std::optional<int> NumberInRange(const QString& text, int min, int max);

// The worker count a thread field's text stands for: a number within 1 to 50
// (brought there if outside), and 1 for text that is not a number.
int ThreadCountFromText(const QString& text);

// The [Site] addresses, each falling back to `defaults` when absent or empty;
// MainSiteUrl and WallpaperHostUrl without a trailing slash, ImageHostUrl with one.
site::TSiteUrls ReadSiteUrls(const TIniFile& ini, const site::TSiteUrls& defaults);

}  // namespace control
