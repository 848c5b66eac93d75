// Download runs driven through the main window against the fixture site.
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QPushButton>

#include "Form1TestSupport.h"
#include "fixture/Jpeg.h"
#include "ui/TLabel.h"

using namespace form1test;

namespace {

TEST_F(Form1Fixture, ARunDownloadsEveryLinkAndEndsWithTheChimeAndTheFolder) {
  Site.AddName(fixture::MakeSiteName("Sample Name", 2, 3, fixture::MakeJpeg(1280, 1024), 41001, {"1024x768"}));
  ui::TForm1& form = Open();
  ASSERT_TRUE(RunName("Sample Name"));
  for (const QString& line : LogLines()) std::printf("%s\n", qPrintable(line));
  EXPECT_EQ(form.Found->text(), "Found: 6");
  EXPECT_EQ(form.Status->text(), "Done");
}

}  // namespace
