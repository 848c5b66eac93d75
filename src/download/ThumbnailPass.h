#pragma once
// The thumbnail pass of the name catalogue, without a window: for every name
// of the catalogue that has no thumbnail in AllGirls, the first wallpaper of
// the name's first listing page is fetched and kept as its thumbnail. The
// window implements the view; tests drive the pass with a recording one.

#include <QString>
#include <atomic>
#include <optional>

#include "site/Fetch.h"
#include "site/RunContext.h"
#include "site/SiteUrls.h"

namespace download {

// What a catalogue item's icon says about its thumbnail.
enum class TThumbState {
  Busy,    // being fetched, or its page gave no wallpaper
  Stored,  // the file exists
  Failed,  // it could not be fetched, stored or read
};

// What the pass needs of the window. Each call is a blocking hand-off to the
// UI thread; once the window no longer listens to this pass (it closes, or a
// newer pass has begun) the reads say there is nothing left and the changes
// do nothing.
class TThumbnailView {
 public:
  virtual ~TThumbnailView() = default;
  // The number of catalogue items now.
  virtual int ItemCount() = 0;
  // Item i's caption now; none when there is no such item.
  virtual std::optional<QString> Caption(int i) = 0;
  // Label5, which follows the pass.
  virtual void ShowProgress(const QString& caption) = 0;
  // Item i's icon, while item i still carries `caption`.
  virtual void SetState(int i, const QString& caption, TThumbState state) = 0;
  // The preview shows the file at `path`, Label3 the caption, and the file
  // becomes CurrentPath; false (nothing changed) when the file is no picture
  // that can be shown. Decoded on the caller's thread.
  virtual bool ShowThumbnail(const QString& caption, const QString& path) = 0;
  virtual void AddLog(const QString& line) = 0;
};

// Copied from the window when the pass starts.
struct TThumbnailSettings {
  QString Dir;  // AllGirls lies in it
  site::TSiteUrls Urls;
  site::TFetchOptions Fetch;
};

class TThumbnailPass {
 public:
  // `alive` is the pass's own go-on flag (its thread's Active), `terminating`
  // the program's closing flag; both must outlive the pass.
  TThumbnailPass(TThumbnailSettings settings, TThumbnailView& view, const std::atomic<bool>& alive,
                 const std::atomic<bool>& terminating);

  // Visits the items from the first until the last (counted anew before each),
  // a stop, the program's closing, or a failure that every later name would
  // share (no AllGirls folder, a disk that takes no file).
  void Run();

  static constexpr int kLinkCalls = 50;   // GetLinks calls for a name's first wallpaper link
  static constexpr int kImageCalls = 20;  // LoadWithSynaps calls for its picture

 private:
  enum class TNext { GoOn, End };
  TNext Visit(int i, const QString& caption);
  // The first wallpaper link of the name's first listing page; none when the
  // page gave none after all its calls.
  std::optional<QString> FirstLink(const QString& caption);
  TNext Fetch(int i, const QString& caption, const QString& thumb, const QString& link);
  bool GoOn() const;

  const TThumbnailSettings Settings_;
  TThumbnailView& View_;
  const std::atomic<bool>& Alive_;
  const std::atomic<bool>& Terminating_;
  // The pass is no download run: its own call limits are its retries, and
  // each call makes one try.
  const std::atomic<bool> Working_{false};
  const site::TRunContext Run_;
};

}  // namespace download
