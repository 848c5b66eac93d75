// Renders the windows into PNG files for a person to look at: the compact and the
// full layout with each page (a few sample rows in the lists), and the About
// window. Run it on a real display or under Xvfb; not a test.
//
//   ui_look <output folder>

#include <QApplication>
#include <QDir>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <cstdio>

#include "ui/Environment.h"
#include "ui/RecordingPlatform.h"
#include "ui/TAbout.h"
#include "ui/TForm1.h"
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

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s <output folder>\n", argv[0]);
    return 2;
  }
  const QDir out(QString::fromLocal8Bit(argv[1]));
  if (!out.mkpath(".")) return 1;

  ui::TRecordingPlatform platform;
  const ui::TEnvironment environment = ui::CompiledEnvironment(QDir::currentPath(), platform);
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
  return ok ? 0 : 1;
}
