// The name slug, the first listing page's address and the extraction rule.

#include <gtest/gtest.h>

#include "site/Markup.h"
#include "site/Slug.h"

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

TEST(ExtractEntry, Cases) {
  const struct {
    const char* Name;
    const char* Line;
    const char* Entry;
  } cases[] = {
      {"both markers", "<a href=\"http://m/x/wallpapers/page/2/\">2</a>", "http://m/x/wallpapers/page/2"},
      {"no start marker: up to the end marker's slash", "<a href=\"/x/wallpapers/page/2/\">2</a>",
       "<a href=\"/x/wallpapers/page/2/"},
      {"no end marker", "<a href=\"http://m/x/wallpapers/page/2\">2</a>", ""},
      {"end marker before the start marker", "a/\">b http://m/x/\">", ""},
      {"only the first link of a line", "<a href=\"http://m/a/\">1</a><a href=\"http://m/b/\">2</a>", "http://m/a"},
      {"neither marker", "plain text", ""},
      {"empty line", "", ""},
  };
  for (const auto& c : cases)
    EXPECT_EQ(site::ExtractEntry(c.Line, "http://m", "/\">"), QString(c.Entry)) << c.Name;
}

TEST(ListingMarkup, WhichLinesCountAndWhatTheyYield) {
  const QString main = "http://www.ostrana.example";
  const QString wall = "http://wallpapers.ostrana.example";
  EXPECT_TRUE(site::IsListingPageLine("<a href=\"" + main + "/x/wallpapers/page/3/\">3</a>"));
  EXPECT_FALSE(site::IsListingPageLine("<a href=\"" + main + "/x/wallpapers/\">1</a>"));
  EXPECT_EQ(site::ListingPageEntry("<a href=\"" + main + "/x/wallpapers/page/3/\">3</a>", main),
            main + "/x/wallpapers/page/3");

  const QString link = "<li><a href=\"" + wall + "/x/1001/1280x1024/\"><img src=\"http://i/1.jpg\"></a></li>";
  EXPECT_TRUE(site::IsWallpaperLinkLine(link, wall));
  EXPECT_EQ(site::WallpaperLinkEntry(link, wall), wall + "/x/1001/1280x1024");
  // The filter wants the href prefix; the entry's start marker does not.
  EXPECT_FALSE(site::IsWallpaperLinkLine("<a href='" + wall + "/x/1/1024x768/'>", wall));
  EXPECT_FALSE(site::IsWallpaperLinkLine("<img src=\"" + wall + "/x/1/1024x768/\">", wall));
  EXPECT_FALSE(site::IsWallpaperLinkLine("<a href=\"" + wall + "x/1/1024x768/\">", wall));
  EXPECT_EQ(site::WallpaperLinkEntry("<a href=\"" + wall + "/x/1/1024x768\">", wall), "");
}

}  // namespace
