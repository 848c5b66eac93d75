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
                                           QLocale(QLocale::German, QLocale::Germany)),
                         [](const auto& info) { return info.param.name().replace('_', "").toStdString(); });

}  // namespace
