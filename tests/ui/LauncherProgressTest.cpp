// What the launcher's icon is told of the progress bar.

#include <gtest/gtest.h>

#include <climits>
#include <optional>
#include <vector>

#include "ui/LauncherProgress.h"

namespace ui {
namespace {

struct Bar {
  bool visible;
  int position, maximum;
};

// What the launcher is told over a sequence of bar states.
std::vector<std::optional<double>> Told(const std::vector<Bar>& bars) {
  TLauncherProgress launcher;
  std::vector<std::optional<double>> told;
  for (const Bar& bar : bars)
    if (launcher.Step(bar.visible, bar.position, bar.maximum)) told.push_back(launcher.Shown());
  return told;
}

TEST(LauncherProgress, TellsEachWholePercentOnceAndHidesWhenTheRunEnds) {
  std::vector<Bar> run{{true, 0, 1000}};
  for (int position = 1; position <= 1000; ++position) run.push_back({true, position, 1000});
  run.push_back({false, 1000, 1000});
  const auto told = Told(run);
  ASSERT_EQ(told.size(), 102u);  // 0 % to 100 %, then hidden
  for (int percent = 0; percent <= 100; ++percent) {
    EXPECT_DOUBLE_EQ(*told[percent], percent / 100.0);
  }
  EXPECT_FALSE(told.back());
}

TEST(LauncherProgress, EdgeStatesOfTheBar) {
  const struct {
    const char* what;
    std::vector<Bar> bars;
    std::vector<std::optional<double>> told;
  } cases[] = {
      {"hidden at start: nothing to tell", {{false, 0, 100}, {false, 5, 100}}, {}},
      {"no range: hidden", {{true, 0, 0}}, {}},
      {"a shorter bar of the next phase starts again at 0",
       {{true, 10, 10}, {true, 0, 3}, {true, 1, 3}},
       {1.0, 0.0, 0.33}},
      {"the same percent again: told once", {{true, 1, 1000}, {true, 9, 1000}}, {0.0}},
      {"out of range is brought into it", {{true, -5, 10}, {true, 50, 10}}, {0.0, 1.0}},
      {"a huge bar does not overflow", {{true, INT_MAX - 1, INT_MAX}}, {0.99}},
      {"shown again after hidden", {{true, 5, 10}, {false, 5, 10}, {true, 5, 10}}, {0.5, std::nullopt, 0.5}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    const auto told = Told(c.bars);
    ASSERT_EQ(told.size(), c.told.size());
    for (std::size_t i = 0; i < told.size(); ++i) {
      ASSERT_EQ(told[i].has_value(), c.told[i].has_value()) << i;
      if (told[i]) {
        EXPECT_DOUBLE_EQ(*told[i], *c.told[i]) << i;
      }
    }
  }
}

}  // namespace
}  // namespace ui
