// Renders the windows into PNG files for a person to look at: the compact and the
// full layout with each page (a few sample rows in the lists), the About window,
// and a run under way against the fixture site (run.png, the README's picture).
// Run it on a real display or under Xvfb; not a test.
//
//   ui_look <output folder>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QCursor>
#include <QDir>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <cstdio>

#include "fixture/FixtureSite.h"
#include "fixture/Jpeg.h"
#include "task/MainThread.h"
#include "ui/Environment.h"
#include "ui/RecordingPlatform.h"
#include "ui/TAbout.h"
#include "ui/TForm1.h"
#include "ui/TImage.h"
#include "ui/TListView.h"

namespace {

void AddSampleRows(ui::TForm1& form) {
  const struct {
    const char* name;
    int found;
    bool done;
    int icon;
  } batch[] = {{"Mary Ann Test", 0, false, 0}, {"Sample Name", 48, true, 1}, {"Zoë Example", 0, false, 1}};
  for (const auto& entry : batch) {
    QTreeWidgetItem* item = form.ListView1->AddItem(entry.name);
    item->setText(1, QString::number(entry.found));
    item->setText(2, entry.done ? "Yes" : "No");
    item->setCheckState(0, entry.done ? Qt::Unchecked : Qt::Checked);
    form.ListView1->SetImageIndex(item, entry.icon);
  }
  const std::pair<const char*, int> names[] = {
      {"Sample Name", 4}, {"Ann Other", 0}, {"Mary Ann Test", 6}, {"Zoë Example", -1}};
  for (const auto& [name, icon] : names) form.ListView2->SetImageIndex(form.ListView2->AddItem(name), icon);
  for (int worker = 1; worker <= 3; ++worker) {
    QTreeWidgetItem* row = form.ListView3->AddItem(QString::number(worker));
    row->setText(1, "Loading: Mary Ann Test (1024x768)");
  }
  form.Log->appendPlainText("Searching for pages...\nLEFT THREADS: 2");
}

bool Save(QWidget& window, const QDir& out, const QString& name) {
  QApplication::processEvents();
  const bool saved = window.grab().save(out.filePath(name));
  if (!saved) std::fprintf(stderr, "cannot write %s\n", qPrintable(out.filePath(name)));
  return saved;
}

bool PumpUntil(const std::function<bool()>& done) {
  return task::PumpUntil(
      [&] {
        QApplication::processEvents();
        return done();
      },
      std::chrono::seconds(60));
}

// A name of the fixture site with wallpapers in several sizes, some missing
// and some too narrow, as the demo has them.
fixture::TSiteName RunName() {
  const std::pair<const char*, QSize> sizes[] = {
      {"1024x768", {1024, 768}}, {"1280x1024", {1280, 1024}}, {"1600x1200", {1600, 1200}}, {"1920x1200", {1920, 1200}}};
  fixture::TSiteName name{"Demo Model", "demo-model", {}};
  for (int page = 0, n = 0; page < 3; ++page) {
    QList<fixture::TWallpaper> wallpapers;
    for (int i = 0; i < 16; ++i, ++n) {
      const auto& [text, size] = sizes[n % std::size(sizes)];
      QByteArray image;
      if (n % 7 != 6) image = n % 11 == 10 ? fixture::MakeJpeg(299, 200, n) : fixture::MakeJpeg(size.width(), size.height(), n);
      wallpapers << fixture::TWallpaper{QString::number(41001 + n), QString::fromLatin1(text), image};
    }
    name.Pages << wallpapers;
  }
  return name;
}

// The full layout on the Threads page, a third of the way through a run.
bool SaveRun(const QDir& out) {
  fixture::TFixtureSite site;
  site.AddName(RunName());
  QTemporaryDir work;
  ui::TRecordingPlatform platform;
  ui::TEnvironment environment = ui::CompiledEnvironment(work.path(), platform);
  environment.Site = site.Urls();
  environment.Download.FetchPause = std::chrono::milliseconds(300);  // slow enough to be caught at work
  ui::TForm1 form(environment);
  form.CheckBox1->setChecked(true);  // "All Available"
  form.SpinEdit1->setValue(6);
  form.NameEdit->setEditText("Demo Model");
  form.Button5->click();
  form.PageControl1->setCurrentWidget(form.TabSheet4);
  form.show();
  if (!QTest::qWaitForWindowExposed(&form, 5000)) return false;
  form.Button1Click();
  const bool caught = PumpUntil([&] {
    return form.ProgressMax() > 10 && form.ProgressPosition() * 3 >= form.ProgressMax() && form.Image1->HasPicture() &&
           form.Seconds >= 2;
  });
  if (!caught) std::fprintf(stderr, "the run did not get a third of the way within a minute\n");
  const bool saved = caught && Save(form, out, "run.png");
  if (form.Working) form.Button1Click();  // Stop
  PumpUntil([] { return task::LiveThreadCount() == 0; });
  return saved;
}

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s <output folder>\n", argv[0]);
    return 2;
  }
  const QDir out(QString::fromLocal8Bit(argv[1]));
  if (!out.mkpath(".")) return 1;

  QCursor::setPos(0, 0);  // off the preview, whose magnifier would show
  ui::TRecordingPlatform platform;
  // A folder of its own: the window writes its settings there when it closes.
  QTemporaryDir work;
  const ui::TEnvironment environment = ui::CompiledEnvironment(work.path(), platform);
  ui::TForm1 form(environment);
  ui::TAbout about(environment);
  form.About = &about;
  AddSampleRows(form);
  form.show();
  if (!QTest::qWaitForWindowExposed(&form, 5000)) return 1;

  bool ok = Save(form, out, "compact.png");
  form.Button5->click();
  for (int page = 0; page < form.PageControl1->count(); ++page) {
    form.PageControl1->setCurrentIndex(page);
    ok = Save(form, out, QString("full-%1.png").arg(page + 1)) && ok;
  }
  form.Button6->click();
  if (!QTest::qWaitForWindowExposed(&about, 5000)) return 1;
  ok = Save(about, out, "about.png") && ok;
  about.hide();
  form.hide();
  ok = SaveRun(out) && ok;
  return ok ? 0 : 1;
}
