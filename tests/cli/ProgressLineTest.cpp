// The progress of a name: its line on a terminal, fitted to the terminal's
// width, the estimates in it, and the plain lines for a log.

#include <gtest/gtest.h>

#include "cli/ProgressLine.h"
#include "cli/TerminalText.h"
#include "common/QtPrint.h"

namespace {

using namespace std::chrono_literals;
using cli::TProgress;

const QString kStart = QStringLiteral("\r");
const QString kClear = QStringLiteral("\x1b[K");

// The visible line, without the carriage return and the clear-to-end.
QString Visible(const QString& line) {
  EXPECT_TRUE(line.startsWith(kStart)) << line.toStdString();
  EXPECT_TRUE(line.endsWith(kClear)) << line.toStdString();
  return line.mid(kStart.size(), line.size() - kStart.size() - kClear.size());
}

TEST(ProgressLine, TimeReadsAsMinutesAndSecondsOrHoursToo) {
  const struct {
    std::chrono::seconds Time;
    QString Text;
  } cases[] = {
      {0s, "0:00"},     {9s, "0:09"},          {59s, "0:59"},        {60s, "1:00"},    {61s, "1:01"},
      {3599s, "59:59"}, {3600s, "1:00:00"},    {3661s, "1:01:01"},   {86399s, "23:59:59"},
      {360000s, "100:00:00"},                  {-5s, "0:00"},
  };
  for (const auto& c : cases) EXPECT_EQ(cli::DurationText(c.Time), c.Text) << c.Time.count();
}

TEST(ProgressLine, RateAndTimeLeftFollowWhatIsDealtWith) {
  const struct {
    int Done, Found, Failed;
    std::chrono::milliseconds Elapsed;
    std::optional<double> Rate;
    std::optional<std::chrono::seconds> Left;
  } cases[] = {
      {0, 0, 0, 0ms, {}, 0s},              // nothing listed yet, nothing to go
      {0, 36, 0, 0ms, {}, {}},             // listed, nothing dealt with
      {0, 36, 0, 5000ms, 0.0, {}},         // five seconds and still nothing
      {12, 36, 0, 8000ms, 1.5, 16s},
      {10, 36, 2, 8000ms, 1.5, 16s},       // failures are dealt with too
      {1, 4, 0, 1001ms, 1 / 1.001, 4s},    // 3.003 s rounds up
      {36, 36, 0, 42000ms, 36 / 42.0, 0s},
      {40, 36, 0, 1000ms, 40.0, 0s},       // more than listed: nothing to go
      {1, 1'000'000, 0, 3'600'000ms, 1 / 3600.0, {}},  // beyond a hundred hours
      {1, 2'000'000'000, 0, 1000ms, 1.0, {}},           // no overflow either
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::to_string(c.Done) + "/" + std::to_string(c.Found));
    const TProgress progress{"Ann", c.Done, c.Found, c.Failed, c.Elapsed};
    const std::optional<double> rate = cli::RateOf(progress);
    ASSERT_EQ(rate.has_value(), c.Rate.has_value());
    if (rate) {
      EXPECT_DOUBLE_EQ(*rate, *c.Rate);
    }
    EXPECT_EQ(cli::TimeLeft(progress), c.Left);
  }
}

TEST(ProgressLine, TerminalLineRedrawsInPlace) {
  const TProgress progress{"Demo Model", 12, 36, 2, 7000ms};
  EXPECT_EQ(cli::ProgressLine(progress, 80), kStart + "Demo Model  12/36  2 failed  2.0/s  0:07  left 0:11" + kClear);
  EXPECT_EQ(Visible(cli::ProgressLine({"Ann", 0, 36, 0, 0ms}, 80)), "Ann  0/36  0 failed  --/s  0:00  left --");
}

TEST(ProgressLine, TerminalLineFitsItsWidth) {
  const TProgress progress{"Alexandra Maria Theodora Example", 1234, 5678, 12, 754'000ms};
  // The name is cut first, then the rate, the elapsed time, the time left
  // and the failures go, in that order; the counts stay to the last.
  const struct {
    int Width;
    QString Line;
  } cases[] = {
      {200, "Alexandra Maria Theodora Example  1234/5678  12 failed  1.7/s  12:34  left 44:42"},
      {81, "Alexandra Maria Theodora Example  1234/5678  12 failed  1.7/s  12:34  left 44:42"},
      {80, "Alexandra Maria Theodora Examp…  1234/5678  12 failed  1.7/s  12:34  left 44:42"},
      {70, "Alexandra Maria Theo…  1234/5678  12 failed  1.7/s  12:34  left 44:42"},
      {52, "Alexandra…  1234/5678  12 failed  12:34  left 44:42"},
      {51, "Alexandr…  1234/5678  12 failed  12:34  left 44:42"},
      {44, "Alexandr…  1234/5678  12 failed  left 44:42"},
      {33, "Alexandra…  1234/5678  12 failed"},
      {22, "Alexandra…  1234/5678"},
      {12, "  1234/5678"},
      {8, "  1234…"},
      {1, ""},
      {0, ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Width);
    const QString visible = Visible(cli::ProgressLine(progress, c.Width));
    EXPECT_EQ(visible, c.Line);
    EXPECT_LE(cli::DisplayWidth(visible), std::max(c.Width - 1, 0));
  }
  // A short name is never cut to make room it does not need.
  EXPECT_EQ(Visible(cli::ProgressLine({"Ann", 1, 2, 0, 1000ms}, 30)), "Ann  1/2  0 failed  left 0:01");
}

TEST(ProgressLine, NamesCannotSteerTheTerminal) {
  const QString line = cli::ProgressLine({"Ann\x1b[2J\nBee", 1, 2, 0, 1000ms}, 80);
  EXPECT_EQ(Visible(line), "Ann?[2J?Bee  1/2  0 failed  1.0/s  0:01  left 0:01");
  EXPECT_EQ(line.count(u'\x1b'), 1);  // the clear-to-end alone
  EXPECT_EQ(cli::PlainFailureLine("A\rB", {"7\n", "1024x768", "gone\x1b[0m"}),
            "A?B: not loaded: 7? at 1024x768: gone?[0m");
}

TEST(ProgressLine, PlainLinesTellEachEnd) {
  cli::TNameAccount all{"Demo Model", 36, 20, 16, {}, false, {}, false, 42'000ms};
  cli::TNameAccount some{"Demo Model", 36, 20, 14, {{"1", "1024x768", "x"}, {"2", "1024x768", "y"}}, false, {}, false,
                         42'000ms};
  cli::TNameAccount stopped{"Demo Model", 36, 4, 6, {{"1", "1024x768", "x"}}, false, {}, true, 12'000ms};
  cli::TNameAccount stoppedEarly{"Demo Model", 0, 0, 0, {}, false, {}, true, 3'000ms};
  cli::TNameAccount none{"Demo Model", 0, 0, 0, {}, false, {}, false, 3'000ms};
  cli::TNameAccount unreachable{"Demo Model", 0, 0, 0, {}, true, "http://127.0.0.1:9/: Connection refused", false,
                                1'000ms};
  cli::TNameAccount short_{"Demo Model", 36, 20, 10, {}, false, {}, false, 42'000ms};
  const struct {
    cli::TNameAccount Account;
    QString Line;
  } cases[] = {
      {all, "Demo Model: all 36 on disk (20 already there, 16 fetched), 0:42"},
      {some, "Demo Model: 34 of 36 on disk (20 already there, 14 fetched), 2 failed, 0:42"},
      {stopped, "Demo Model: stopped, 10 of 36 on disk (4 already there, 6 fetched), 1 failed, 0:12"},
      {stoppedEarly, "Demo Model: stopped before any wallpaper was found, 0:03"},
      {none, "Demo Model: no wallpapers found, 0:03"},
      {unreachable, "Demo Model: the site could not be reached: http://127.0.0.1:9/: Connection refused"},
      // Counts that fall short of what was found never read as "all".
      {short_, "Demo Model: 30 of 36 on disk (20 already there, 10 fetched), 0:42"},
  };
  for (const auto& c : cases) EXPECT_EQ(cli::PlainEndLine(c.Account), c.Line);
  EXPECT_EQ(cli::PlainFailureLine("Demo Model", {"1234", "1920x1200", "HTTP 404"}),
            "Demo Model: not loaded: 1234 at 1920x1200: HTTP 404");
}

}  // namespace
