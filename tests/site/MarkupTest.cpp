// What is read out of the listing pages and the index of names.

#include <gtest/gtest.h>

#include <optional>

#include "common/QtPrint.h"
#include "site/Markup.h"

namespace {

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

TEST(IndexLineName, Cases) {
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
  for (const Case& c : cases) EXPECT_EQ(site::IndexLineName(QString::fromUtf8(c.line)), c.name) << c.line;
}

}  // namespace
