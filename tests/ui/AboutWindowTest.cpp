// The About window: one instance, shown without blocking the main window, its
// text, and its two links going to the platform layer.

#include <QAccessible>
#include <QPlainTextEdit>
#include <QPushButton>

#include "ui/UiTestSupport.h"
#include "ui/TImage.h"
#include "ui/TLabel.h"

namespace ui::testing {
namespace {

using AboutWindow = FormFixture;

int AboutWindows() {
  int count = 0;
  for (QWidget* window : QApplication::topLevelWidgets()) count += window->inherits("ui::TAbout");
  return count;
}

TEST_F(AboutWindow, IsCreatedHiddenAndAboutShowsTheSameOneEachTime) {
  ShowActive(*Form);
  TAbout* about = Form->About;
  EXPECT_TRUE(about->isHidden());
  EXPECT_EQ(about->windowTitle(), "About");

  Form->Button6->click();
  ASSERT_TRUE(QTest::qWaitForWindowActive(about, 5000));
  EXPECT_FALSE(about->isModal());
  EXPECT_TRUE(Form->isEnabled());

  // Back to the main window; About again brings the same window to the front.
  ShowActive(*Form);
  Form->Button6->click();
  EXPECT_TRUE(QTest::qWaitForWindowActive(about, 5000));
  EXPECT_EQ(Form->About, about);
  EXPECT_EQ(AboutWindows(), 1);
}

TEST_F(AboutWindow, ClosingOnlyHidesItAndKeepsWhatWasTyped) {
  Form->Button6->click();
  TAbout* about = Form->About;
  about->Memo1->appendPlainText("my note");
  ASSERT_TRUE(about->close());
  EXPECT_TRUE(about->isHidden());
  Form->Button6->click();
  EXPECT_TRUE(about->isVisible());
  EXPECT_TRUE(about->Memo1->toPlainText().endsWith("my note"));
  EXPECT_EQ(AboutWindows(), 1);
}

TEST_F(AboutWindow, IsAResizableWindowOfItsDesignSizeThatKeepsItsContentsInPlace) {
  TAbout* about = Form->About;
  EXPECT_EQ(about->size(), QSize(529, 327));
  EXPECT_NE(about->minimumSize(), about->maximumSize());
  ShowActive(*about);
  QMap<QString, QRect> placed;
  for (QWidget* child : about->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) placed[child->objectName()] = child->geometry();
  for (const QSize size : {QSize(800, 600), QSize(300, 200), QSize(529, 327)}) {
    SCOPED_TRACE(size.width());
    about->resize(size);
    QCoreApplication::processEvents();
    EXPECT_GE(about->width(), 529);
    EXPECT_GE(about->height(), 327);
    for (QWidget* child : about->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
      EXPECT_EQ(child->geometry(), placed.value(child->objectName())) << child->objectName().toStdString();
      EXPECT_TRUE(about->rect().contains(child->geometry())) << child->objectName().toStdString();
    }
  }
}

TEST_F(AboutWindow, EscapeClosesIt) {
  TAbout* about = Form->About;
  for (const bool inTheText : {true, false}) {
    SCOPED_TRACE(inTheText ? "typing in the text" : "no focus");
    Form->Button6->click();
    ASSERT_TRUE(QTest::qWaitForWindowActive(about, 5000));
    if (inTheText) about->Memo1->setFocus();
    else about->setFocus();
    QTest::keyClick(inTheText ? static_cast<QWidget*>(about->Memo1) : about, Qt::Key_Escape);
    EXPECT_TRUE(about->isHidden());
  }
  EXPECT_TRUE(about->Memo1->toPlainText().startsWith("Hi!"));
  EXPECT_TRUE(Platform.Calls().empty());
}

TEST_F(AboutWindow, ItsLinksAndTextHaveAccessibleNames) {
  TAbout* about = Form->About;
  for (QWidget* input : {static_cast<QWidget*>(about->Donate), static_cast<QWidget*>(about->Label4),
                         static_cast<QWidget*>(about->Memo1)}) {
    SCOPED_TRACE(input->objectName().toStdString());
    EXPECT_FALSE(QAccessible::queryAccessibleInterface(input)->text(QAccessible::Name).isEmpty());
  }
  EXPECT_EQ(QAccessible::queryAccessibleInterface(about->Label4)->text(QAccessible::Name), "www.tamro.example");
  EXPECT_FALSE(QAccessible::queryAccessibleInterface(about->Donate)->text(QAccessible::Description).isEmpty());
}

TEST(AboutText, NamesTheLanguageAndTheSiteHostAndKeepsItsBlanks) {
  const QStringList lines = AboutText("http://127.0.0.1:8080");
  ASSERT_EQ(lines.size(), 25);
  EXPECT_EQ(lines[2], "yet usefull applications, written in C++.");
  EXPECT_EQ(lines[4], "\"127.0.0.1\".");  // the host only: no scheme, no port
  EXPECT_EQ(lines[24], "   P.S. Do not forget to visit 127.0.0.1");
  // Trailing blanks belong to the text.
  EXPECT_TRUE(lines[1].endsWith("one of my small, "));
  EXPECT_TRUE(lines[13].endsWith("improve the "));
  EXPECT_TRUE(lines[16].isEmpty());
  EXPECT_TRUE(lines[18].startsWith("          "));  // the address pushed to the right
}

TEST_F(AboutWindow, MemoShowsTheTextLineByLine) {
  EXPECT_EQ(Form->About->Memo1->toPlainText().split('\n'), AboutText(Environment.Site.MainSiteUrl));
  EXPECT_TRUE(Form->About->Memo1->toPlainText().contains("\"www.ostrana.example\"."));
}

TEST_F(AboutWindow, LinksOpenThroughThePlatformLayer) {
  Form->Button6->click();
  TAbout* about = Form->About;
  ASSERT_TRUE(QTest::qWaitForWindowExposed(about, 5000));

  QTest::mouseClick(about->Donate, Qt::LeftButton);
  QTest::mouseClick(about->Label4, Qt::LeftButton);
  // The label opens whatever it shows.
  about->Label4->setText("http://other.example/page");
  QTest::mouseClick(about->Label4, Qt::LeftButton);
  QTest::mouseClick(about->Label4, Qt::RightButton);  // not a click

  const std::vector<TPlatformCall> calls = Platform.Calls();
  ASSERT_EQ(calls.size(), 3u);
  const QString expected[] = {"http://www.tamro.example/donate", "www.tamro.example",
                              "http://other.example/page"};
  for (std::size_t i = 0; i < calls.size(); ++i) {
    EXPECT_EQ(calls[i].Kind, TPlatformCall::TKind::Open);
    EXPECT_EQ(calls[i].Text, expected[i]);
    EXPECT_TRUE(calls[i].OnUiThread);
  }
}

}  // namespace
}  // namespace ui::testing
