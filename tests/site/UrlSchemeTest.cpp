// The site's URL scheme: the four slugs of a name, the addresses built from
// them, and the split of a wallpaper page link.

#include <gtest/gtest.h>

#include "common/QtPrint.h"
#include "site/UrlScheme.h"

namespace {

TEST(NameSlug, Cases) {
  const struct {
    const char* Name;
    const char* Slug;
  } cases[] = {
      {"Mary Ann", "mary-ann"},
      {"  Mary Ann", "--mary-ann"},
      {"Mary Ann ", "mary-ann-"},
      {"Mary  Ann", "mary--ann"},
      {"Mary Ann O'Test", "mary-ann-o-test"},
      {"Ann /Bee", "ann/bee"},
      {"Ann  /Bee", "ann-/bee"},
      {"O'/X", "o-/x"},
      {"'Quote'", "-quote-"},
      {"", ""},
      {"\xC3\x89mile Zola", "\xC3\x89mile-zola"},
      {"\xC3\x91" "andu Test", "\xC3\x91" "andu-test"},
  };
  for (const auto& c : cases) EXPECT_EQ(site::NameSlug(QString::fromUtf8(c.Name)), QString::fromUtf8(c.Slug)) << c.Name;
}

TEST(FirstListingPageUrl, IsLowerCasedAsAWhole) {
  EXPECT_EQ(site::FirstListingPageUrl("http://WWW.Ostrana.Example", "Ann /Bee"),
            "http://www.ostrana.example/ann/bee/wallpapers/");
  EXPECT_EQ(site::FirstListingPageUrl("http://h.example", QString::fromUtf8("\xC3\x89va")),
            QString::fromUtf8("http://h.example/\xC3\x89va/wallpapers/"));
}

const QString kHost = QStringLiteral("http://wallpapers.ostrana.test");

struct SplitCase {
  const char* name;
  QString slug;
  QString link;
  QString id;
  QString size;
};

class SplitLink : public ::testing::TestWithParam<SplitCase> {};

TEST_P(SplitLink, GivesIdAndSizeByPosition) {
  const SplitCase& c = GetParam();
  const QString id = site::GetWallpaperID(c.slug, c.link);
  EXPECT_EQ(id, c.id);
  EXPECT_EQ(site::GetWallpaperRes(id, c.link), c.size);
}

INSTANTIATE_TEST_SUITE_P(
    Links, SplitLink,
    ::testing::Values(
        SplitCase{"WorkedExample", "sample-name", kHost + "/sample-name/41237/1280x1024", "41237", "1280x1024"},
        // The id "12" first occurs inside the slug, so the size is taken from there.
        SplitCase{"IdInsideTheSlug", "model-12", kHost + "/model-12/12/1024x768", "12", "12/1024x768"},
        // Without the slug, the rest starts at position length(slug) + 1.
        SplitCase{"SlugMissing", "zz", "a/77/800x600", "77", "800x600"},
        SplitCase{"EmptyLink", "sample-name", "", "", ""},
        SplitCase{"NoSlashAfterId", "sample-name", kHost + "/sample-name/41237", "", kHost + "/sample-name/41237"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(WorkerSlug, ReplacesBlanksAndApostrophesAndLowersOnlyAsciiLetters) {
  struct {
    QString name, slug;
  } cases[] = {
      {"Sample Name", "sample-name"},
      {"Sample O'Name", "sample-o-name"},
      {QString::fromUtf8("Ñandu Test"), QString::fromUtf8("Ñandu-test")},
      {"  Two", "--two"},
      {"Ann /Bee", "ann-/bee"},  // unlike the search's slug, "-/" stays
  };
  for (const auto& c : cases) EXPECT_EQ(site::WorkerSlug(c.name), c.slug) << c.name.toStdString();
}

TEST(ImageUrl, IsBuiltFromSlugSizeAndId) {
  EXPECT_EQ(site::ImageUrl("http://Images.Ostrana.test/", "sample-name", "1280x1024", "41237"),
            "http://Images.Ostrana.test/sample-name/sample-name-1280x1024-41237.jpg");
}

TEST(CatalogueAddresses, FollowTheRawSlug) {
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
    EXPECT_EQ(site::RawSlug(c.caption), c.raw) << c.caption.toStdString();
    EXPECT_EQ(site::PageSlug(c.caption), c.page) << c.caption.toStdString();
    EXPECT_EQ(site::ThumbPageUrl(main, c.caption), c.pageUrl) << c.caption.toStdString();
    EXPECT_EQ(site::ThumbImageUrl(images, c.caption, "1920x1200", "52001"), c.imageUrl) << c.caption.toStdString();
  }
}

}  // namespace
