// The name catalogue on the main window: the site's index of names, the
// thumbnails in AllGirls and the pass that fetches the missing ones, and the
// hand-over of chosen names to the batch list.

#include <QCheckBox>
#include <QFile>
#include <QPushButton>
#include <system_error>

#include "download/Catalogue.h"
#include "download/DiskLayout.h"
#include "download/ThumbnailPass.h"
#include "site/Discovery.h"
#include "site/Retry.h"
#include "site/UrlScheme.h"
#include "ui/PreviewPicture.h"
#include "ui/TForm1.h"
#include "ui/TImage.h"
#include "ui/TLabel.h"
#include "ui/TListView.h"
#include "ui/WindowHandOff.h"

namespace ui {

// One press of "Load Girls": what its thread needs, copied when it starts,
// and what it found, for the UI thread to show.
struct TForm1::TNamesFetch {
  QString Url;
  QString Dir;
  site::TFetchOptions Fetch;
  // No download run: the index's own 50 calls are its retries, one try each.
  const std::atomic<bool> Working{false};
  QStringList Names;
  QList<bool> HasThumbnail;  // one per name
  site::TFetchResult Result;
};

namespace {

bool ThumbnailExists(const QString& dir, const QString& caption) {
  const std::optional<QString> thumb = download::ThumbnailPath(dir, caption);
  return thumb && QFile::exists(*thumb);
}

int IconOf(download::TThumbState state) {
  switch (state) {
    case download::TThumbState::Busy: return kBusyIcon;
    case download::TThumbState::Stored: return kThumbIcon;
    case download::TThumbState::Failed: return kFailedIcon;
  }
  return kNoIcon;
}

// The pass's view of the window. Every read and change runs on the UI thread
// while the pass waits, and only while the window still listens to this pass:
// it is not closing (from then on it may be gone) and no newer pass has begun.
// An item is changed only while it still is the one the pass handles.
class TForm1ThumbnailView : public download::TThumbnailView {
 public:
  TForm1ThumbnailView(TForm1& form, int pass, std::shared_ptr<std::atomic<bool>> closing)
      : Form_(form),
        Pass_(pass),
        Closing_(std::move(closing)),
        HandOff_([this] { return !*Closing_ && Form_.ThumbPass == Pass_; }) {}

  // What the pass takes with it when it starts; none when the window no longer listens.
  std::optional<download::TThumbnailSettings> Start() {
    std::optional<download::TThumbnailSettings> settings;
    HandOff_.Change([&] {
      settings = download::TThumbnailSettings{Form_.Dir, Form_.Environment.Site, Form_.Environment.Fetch};
      PreviewSize_ = Form_.Image1->size();
    });
    return settings;
  }

  int ItemCount() override { return HandOff_.Read<int>([&] { return Form_.ListView2->topLevelItemCount(); }); }
  std::optional<QString> Caption(int i) override {
    return HandOff_.Read<std::optional<QString>>([&]() -> std::optional<QString> {
      if (const QTreeWidgetItem* item = Form_.ListView2->topLevelItem(i)) return item->text(0);
      return std::nullopt;
    });
  }
  void ShowProgress(const QString& caption) override {
    HandOff_.Change([&] { Form_.Label5->setText(caption); });
  }
  void SetState(int i, const QString& caption, download::TThumbState state) override {
    HandOff_.Change([&] {
      QTreeWidgetItem* item = Form_.ListView2->topLevelItem(i);
      if (item && item->text(0) == caption) Form_.ListView2->SetImageIndex(item, IconOf(state));
    });
  }
  bool ShowThumbnail(const QString& caption, const QString& path) override {
    const QImage picture = LoadPreviewPicture(path, PreviewSize_, {.Cancel = Closing_.get()});
    if (picture.isNull()) return false;
    HandOff_.Change([&] {
      Form_.SetPreview(picture);
      Form_.Label3->setText(caption);
      Form_.CurrentPath = path;
    });
    return true;
  }
  void AddLog(const QString& line) override {
    HandOff_.Change([&] { Form_.AddLog(line); });
  }

