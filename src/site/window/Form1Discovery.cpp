// The search task's body on the main window: the discovery of the site layer,
// with its control changes handed to the UI thread.

#include <QProgressBar>

#include "site/Discovery.h"
#include "ui/TForm1.h"
#include "ui/TLabel.h"
#include "ui/WindowHandOff.h"

namespace ui {

namespace {

// Reads always answer; changes are dropped once the run was stopped or
// replaced, so the window keeps showing "Done" and a full bar after a Stop, and
// a newer run's controls stay its own.
class TForm1DiscoveryView : public site::TDiscoveryView {
 public:
  TForm1DiscoveryView(TForm1& form, std::shared_ptr<download::TDownloadRun> run)
      : Form_(form), Run_(std::move(run)), HandOff_([this] { return Form_.IsCurrent(*Run_) && Run_->Working; }) {}

  QString NameText() override { return Run_->Name; }
  void SetStatus(const QString& caption) override {
    HandOff_.Change([&] { Form_.Status->setText(caption); });
  }
  void SetLabel2(const QString& caption) override {
    HandOff_.Change([&] { Form_.Label2->setText(caption); });
  }
  void SetProgressMax(int max) override {
    HandOff_.Change([&] { Form_.SetProgressMax(max); });
  }
  int ProgressMax() override { return Always_.Read<int>([&] { return Form_.ProgressMax(); }); }
  int ProgressPosition() override { return Always_.Read<int>([&] { return Form_.ProgressPosition(); }); }
  void UpdateProgress(int position) override {
    HandOff_.Change([&] { Form_.UpdateProgress(position); });
  }
  void AddLog(const QString& line) override {
    Run_->SearchLog << line;
    HandOff_.Change([&] { Form_.AddLog(line); });
  }

 private:
  TForm1& Form_;
  std::shared_ptr<download::TDownloadRun> Run_;
  const TWindowHandOff HandOff_;
  const TWindowHandOff Always_{[] { return true; }};
};

}  // namespace

void TForm1::FindImagesTask(const task::TTaskThread&, const std::shared_ptr<download::TDownloadRun>& run) {
  const std::shared_ptr<std::atomic<bool>> terminating = TerminatingFlag;
  // The run's own flag: its Stop gives up the search's fetch in progress.
  const site::TRunContext context{run->Working, *terminating, Environment.Fetch, &run->Working};
  const site::TSiteUrls urls = Environment.Site;
  TForm1DiscoveryView view(*this, run);
  site::TDiscovery discovery(context, urls, view);
  // The run's own list: a stopped search never writes into a newer run's links.
  discovery.FindImagesTask(run->ImageLinks);
  run->FirstPage = discovery.FirstPage();
}

}  // namespace ui
