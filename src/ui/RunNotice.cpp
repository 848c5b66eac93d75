#include "ui/RunNotice.h"

namespace ui {

namespace {

QString Count(int n, const char* one, const char* many) {
  return QString::number(n) + u' ' + QString::fromLatin1(n == 1 ? one : many);
}

}  // namespace

TNoticeText NoticeText(const TRunNotice& notice) {
  TNoticeText text;
  // The name goes only into the summary, which servers never read as markup.
  text.Summary = notice.IsBatch() ? "Batch finished: " + Count(notice.Names, "name", "names")
                                  : notice.Name + ": download finished";
  if (notice.Unreached > 0) text.Summary += ", " + QString::number(notice.Unreached) + " not reached";
  text.Body = notice.Found == 0 ? QStringLiteral("No wallpapers found.")
                                : Count(notice.Found, "wallpaper", "wallpapers") + " found.";
  // Files on disk are kept, so a second run fetches only what is missing.
  if (notice.NotLoaded > 0)
    text.Body += ' ' + QString::number(notice.NotLoaded) + " could not be loaded: starting " +
                 (notice.IsBatch() ? "their names" : "the same name") + " again retries exactly those.";
  // Nobody watched the batch: what it passed over is said here, or not at all.
  if (notice.Unreached > 0)
    text.Body += " The site could not be reached for " + Count(notice.Unreached, "name", "names") +
                 (notice.Unreached == 1 ? QStringLiteral(", which stays") : QStringLiteral(", which stay")) +
                 " ticked for the next batch.";
  text.Body += notice.IsBatch() ? " Click to open the Wallpapers folder." : " Click to open its folder.";
  return text;
}

}  // namespace ui
