#pragma once
// A main window on a temporary working directory, pointed at the fixture site,
// with short timings and a recording platform layer; and bounded waits that
// serve both the engine's queue and Qt's events.

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QPlainTextEdit>
#include <QTemporaryDir>
#include <memory>

#include "common/QtPrint.h"
#include "fixture/FixtureSite.h"
#include "task/MainThread.h"
#include "ui/Environment.h"
#include "ui/RecordingPlatform.h"
#include "ui/TForm1.h"

namespace form1test {

inline constexpr std::chrono::seconds kBound{30};

// Pumps the main-thread queue and Qt's events until `done` holds or the bound passes.
template <typename F>
bool PumpUntil(F&& done, std::chrono::milliseconds bound = kBound) {
  return task::PumpUntil(
      [&] {
        QCoreApplication::processEvents();
        return done();
      },
      bound);
}

// Waits until the preview's decode, done off the UI thread, has been shown.
inline bool PreviewSettled(const ui::TForm1& form) {
  return PumpUntil([&] { return !form.PreviewPending(); });
}

class Form1Fixture : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(WorkDir.isValid());
    Environment = ui::CompiledEnvironment(WorkDir.path(), Platform);
    Environment.Site = Site.Urls();
    Environment.Download.FetchPause = std::chrono::milliseconds(1);
    Environment.Fetch.DataTimeout = std::chrono::seconds(5);
    Environment.TimerInterval = std::chrono::hours(1);  // ticks are driven by the tests
  }
  void TearDown() override {
    Form.reset();
    EXPECT_EQ(task::LiveThreadCount(), 0);
  }

  ui::TForm1& Open() {
    Form = std::make_unique<ui::TForm1>(Environment);
    return *Form;
  }
  QStringList LogLines() const { return Form->Log->toPlainText().split(u'\n'); }
  // Presses Start for `name` and waits for the run to end.
  bool RunName(const QString& name) {
    Form->NameEdit->setEditText(name);
    Form->Button1Click();
    return PumpUntil([&] { return !Form->Working && task::LiveThreadCount() == 0; });
  }

  fixture::TFixtureSite Site;
  QTemporaryDir WorkDir;
  ui::TRecordingPlatform Platform;
  ui::TEnvironment Environment;
  std::unique_ptr<ui::TForm1> Form;
};

}  // namespace form1test
