// Figures for the name catalogue and the batch list at the site's real size,
// through the main window offscreen against the fixture site: start-up with
// 20,000 thumbnails in AllGirls/ and 5,000 entries in Batch.ini, two presses
// of "Load Girls" on an index of 20,000 names, one click on the batch list
// (on a caption, and on a check box), and "Remove" of every entry selected.
// For each: how long it took, the longest stall of the UI event loop, and
// resident memory around the two presses. The UI thread runs its event loop
// wired to the engine as the program's entry wires it.
//
// Usage: catalogue_bench [names [entries]]   (defaults 20000 and 5000)

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QEvent>
#include <QEventLoop>
#include <QFile>
#include <QMetaObject>
#include <QPushButton>
#include <QStyle>
#include <QStyleOptionViewItem>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <memory>
#include <stdexcept>
#include <thread>

#include "BenchSupport.h"
#include "fixture/FixtureSite.h"
#include "fixture/Jpeg.h"
#include "site/Fetch.h"
#include "task/MainThread.h"
#include "ui/Environment.h"
#include "ui/RecordingPlatform.h"
#include "ui/TForm1.h"
#include "ui/TLabel.h"
#include "ui/TListView.h"

namespace {

using bench::Clock;
using bench::Millis;
using bench::ProcStatusMb;
using bench::Seconds;

constexpr int kTickMs = 5;
constexpr std::chrono::seconds kStepBound{600};

// Targets on the 2-core machine the program is built for.
constexpr double kStepTargetS = 0.5;
constexpr double kStallTargetMs = 100;
constexpr double kMemoryGrowthTargetMb = 10;



struct TMemory {
  double Rss = 0;
  double Peak = 0;
  static TMemory Now() { return {ProcStatusMb("VmRSS:"), ProcStatusMb("VmHWM:")}; }
};

// One step on the UI thread: `act` runs from the event loop, which then goes
// on until `done` holds. A precise 5 ms timer ticks throughout; the longest gap
// between its ticks is the longest time the loop could not react.
struct TStep {
  bool Ended = false;
  Clock::duration Took{};        // from `act` to `done`
  Clock::time_point DoneAt{};    // when `done` was first seen true
  Clock::duration LongestGap{};  // between two ticks
};

TStep RunStep(const std::function<void()>& act, const std::function<bool()>& done) {
  TStep step;
  QEventLoop loop;
  QTimer tick;
  tick.setTimerType(Qt::PreciseTimer);
  tick.setInterval(kTickMs);
  Clock::time_point last = Clock::now();
  Clock::time_point start;
  bool acted = false;
  QObject::connect(&tick, &QTimer::timeout, [&] {
    const Clock::time_point now = Clock::now();
    step.LongestGap = std::max(step.LongestGap, now - last);
    last = now;
    if (!acted) return;
    if (done()) {
      step.Took = now - start;
      step.DoneAt = now;
      step.Ended = true;
      loop.quit();
    } else if (now - start > kStepBound) {
      loop.quit();
    }
  });
  QTimer::singleShot(2 * kTickMs, [&] {
    start = Clock::now();
    act();
    acted = true;
  });
  tick.start();
  loop.exec();
  tick.stop();
  return step;
}

// Counts the main window's paints, to tell when it has been shown.
class TPaintCounter : public QObject {
 public:
  std::atomic<int> Paints{0};
  bool eventFilter(QObject*, QEvent* event) override {
    Paints += event->type() == QEvent::Paint;
    return false;
  }
};

QString Number(int n) { return QString::number(n).rightJustified(5, u'0'); }

class TBench {
 public:
  TBench(int names, int entries) : Names(names), Entries(entries) {
    if (!WorkDir.isValid()) throw std::runtime_error("no temporary folder");
    // The site's index: names without thumbnails, so every item added lacks a picture.
    QStringList index;
    for (int n = 0; n < Names; ++n) index << "Index Name " + Number(n);
    Site.SetNamesIndex(index);
    // AllGirls/ holds as many thumbnails, of other names.
    const QByteArray thumb = fixture::MakeJpeg(320, 240);
    if (!QDir(WorkDir.path()).mkdir("AllGirls")) throw std::runtime_error("no AllGirls folder");
    for (int n = 0; n < Names; ++n) {
      QFile f(WorkDir.path() + "/AllGirls/Thumb Name " + Number(n) + ".jpg");
      if (!f.open(QIODevice::WriteOnly) || f.write(thumb) != thumb.size()) throw std::runtime_error("thumbnail");
    }
    QByteArray batch;
    for (int n = 0; n < Entries; ++n)
      batch += "[Batch Name " + Number(n).toUtf8() + "]\nDone=No\nFound=0\nChecked=" + (n % 2 ? "Yes" : "No") +
               "\n\n";
    QFile file(WorkDir.path() + "/Batch.ini");
    if (!file.open(QIODevice::WriteOnly) || file.write(batch) != batch.size()) throw std::runtime_error("Batch.ini");
    file.close();

    Environment = ui::CompiledEnvironment(WorkDir.path(), Platform);
    Environment.Site = Site.Urls();
    // As the program's entry wires the engine to the event loop.
    task::SetWakeUpHook([] {
      QMetaObject::invokeMethod(qApp, [] { task::CheckSynchronize(); }, Qt::QueuedConnection);
    });
  }

