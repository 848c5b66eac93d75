// Sorting links case-insensitively and dropping case variants.

#include <gtest/gtest.h>

#include "site/SortUnique.h"

namespace {

class SortUniqueTest : public ::testing::TestWithParam<QLocale> {};

TEST_P(SortUniqueTest, OrdersIgnoringCaseAndKeepsOneOfEachCaseGroup) {
  QStringList list{"http://h/x/wallpapers/page/2", "http://h/x/wallpapers/",  "http://h/x/wallpapers/page/10",
                   "http://H/X/Wallpapers/",       "http://h/x/wallpapers/page/2", "",
                   "http://h/x/wallpapers/PAGE/3", "http://h/x/wallpapers/page/3"};
  site::SortUnique(list, GetParam());
  ASSERT_EQ(list.size(), 5);
  EXPECT_EQ(list[0], "");
  EXPECT_EQ(list[1].toLower(), "http://h/x/wallpapers/");
  // Numbers compare as text.
  EXPECT_EQ(list[2], "http://h/x/wallpapers/page/10");
  EXPECT_EQ(list[3], "http://h/x/wallpapers/page/2");
  EXPECT_EQ(list[4].toLower(), "http://h/x/wallpapers/page/3");
}

TEST_P(SortUniqueTest, CaseDoesNotDecideTheOrder) {
  QStringList list{"b", "A", "c", "B", "a"};
  site::SortUnique(list, GetParam());
  ASSERT_EQ(list.size(), 3);
  EXPECT_EQ(list[0].toLower(), "a");
  EXPECT_EQ(list[1].toLower(), "b");
  EXPECT_EQ(list[2], "c");
}

// A locale may call texts equal that differ by a character it ignores or by
// the width of a letter; each is another link, and the real one must survive.
TEST_P(SortUniqueTest, OnlyCaseMakesTwoLinksOne) {
  const QString real = "http://w/x/1001/1024x768";
  const QString variants[] = {
      "http://w/x/10\u200B01/1024x768",  // zero-width space
      "http://w/x/10\u00AD01/1024x768",  // soft hyphen
      "http://w/x/10\x01" "01/1024x768",  // control character
      "http://w/\uFF58/1001/1024x768",   // full-width x
  };
  for (const QString& variant : variants) {
    SCOPED_TRACE(variant.toStdString());
    for (const QStringList& order : {QStringList{variant, real}, QStringList{real, variant}}) {
      QStringList list = order;
      list << real.toUpper();
      site::SortUnique(list, GetParam());
      EXPECT_EQ(list.size(), 2);
      EXPECT_EQ(list.count(variant), 1);
      EXPECT_EQ(list.filter(real, Qt::CaseInsensitive).size(), 1);
    }
  }
}

// A locale may sort apart letters that are one ignoring case: Turkish puts I
// (the capital of dotless ı) among the ı words, away from i. Still one link.
TEST_P(SortUniqueTest, CaseVariantsTheLocaleSortsApartAreStillOne) {
  const QString other = "http://w/\u0131rmak/1/1024x768";
  QStringList list{"http://w/iris/1/1024x768", other, "http://w/IRIS/1/1024x768"};
  site::SortUnique(list, GetParam());
  EXPECT_EQ(list.size(), 2);
  EXPECT_EQ(list.filter("http://w/iris/", Qt::CaseInsensitive).size(), 1);
  EXPECT_EQ(list.count(other), 1);
}

TEST_P(SortUniqueTest, EmptyAndSingleLists) {
  QStringList empty;
  site::SortUnique(empty, GetParam());
  EXPECT_TRUE(empty.isEmpty());
  QStringList one{"only"};
  site::SortUnique(one, GetParam());
  EXPECT_EQ(one, QStringList{"only"});
}

INSTANTIATE_TEST_SUITE_P(Locales, SortUniqueTest,
                         ::testing::Values(QLocale::c(), QLocale(QLocale::English, QLocale::UnitedStates),
                                           QLocale(QLocale::German, QLocale::Germany),
                                           QLocale(QLocale::Turkish, QLocale::Turkey)),
                         [](const auto& info) { return info.param.name().replace('_', "").toStdString(); });

}  // namespace
