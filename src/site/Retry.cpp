#include "site/Retry.h"

#include <optional>

#include "site/Markup.h"
#include "site/Text.h"

namespace site {

namespace {

// After a try: whether the loop ends here.
bool LoopEnds(const TFetchResult& Result, int Tries, int MaxTries, const TRunContext& Run) {
  return Run.Terminating.load() || Result || Result.IsFinal() || Tries >= MaxTries || !Run.Working.load() ||
         Run.Stopped();
}

}  // namespace

TFetchResult DownloadPage(const QString& URL, QStringList& SL, const TRunContext& Run) {
  for (int tries = 1;; ++tries) {
    TFetchResult result = FetchText(URL, SL, Run.Stop(), Run.Fetch);
    if (LoopEnds(result, tries, kDownloadPageTries, Run)) return result;
  }
}

bool LoadWithSynaps(const QString& LoadURL, TPictureDest& Dest, const TRunContext& Run, TFetchResult* Fetch) {
  QByteArray buffer;
  TFetchResult result;
  for (int tries = 1;; ++tries) {
    result = FetchBytes(LoadURL, buffer, Run.Stop(), Run.Fetch);
    if (LoopEnds(result, tries, kLoadWithSynapsTries, Run)) break;
  }
  if (Fetch) *Fetch = result;
  if (!result) return false;
  if (buffer.isEmpty()) {
    Dest.Clear();
    return true;
  }
  return Dest.LoadFromBuffer(buffer);
}

TFetchResult DownloadIndexPage(const QString& URL, QStringList& SL, const TRunContext& Run) {
  for (int calls = 1;; ++calls) {
    TFetchResult result = DownloadPage(URL, SL, Run);
    if (!SL.isEmpty() || calls >= kIndexPageCalls || Run.Terminating.load() || Run.Stopped() || result.IsFinal())
      return result;
  }
}

TFetchResult GetNames(const QString& URL, QStringList& SL, const TRunContext& Run) {
  QStringList lines;
  const TFetchResult result = DownloadIndexPage(WithTrailingSlash(URL), lines, Run);
  for (const QString& line : lines)
    if (const std::optional<QString> name = IndexLineName(line)) SL.append(*name);
  return result;
}

}  // namespace site
