#pragma once
// A main window on a temporary working directory with a recording platform layer.

#include <gtest/gtest.h>

#include <QApplication>
#include <QTemporaryDir>
#include <QTest>
#include <memory>
#include <ostream>

#include "ui/Environment.h"
#include "ui/RecordingPlatform.h"
#include "ui/TAbout.h"
#include "ui/TForm1.h"

// Readable failure messages for Qt strings.
inline void PrintTo(const QString& text, std::ostream* out) { *out << '"' << text.toStdString() << '"'; }

namespace ui::testing {

class FormFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(WorkDir.isValid());
    Environment = CompiledEnvironment(WorkDir.path(), Platform);
    Form = std::make_unique<TForm1>(Environment);
    About = std::make_unique<TAbout>(Environment);
    Form->About = About.get();
  }

  // Shows the window and waits (bounded) until it is the active one, so that
  // focus and key presses behave as on a desktop.
  void ShowActive(QWidget& window) {
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window, 5000));
  }

  QTemporaryDir WorkDir;
  TRecordingPlatform Platform;
  TEnvironment Environment;
  std::unique_ptr<TForm1> Form;
  std::unique_ptr<TAbout> About;  // destroyed first, as in the program
};

}  // namespace ui::testing