  ~TBench() {
    Form.reset();  // waits for the task threads
    task::SetWakeUpHook({});
    QCoreApplication::removePostedEvents(qApp);
  }

  // The page alone: one fetch of the index, as the ideal "Load Girls" waits for.
  double FetchIndexSeconds() const {
    std::atomic<bool> terminating{false};
    QStringList lines;
    const Clock::time_point start = Clock::now();
    const bool ok = bool(site::FetchText(Site.MainSiteUrl() + "/babes/", lines, site::TFetchStop(terminating)));
    const double took = Seconds(Clock::now() - start);
    return ok && lines.size() > Names ? took : -1;
  }

  // From the window's creation to its first paint, in the compact layout it opens with.
  TStep StartUp() {
    return RunStep(
        [this] {
          Form = std::make_unique<ui::TForm1>(Environment);
          Form->installEventFilter(&Paints);
          Form->show();
        },
        [this] { return Form && Paints.Paints > 0; });
  }

  // "Batch": the full layout, with the catalogue's page and its items shown at last.
  TStep OpenFullLayout() {
    ui::TListView& list = *Form->ListView2;
    list.viewport()->installEventFilter(&ListPaints);
    return RunStep(
        [this] {
          Form->Button5Click();
          Form->PageControl1->setCurrentWidget(Form->TabSheet2);
        },
        [this] { return ListPaints.Paints > 0; });
  }

  struct TLoadGirls {
    TStep Step;
    double AfterArrivalS = -1;  // from the index request reaching the site to the names shown
    int Items = 0;
  };
  TLoadGirls LoadGirls() {
    TLoadGirls result;
    Form->PageControl1->setCurrentWidget(Form->TabSheet2);
    Site.Server().ClearLog();
    const int before = Form->ListView2->topLevelItemCount();
    // The site's side: when the request for the index arrives.
    std::atomic<bool> arrived{false};
    Clock::time_point arrival;
    std::thread watcher([&] {
      if (Site.Server().WaitForRequests(1, kStepBound)) {
        arrival = Clock::now();
        arrived = true;
      }
    });
    // Shown means painted: the list lays its rows out on its first paint after
    // the names were added, and nothing else repaints it meanwhile.
    const int paints = ListPaints.Paints;
    result.Step = RunStep([this] { Form->Button7Click(); },
                          [&] {
                            return Form->ListView2->topLevelItemCount() == before + Names &&
                                   Form->Label5->text() == QString::number(Names) && Form->Button7->isEnabled() &&
                                   ListPaints.Paints > paints;
                          });
    watcher.join();
    if (arrived && result.Step.Ended) result.AfterArrivalS = Seconds(result.Step.DoneAt - arrival);
    result.Items = Form->ListView2->topLevelItemCount();
    return result;
  }

  // A click on the first entry of the batch list: on its caption, or on its check box.
  TStep ClickBatchList(bool onCheckBox) {
    Form->PageControl1->setCurrentWidget(Form->TabSheet1);
    ui::TListView& list = *Form->ListView1;
    QTreeWidgetItem* first = list.topLevelItem(0);
    const QRect row = list.visualItemRect(first);
    QPoint at = row.center();
    if (onCheckBox) {
      QStyleOptionViewItem cell;
      cell.initFrom(&list);
      cell.rect = row;
      cell.features = QStyleOptionViewItem::HasCheckIndicator | QStyleOptionViewItem::HasDisplay;
      at = list.style()->subElementRect(QStyle::SE_ItemViewItemCheckIndicator, &cell, &list).center();
    }
    const Qt::CheckState state = first->checkState(0);
    bool clicked = false;
    TStep step = RunStep(
        [&] {
          QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, at);
          clicked = true;
        },
        [&] { return clicked; });
    if (onCheckBox && first->checkState(0) == state) step.Ended = false;  // the click missed the box
    return step;
  }

  // "Check All" over a whole list: ticks every item, or unticks them.
  TStep CheckAll(bool catalogue) {
    Form->PageControl1->setCurrentWidget(catalogue ? Form->TabSheet2 : Form->TabSheet1);
    QCheckBox* box = catalogue ? Form->CheckBox12 : Form->CheckBox11;
    QTreeWidget* list = catalogue ? static_cast<QTreeWidget*>(Form->ListView2) : Form->ListView1;
    const Qt::CheckState wanted = box->isChecked() ? Qt::Unchecked : Qt::Checked;
    QTreeWidgetItem* last = list->topLevelItem(list->topLevelItemCount() - 1);
    return RunStep([box] { box->click(); }, [&] { return last->checkState(0) == wanted; });
  }

