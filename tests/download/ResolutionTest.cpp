#include <gtest/gtest.h>

#include "common/QtPrint.h"
#include "download/Resolution.h"

namespace {

TEST(Resolution, SizeTextsRoundTripAndOnlyKnownSizesAreSelected) {
  for (int i = 0; i < download::kResolutionCount; ++i) {
    const auto r = static_cast<download::TResolution>(i);
    EXPECT_EQ(download::ResolutionFromText(download::SizeText(r)), r);
  }
  EXPECT_EQ(download::SizeText(download::tr1024x768), "1024x768");
  EXPECT_EQ(download::FolderOrder().front(), download::tr1024x768);

  download::TResParams one;
  one.Include(download::tr1280x1024);
  const download::TResParams all = download::TResParams::All();
  struct {
    const download::TResParams& params;
    QString size;
    bool selected;
  } cases[] = {
      {one, "1280x1024", true}, {one, "1024x768", false},   {all, "800x600", false},
      {all, "1280X1024", false}, {all, " 1280x1024", false}, {all, "", false},
      {all, "12/1024x768", false}, {all, "1920x1200", true},
  };
  for (const auto& c : cases) EXPECT_EQ(download::ResSelected(c.params, c.size), c.selected) << c.size.toStdString();
}

}  // namespace