 private:
  TForm1& Form_;
  const int Pass_;
  const std::shared_ptr<std::atomic<bool>> Closing_;
  const TWindowHandOff HandOff_;
  QSize PreviewSize_;  // of Image1, which never changes size
};

}  // namespace

void TForm1::Button7Click() {
  // One fetch at a time: the button is disabled meanwhile, but the program
  // may press it from code.
  if (LoadAllGirlsNames && LoadAllGirlsNames->Active) return;
  auto fetch = std::make_shared<TNamesFetch>();
  fetch->Url = site::NamesIndexUrl(Environment.Site.MainSiteUrl);
  fetch->Dir = Dir;
  fetch->Fetch = Environment.Fetch;
  if (!LoadAllGirlsNames) LoadAllGirlsNames = std::make_unique<task::TSmartTask>();
  // The thread touches nothing of the window; it holds the closing flag itself.
  LoadAllGirlsNames->OnExecuteEvent([fetch, closing = TerminatingFlag](const task::TTaskThread& thread) {
    const site::TRunContext run{fetch->Working, *closing, fetch->Fetch, &thread.Active};
    fetch->Result = site::GetNames(fetch->Url, fetch->Names, run);
    // Thousands of look-ups on disk, kept off the UI thread.
    for (const QString& name : fetch->Names) {
      if (*closing) return;
      fetch->HasThumbnail << ThumbnailExists(fetch->Dir, name);
    }
  });
  // Runs on the UI thread, and only for a fetch that was not stopped.
  LoadAllGirlsNames->OnTerminatedEvent([this, fetch, closing = TerminatingFlag](task::TObject*) {
    if (!*closing) ShowNames(*fetch);
  });
  try {
    LoadAllGirlsNames->Start();
  } catch (const std::system_error& error) {
    AddLog("ERR: the names could not be loaded: " + QString::fromLocal8Bit(error.what()));
    return;
  }
  Button7->setEnabled(false);
  Label5->setText("Loading names...");
}

void TForm1::ShowNames(TNamesFetch& fetch) {
  if (!fetch.Result && fetch.Result.Failure != site::TFetchFailure::Stopped)
    AddLog(site::PageFailureLine(fetch.Url, fetch.Result));
  // Made apart and appended in one step: the list takes thousands at about
  // the cost of one.
  QList<QTreeWidgetItem*> items;
  items.reserve(fetch.Names.size());
  for (qsizetype i = 0; i < fetch.Names.size(); ++i) {
    QTreeWidgetItem* item = ListView2->NewItem(fetch.Names[i]);
    ListView2->SetImageIndex(item, fetch.HasThumbnail.value(i) ? kThumbIcon : kNoIcon);
    items << item;
  }
  ListView2->AppendItems(items);
  Label5->setText(QString::number(fetch.Names.size()));
  Button7->setEnabled(true);
  // The task keeps its handlers, and with them this fetch, until the next press.
  fetch.Names.clear();
  fetch.HasThumbnail.clear();
}

void TForm1::GetAllGirlsList() {
  ListView2->clear();
  QList<QTreeWidgetItem*> items;
  for (const QString& caption : download::ThumbnailCaptions(Dir)) {
    QTreeWidgetItem* item = ListView2->NewItem(caption);
    ListView2->SetImageIndex(item, kThumbIcon);
    items << item;
  }
  ListView2->AppendItems(items);
  // The count after the last item, as each item would have left it.
  if (!items.isEmpty()) Label5->setText(QString::number(ListView2->topLevelItemCount()));
}

void TForm1::Button8Click() {
  if (LoadingThumbs) {
    Button8->setText("Load Images");
    LoadingThumbs = false;
    LoadAllGirlsImg->Stop();
  } else {
    LoadingThumbs = true;
    Button8->setText("STOP");
    // Numbered before it starts, so a stopped pass still finishing knows it is old.
    LoadAllGirlsImg->SetParam("Pass", ++ThumbPass);
    LoadAllGirlsImg->Start();
  }
}

void TForm1::LoadAllGirlsTask(const task::TTaskThread& TaskThread) {
  std::int32_t pass = 0;
  TaskThread.GetParam("Pass", pass);
  // Held here, so the flag outlives a window that closes while the pass
  // still finishes a fetch.
  const std::shared_ptr<std::atomic<bool>> closing = TerminatingFlag;
  TForm1ThumbnailView view(*this, pass, closing);
  const std::optional<download::TThumbnailSettings> settings = view.Start();
  if (!settings) return;
  download::TThumbnailPass(*settings, view, TaskThread.Active, *closing).Run();
}

void TForm1::ListView2SelectItem() {
  const QList<QTreeWidgetItem*> selected = ListView2->selectedItems();
  if (selected.isEmpty()) return;
  const QString caption = selected.first()->text(0);
  const QString thumb = download::ThumbnailPath(Dir, caption).value_or(QString());
  ShowPictureOrClear(thumb, [this, caption, path = thumb](const QImage& picture) {
    if (picture.isNull()) {
      AddLog("ERR: Can not read - " + path);  // the preview keeps what it showed
      return;
    }
    Image1->SetPicture(picture);
    CurrentPath = path;
    Label3->setText(caption);
  });
}

void TForm1::Button9Click() {
  QStringList chosen;
  for (int i = 0; i < ListView2->topLevelItemCount(); ++i) {
    const QTreeWidgetItem* item = ListView2->topLevelItem(i);
    if (item->checkState(0) == Qt::Checked) chosen << item->text(0);
  }
  AddBatchEntries(chosen);
}

void TForm1::CheckBox12Click() {
  const Qt::CheckState state = CheckBox12->isChecked() ? Qt::Checked : Qt::Unchecked;
  ListView2->SetAllChecked(state);
}

}  // namespace ui
