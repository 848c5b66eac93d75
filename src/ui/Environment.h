#pragma once
// What the main window is created with: where it works, which site it talks to,
// and the desktop it runs on. The program entry passes the real ones; tests pass
// a temporary folder, the fixture site's addresses and a recording platform.

#include <QString>
#include <chrono>

#include "download/DownloadRun.h"
#include "site/Fetch.h"
#include "site/SiteUrls.h"

namespace ui {

class TPlatform;

struct TEnvironment {
  QString Dir;               // working directory, without a trailing separator
  site::TSiteUrls Site;      // the site's three addresses
  QString MakerWebAddress;   // shown in the title and the About window
  QString DonationPageUrl;   // opened by the About window's donate picture
  TPlatform* Platform = nullptr;  // required; outlives the windows

  // Timing constants; tests shorten them.
  site::TFetchOptions Fetch;                            // the wait bound of every fetch
  download::TDownloadTimings Download;                             // the pause after each image fetch
  std::chrono::milliseconds TimerInterval{1000};        // the elapsed-time clock's tick
  std::chrono::milliseconds ShutdownBound{2000};        // how long closing waits for task threads
};

// The compiled-in values: the site on reserved .example hosts, which resolve
// nowhere, until the settings point the program at a real one.
TEnvironment CompiledEnvironment(const QString& dir, TPlatform& platform);

}  // namespace ui
