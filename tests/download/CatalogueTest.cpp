#include "download/Catalogue.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <algorithm>

#include "download/JpegBytes.h"
#include "common/QtPrint.h"

namespace {

TEST(CatalogueTest, IndexLineNames) {
  struct Case {
    const char* line;
    std::optional<QString> name;
  };
  const Case cases[] = {
      {R"(<a href="x" title="wallpapers for Sample Name">Sample Name</a>)", QStringLiteral("Sample Name")},
      {R"(title="wallpapers for O'Neil Ann">)", QStringLiteral("O'Neil Ann")},
      {"wallpapers for Sample Name without the close", QString()},
      {R"(">before wallpapers for Sample Name)", QString()},      // the close comes first
      {R"(wallpapers for ">)", QString()},                          // nothing between
      {"no marker here \">", std::nullopt},
      {R"(Wallpapers for Upper">)", std::nullopt},                  // compared exactly
  };
  for (const Case& c : cases) EXPECT_EQ(IndexLineName(QString::fromUtf8(c.line)), c.name) << c.line;
}

TEST(CatalogueTest, SlugsAndAddresses) {
  struct Case {
    QString caption, raw, page, pageUrl, imageUrl;
  };
  const QString main = "http://Main.example", images = "http://Img.example/";
  const Case cases[] = {
      {"Sample O'Name", "sample-o'name", "sample-o-name", "http://main.example/sample-o-name/wallpapers/",
       "http://img.example/sample-o-name/sample-o-name-1920x1200-52001.jpg"},
      // A trailing blank: the slugs keep their "-", the addresses drop it before "/".
      {"Sample Name ", "sample-name-", "sample-name-", "http://main.example/sample-name/wallpapers/",
       "http://img.example/sample-name/sample-name--1920x1200-52001.jpg"},
      {QString::fromUtf8("Éva  Two"), QString::fromUtf8("Éva--two"), QString::fromUtf8("Éva--two"),
       QString::fromUtf8("http://main.example/Éva--two/wallpapers/"),
       QString::fromUtf8("http://img.example/Éva--two/Éva--two-1920x1200-52001.jpg")},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(RawSlug(c.caption), c.raw) << c.caption.toStdString();
    EXPECT_EQ(PageSlug(c.caption), c.page) << c.caption.toStdString();
    EXPECT_EQ(ThumbPageUrl(main, c.caption), c.pageUrl) << c.caption.toStdString();
    EXPECT_EQ(ThumbImageUrl(images, c.caption, "1920x1200", "52001"), c.imageUrl) << c.caption.toStdString();
  }
}

TEST(CatalogueTest, ThumbPictureKeepsBytesAndWidth) {
  TThumbPicture picture;
  const QByteArray jpeg = HeaderOnlyJpeg(640, 480);
  EXPECT_TRUE(picture.LoadFromBuffer(jpeg));
  EXPECT_EQ(picture.Width(), 640);
  EXPECT_EQ(picture.Data(), jpeg);
  EXPECT_FALSE(picture.LoadFromBuffer("<html>404</html>"));
  EXPECT_EQ(picture.Width(), 0);
  EXPECT_TRUE(picture.Data().isEmpty());
}

}  // namespace
