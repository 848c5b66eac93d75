// One QApplication for the whole test program, on Qt's offscreen platform unless
// the caller chose another, so widget tests never put windows on a desktop.

#include <gtest/gtest.h>

#include <QApplication>
#include <memory>

namespace {

class TQtApplication : public ::testing::Environment {
 public:
  void SetUp() override {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "ui_tests";
    static char* argv[] = {name, nullptr};
    App = std::make_unique<QApplication>(argc, argv);
  }
  void TearDown() override { App.reset(); }

 private:
  std::unique_ptr<QApplication> App;
};

[[maybe_unused]] ::testing::Environment* const registered =
    ::testing::AddGlobalTestEnvironment(new TQtApplication);

}  // namespace
