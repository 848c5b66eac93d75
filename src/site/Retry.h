#pragma once
// The bounded retry loops over the one-shot fetches. Working is looked at after
// each try, never before the first: inside a run a failing fetch is retried up
// to the limit, outside one each call makes exactly one try. There is no pause
// between tries; the terminating flag, the stop of the work the loop serves and
// a failure that no retry can mend (an address that cannot be sent, a body
// over its cap) end the loop after the current try.

#include <QByteArray>
#include <QString>
#include <QStringList>

#include "site/RunContext.h"

namespace site {

inline constexpr int kDownloadPageTries = 100;
inline constexpr int kLoadWithSynapsTries = 20;
// The index of all names is asked for by up to this many DownloadPage calls.
inline constexpr int kIndexPageCalls = 50;

// A picture that LoadWithSynaps fills from fetched bytes; the JPEG picture of
// the preview and the thumbnails implements it.
class TPictureDest {
 public:
  virtual ~TPictureDest() = default;
  // Leaves the picture empty (width 0).
  virtual void Clear() = 0;
  // Reads a picture from Data (not empty); false when the decoder rejects the
  // data, and the picture then holds none (width 0).
  virtual bool LoadFromBuffer(const QByteArray& Data) = 0;
};

// SL holds the page after the call, or is untouched when every try failed.
// Returns the last try's outcome.
TFetchResult DownloadPage(const QString& URL, QStringList& SL, const TRunContext& Run);

// True when a body was fetched and Dest accepted it; an empty body leaves Dest
// empty and counts as true. Dest is untouched when every try failed. Fetch,
// when given, receives the last try's outcome.
bool LoadWithSynaps(const QString& LoadURL, TPictureDest& Dest, const TRunContext& Run, TFetchResult* Fetch = nullptr);

// The site's index of all names: DownloadPage up to kIndexPageCalls times,
// until a call brings at least one line. A fetched page without a line is
// asked for again; the terminating flag, the stop of the work the loop serves
// and a failure no retry can mend end the calls at once. SL (empty on entry)
// holds the page afterwards, or nothing. Returns the last call's outcome.
TFetchResult DownloadIndexPage(const QString& URL, QStringList& SL, const TRunContext& Run);

// Appends to SL the names of the index page at URL ("/" appended when
// missing), asked for with up to kIndexPageCalls calls. Returns the outcome of
// the last call.
TFetchResult GetNames(const QString& URL, QStringList& SL, const TRunContext& Run);

}  // namespace site
