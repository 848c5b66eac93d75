#include <gtest/gtest.h>

#include "common/QtPrint.h"
#include "download/Resolution.h"
#include "download/WallpaperLink.h"

namespace {

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
  const QString id = GetWallpaperID(c.slug, c.link);
  EXPECT_EQ(id, c.id);
  EXPECT_EQ(GetWallpaperRes(id, c.link), c.size);
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
  for (const auto& c : cases) EXPECT_EQ(WorkerSlug(c.name), c.slug) << c.name.toStdString();
}

TEST(ImageUrl, IsBuiltFromSlugSizeAndId) {
  EXPECT_EQ(ImageUrl("http://Images.Ostrana.test/", "sample-name", "1280x1024", "41237"),
            "http://Images.Ostrana.test/sample-name/sample-name-1280x1024-41237.jpg");
}

TEST(Resolution, SizeTextsRoundTripAndOnlyKnownSizesAreSelected) {
  for (int i = 0; i < kResolutionCount; ++i) {
    const auto r = static_cast<TResolution>(i);
    EXPECT_EQ(ResolutionFromText(SizeText(r)), r);
  }
  EXPECT_EQ(SizeText(tr1024x768), "1024x768");
  EXPECT_EQ(FolderOrder().front(), tr1024x768);

  TResParams one;
  one.Include(tr1280x1024);
  const TResParams all = TResParams::All();
  struct {
    const TResParams& params;
    QString size;
    bool selected;
  } cases[] = {
      {one, "1280x1024", true}, {one, "1024x768", false},   {all, "800x600", false},
      {all, "1280X1024", false}, {all, " 1280x1024", false}, {all, "", false},
      {all, "12/1024x768", false}, {all, "1920x1200", true},
  };
  for (const auto& c : cases) EXPECT_EQ(ResSelected(c.params, c.size), c.selected) << c.size.toStdString();
}

}  // namespace
