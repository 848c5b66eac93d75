#include "download/ThumbnailPass.h"

#include <QFileInfo>
#include <cerrno>
#include <mutex>

#include "download/Catalogue.h"
#include "download/DiskLayout.h"
#include "download/FileStore.h"
#include "download/Jpeg.h"
#include "site/UrlScheme.h"
#include "site/Discovery.h"

namespace download {

namespace {

QString Num(qsizetype v) { return QString::number(v); }

// One for all passes: a stopped pass may still be finishing beside a newer one.
std::mutex& ThumbnailGate() {
  static std::mutex gate;
  return gate;
}

// Why the last call brought no thumbnail.
QString LoadProblem(const site::TFetchResult& fetch, const TThumbPicture& picture) {
  if (!fetch) return fetch.Describe();
  if (picture.Width() > 0) return "only " + Num(picture.Width()) + " pixels wide";
  return QStringLiteral("no JPEG picture");
}

}  // namespace

TThumbnailPass::TThumbnailPass(TThumbnailSettings settings, TThumbnailView& view, const std::atomic<bool>& alive,
                               const std::atomic<bool>& terminating)
    : Settings_(std::move(settings)),
      View_(view),
      Alive_(alive),
      Terminating_(terminating),
      Run_{Working_, Terminating_, Settings_.Fetch, &Alive_} {}

bool TThumbnailPass::GoOn() const { return Alive_.load() && !Terminating_.load(); }

void TThumbnailPass::Run() {
  for (int i = 0; GoOn(); ++i) {
    const int count = View_.ItemCount();  // the list may have grown meanwhile
    if (i >= count) return;
    const std::optional<QString> caption = View_.Caption(i);
    if (!caption) return;
    View_.ShowProgress("Image: " + Num(i + 1) + " of " + Num(count));
    if (Visit(i, *caption) == TNext::End) return;
  }
}

TThumbnailPass::TNext TThumbnailPass::Visit(int i, const QString& caption) {
  const std::optional<QString> thumb = ThumbnailPath(Settings_.Dir, caption);
  if (!thumb) {
    // Known before anything is fetched, and no later pass could store it either.
    View_.SetState(i, caption, TThumbState::Failed);
    View_.AddLog("ERR: Can not save - " + caption + " (no file name can hold the name)");
    return TNext::GoOn;
  }
  if (QFileInfo::exists(*thumb)) {
    if (View_.ShowThumbnail(caption, *thumb)) {
      View_.SetState(i, caption, TThumbState::Stored);
    } else {
      // Kept as it is (thumbnails are never replaced), but it must not stop
      // every later pass at this name.
      View_.SetState(i, caption, TThumbState::Failed);
      View_.AddLog("ERR: Can not read - " + *thumb);
    }
    return TNext::GoOn;
  }
  // The folder is the user's to make: without it nothing fetched could be kept,
  // for this name or any after it.
  const QString folder = AllGirlsFolder(Settings_.Dir);
  if (!QFileInfo(folder).isDir()) {
    const int error = QFileInfo::exists(folder) ? ENOTDIR : ENOENT;
    View_.AddLog("ERR: Can not save thumbnails - " + TWriteResult{error, folder}.Describe());
    return TNext::End;
  }

  const QString pageUrl = site::ThumbPageUrl(Settings_.Urls.MainSiteUrl, caption);
  View_.SetState(i, caption, TThumbState::Busy);
  View_.AddLog(pageUrl);
  const std::optional<QString> link = FirstLink(pageUrl);
  if (!link) return TNext::GoOn;  // keeps the busy icon
  return Fetch(i, caption, *thumb, *link);
}

std::optional<QString> TThumbnailPass::FirstLink(const QString& pageUrl) {
  QStringList links;
  site::TFetchResult page;
  for (int call = 1; call <= kLinkCalls; ++call) {
    page = site::GetLinks(pageUrl, links, Run_, Settings_.Urls.WallpaperHostUrl);
    if (!links.isEmpty() || !GoOn() || page.IsFinal()) break;
  }
  if (!links.isEmpty()) return links.first();
  // A page that came without a link says nothing; one that never came says
  // why, unless the pass was stopped.
  if (!page && GoOn()) View_.AddLog(site::PageFailureLine(pageUrl, page));
  return std::nullopt;
}

TThumbnailPass::TNext TThumbnailPass::Fetch(int i, const QString& caption, const QString& thumb,
                                            const QString& link) {
  const QString id = site::GetWallpaperID(site::PageSlug(caption), link);
  const QString size = site::GetWallpaperRes(id, link);
  const QString imageUrl = site::ThumbImageUrl(Settings_.Urls.ImageHostUrl, caption, size, id);
  TThumbPicture picture;
  site::TFetchResult fetch;
  bool ok = false;
  for (int call = 1; call <= kImageCalls; ++call) {
    site::LoadWithSynaps(imageUrl, picture, Run_, &fetch);
    ok = picture.Width() >= kMinWallpaperWidth;
    if (ok || !GoOn() || fetch.IsFinal()) break;
  }

  std::optional<TWriteResult> saved;
  if (ok) {
    // A stopped pass keeps nothing and a thumbnail is never replaced, so a
    // stopped pass still finishing never writes the file a newer one writes.
    std::lock_guard gate(ThumbnailGate());
    if (!GoOn())
      fetch = {site::TFetchFailure::Stopped, {}, QStringLiteral("stopped")};
    else
      saved = QFileInfo::exists(thumb) ? TWriteResult{} : WriteFileAtomically(thumb, picture.Data());
  }
  if (!saved) {
    View_.SetState(i, caption, TThumbState::Failed);
    View_.AddLog("ERR: Can not load - " + caption + " (" + LoadProblem(fetch, picture) + ")");
    return TNext::GoOn;
  }
  if (!*saved) {
    View_.SetState(i, caption, TThumbState::Failed);
    View_.AddLog("ERR: Can not save - " + saved->Describe());
    // A full disk or a folder that takes no file fails every later name alike.
    return saved->StopsEveryWrite() ? TNext::End : TNext::GoOn;
  }
  View_.ShowThumbnail(caption, thumb);
  View_.SetState(i, caption, TThumbState::Stored);
  return TNext::GoOn;
}

}  // namespace download
