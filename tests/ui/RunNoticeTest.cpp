// The words of the notification at the end of a run or a batch.

#include "ui/UiTestSupport.h"
#include "ui/RunNotice.h"

namespace ui {
namespace {

TEST(NoticeText, NamesTheRunCountsWhatWasFoundAndSaysHowToRetryTheRest) {
  struct Case {
    TRunNotice notice;
    QString summary;
    QString body;
  };
  const Case cases[] = {
      {{.Name = "Mary Ann Test", .Found = 48, .NotLoaded = 0},
       "Mary Ann Test: download finished",
       "48 wallpapers found. Click to open its folder."},
      {{.Name = "Mary Ann Test", .Found = 1, .NotLoaded = 3},
       "Mary Ann Test: download finished",
       "1 wallpaper found. 3 could not be loaded: starting the same name again retries exactly those. "
       "Click to open its folder."},
      {{.Name = "Nobody", .Found = 0, .NotLoaded = 0}, "Nobody: download finished",
       "No wallpapers found. Click to open its folder."},
      // A name with markup characters stays in the summary, which is never read as markup.
      {{.Name = "A & <B>", .Found = 2, .NotLoaded = 1},
       "A & <B>: download finished",
       "2 wallpapers found. 1 could not be loaded: starting the same name again retries exactly those. "
       "Click to open its folder."},
      {{.Names = 3, .Found = 120, .NotLoaded = 5},
       "Batch finished: 3 names",
       "120 wallpapers found. 5 could not be loaded: starting their names again retries exactly those. "
       "Click to open the Wallpapers folder."},
      {{.Names = 1, .Found = 0, .NotLoaded = 0}, "Batch finished: 1 name",
       "No wallpapers found. Click to open the Wallpapers folder."},
      // What a batch passed over is said, since nobody watched it.
      {{.Names = 1, .Found = 7, .NotLoaded = 0, .Unreached = 2}, "Batch finished: 1 name, 2 not reached",
       "7 wallpapers found. The site could not be reached for 2 names, which stay ticked for the next batch. "
       "Click to open the Wallpapers folder."},
      {{.Names = 0, .Found = 0, .NotLoaded = 0, .Unreached = 1}, "Batch finished: 0 names, 1 not reached",
       "No wallpapers found. The site could not be reached for 1 name, which stays ticked for the next batch. "
       "Click to open the Wallpapers folder."},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.summary.toStdString());
    const TNoticeText text = NoticeText(c.notice);
    EXPECT_EQ(text.Summary, c.summary);
    EXPECT_EQ(text.Body, c.body);
    for (const QChar markup : {u'<', u'>', u'&'}) EXPECT_FALSE(text.Body.contains(markup));
  }
}

}  // namespace
}  // namespace ui
