#pragma once
// What the end of a download run, or of a batch of them, tells the desktop
// beside the chime, and how its notification words it.

#include <QString>

namespace ui {

struct TRunNotice {
  QString Name{};     // the run's name; empty for a batch
  int Names = 1;      // the names a batch downloaded
  int Found = 0;      // wallpapers found: kept from disk or fetched
  int NotLoaded = 0;  // wallpapers whose tries ran out
  int Unreached = 0;  // names a batch passed over: the site could not be reached for them
  QString Folder{};   // opened when the notification is clicked

  bool IsBatch() const { return Name.isEmpty(); }
};

struct TNoticeText {
  QString Summary;  // one line, plain text
  QString Body;     // free of markup characters, so no notification server misreads it
};

TNoticeText NoticeText(const TRunNotice& notice);

}  // namespace ui
