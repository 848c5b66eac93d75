// The fixture site itself: real JPEGs of the sizes asked for, and the pages
// and images where the program will look for them.

#include <gtest/gtest.h>

#include <QRegularExpression>

#include "fixture/FixtureSite.h"
#include "fixture/Jpeg.h"
#include "site/Fetch.h"

namespace {

using fixture::TFixtureSite;

TEST(MakeJpeg, HasTheSizeAskedFor) {
  const struct {
    int Width;
    int Height;
  } sizes[] = {{1, 1}, {299, 200}, {300, 200}, {1024, 768}, {1920, 1200}};
  for (const auto& s : sizes) {
    const QByteArray jpeg = fixture::MakeJpeg(s.Width, s.Height);
    ASSERT_TRUE(jpeg.startsWith("\xFF\xD8"));
    const auto size = fixture::ReadJpegSize(jpeg);
    ASSERT_TRUE(size.has_value()) << s.Width;
    EXPECT_EQ(size->Width, s.Width);
    EXPECT_EQ(size->Height, s.Height);
  }
  EXPECT_NE(fixture::MakeJpeg(320, 200, 1), fixture::MakeJpeg(320, 200, 2));
  EXPECT_THROW(fixture::MakeJpeg(0, 10), std::runtime_error);
}

TEST(ReadJpegSize, RejectsWhatIsNoJpeg) {
  EXPECT_FALSE(fixture::ReadJpegSize(QByteArray()).has_value());
  EXPECT_FALSE(fixture::ReadJpegSize("<html>not found</html>").has_value());
  EXPECT_FALSE(fixture::ReadJpegSize(fixture::MakeJpeg(320, 200).left(2)).has_value());
}

TEST(FixtureSite, ServesImagesAndTheNamesIndexOnTheirOwnHosts) {
  TFixtureSite site;
  EXPECT_NE(site.MainSiteUrl() + '/', site.ImageHostUrl());
  EXPECT_FALSE(site.WallpaperHostUrl().contains(QRegularExpression("[0-9]")));

  const QByteArray jpeg = fixture::MakeJpeg(400, 300);
  site.AddName(fixture::MakeSiteName("Sample O'Name", 1, 2, jpeg, 52001, {"1920x1200"}));
  site.SetNamesIndex({"Sample O'Name", "Other Name"});
  std::atomic<bool> terminating{false};

  QByteArray image;
  ASSERT_TRUE(site::FetchBytes(site.ImageHostUrl() + "sample-o-name/sample-o-name-1920x1200-52001.jpg", image,
                               terminating));
  EXPECT_EQ(image, jpeg);
  // The main host does not serve images.
  ASSERT_TRUE(site::FetchBytes(site.MainSiteUrl() + "/sample-o-name/sample-o-name-1920x1200-52001.jpg", image,
                               terminating));
  EXPECT_NE(image, jpeg);

  QStringList index;
  ASSERT_TRUE(site::FetchText(site.MainSiteUrl() + "/babes/", index, terminating));
  EXPECT_EQ(index.filter("title=\"wallpapers for Sample O'Name\">").size(), 1);
  EXPECT_EQ(index.filter("title=\"wallpapers for Other Name\">").size(), 1);
}

}  // namespace
