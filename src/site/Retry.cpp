#include "site/Retry.h"

namespace site {

void DownloadPage(const QString& URL, QStringList& SL, const TRunContext& Run) {
  int tries = 0;
  for (;;) {
    const bool ok = FetchText(URL, SL, Run.Terminating, Run.Fetch);
    ++tries;
    if (Run.Terminating.load() || ok || tries >= kDownloadPageTries) return;
    if (!Run.Working.load()) return;
  }
}

bool LoadWithSynaps(const QString& LoadURL, TPictureDest& Dest, const TRunContext& Run) {
  QByteArray buffer;
  bool ok = false;
  int tries = 0;
  for (;;) {
    ok = FetchBytes(LoadURL, buffer, Run.Terminating, Run.Fetch);
    ++tries;
    if (Run.Terminating.load() || ok || tries >= kLoadWithSynapsTries) break;
    if (!Run.Working.load()) break;
  }
  if (!ok) return false;
  if (buffer.isEmpty()) {
    Dest.Clear();
    return true;
  }
  return Dest.LoadFromBuffer(buffer);
}

}  // namespace site