  TStep RemoveAll() {
    Form->PageControl1->setCurrentWidget(Form->TabSheet1);
    Form->ListView1->selectAll();
    return RunStep([this] { Form->Button4Click(); }, [this] { return Form->ListView1->topLevelItemCount() == 0; });
  }

  int BatchCount() const { return Form->ListView1->topLevelItemCount(); }
  int CatalogueCount() const { return Form->ListView2->topLevelItemCount(); }

  const int Names;
  const int Entries;

 private:
  fixture::TFixtureSite Site;
  QTemporaryDir WorkDir;
  ui::TRecordingPlatform Platform;
  ui::TEnvironment Environment;
  std::unique_ptr<ui::TForm1> Form;
  TPaintCounter Paints;
  TPaintCounter ListPaints;
};

void PrintStep(const char* what, const TStep& step, double targetS = kStepTargetS) {
  std::printf("%s: %.3f s (target <= %.1f), longest UI stall %.1f ms (target <= %.0f)%s\n", what, Seconds(step.Took),
              targetS, Millis(step.LongestGap), kStallTargetMs, step.Ended ? "" : "  [DID NOT END]");
}

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  const int names = argc > 1 ? std::max(1, std::atoi(argv[1])) : 20000;
  const int entries = argc > 2 ? std::max(1, std::atoi(argv[2])) : 5000;

  std::unique_ptr<TBench> bench;
  try {
    bench = std::make_unique<TBench>(names, entries);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "catalogue_bench: %s\n", e.what());
    return 1;
  }
  std::printf("Catalogue and batch list: %d thumbnails in AllGirls/, %d entries in Batch.ini, an index of %d names\n",
              names, entries, names);
  QString problems;

  const TStep startUp = bench->StartUp();
  PrintStep("Start-up to the window shown", startUp);
  std::printf("  %d catalogue items, %d batch entries\n", bench->CatalogueCount(), bench->BatchCount());
  if (!startUp.Ended) problems += "the window was not shown; ";
  if (bench->CatalogueCount() != names) problems += "the catalogue misses thumbnails; ";
  if (bench->BatchCount() != entries) problems += "the batch list misses entries; ";
  const TStep full = bench->OpenFullLayout();
  PrintStep("\"Batch\" to the full layout with the catalogue shown", full);
  if (!full.Ended) problems += "the catalogue was not shown; ";

  const double fetch = bench->FetchIndexSeconds();
  std::printf("The index page alone: %.3f s\n", fetch);
  const TMemory before = TMemory::Now();
  TMemory after[2];
  for (int press = 0; press < 2; ++press) {
    const TBench::TLoadGirls load = bench->LoadGirls();
    after[press] = TMemory::Now();
    std::printf("\"Load Girls\" #%d: pressed to names shown %.3f s; from the page's arrival %.3f s (target <= %.1f); "
                "longest UI stall %.1f ms (target <= %.0f)%s\n",
                press + 1, Seconds(load.Step.Took), load.AfterArrivalS, kStepTargetS, Millis(load.Step.LongestGap),
                kStallTargetMs, load.Step.Ended ? "" : "  [DID NOT END]");
    if (!load.Step.Ended) problems += "\"Load Girls\" did not end; ";
    if (load.Items != names * (press + 2)) problems += "\"Load Girls\" added the wrong number of names; ";
  }
  std::printf("  resident memory: %.1f MiB before (peak %.1f), %.1f MiB after the first press (peak %.1f), "
              "%.1f MiB after the second (peak %.1f)\n",
              before.Rss, before.Peak, after[0].Rss, after[0].Peak, after[1].Rss, after[1].Peak);
  std::printf("  growth from the first press to the second: %.1f MiB resident, %.1f MiB peak (target <= %.0f)\n",
              after[1].Rss - after[0].Rss, after[1].Peak - after[0].Peak, kMemoryGrowthTargetMb);

  const TStep caption = bench->ClickBatchList(false);
  PrintStep("One click on a batch entry's caption (nothing changes)", caption);
  const TStep box = bench->ClickBatchList(true);
  PrintStep("One click on a batch entry's check box (its tick changes)", box);
  if (!caption.Ended || !box.Ended) problems += "a click on the batch list missed; ";

  for (bool catalogue : {true, false}) {
    const TStep checkAll = bench->CheckAll(catalogue);
    PrintStep(qPrintable(QString("\"Check All\" on %1 %2").arg(catalogue ? bench->CatalogueCount() : bench->BatchCount())
                             .arg(catalogue ? "catalogue items" : "batch entries")),
              checkAll);
    if (!checkAll.Ended) problems += "\"Check All\" missed items; ";
  }

  const TStep remove = bench->RemoveAll();
  PrintStep(qPrintable(QString("\"Remove\" of %1 selected entries").arg(entries)), remove);
  if (!remove.Ended) problems += "\"Remove\" left entries; ";

  bench.reset();
  if (task::LiveThreadCount() != 0) problems += "task threads left after closing; ";
  if (!problems.isEmpty()) {
    std::fprintf(stderr, "catalogue_bench: %s\n", qPrintable(problems));
    return 1;
  }
  return 0;
}
