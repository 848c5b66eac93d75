// The name catalogue on the main window: the site's index of names, the
// thumbnails in AllGirls and the pass that fetches the missing ones, and the
// hand-over of chosen names to the batch list.

#include <QCheckBox>
#include <QFile>
#include <QPushButton>
#include <cerrno>

#include "download/Catalogue.h"
#include "download/DiskLayout.h"
#include "download/FileStore.h"
#include "download/Jpeg.h"
#include "download/WallpaperLink.h"
#include "site/Discovery.h"
#include "site/Text.h"
#include "task/MainThread.h"
#include "ui/PreviewPicture.h"
#include "ui/TForm1.h"
#include "ui/TImage.h"
#include "ui/TLabel.h"
#include "ui/TListView.h"

namespace ui {

namespace {

constexpr int kIndexTries = 50;
constexpr int kLinkTries = 50;

bool ThumbnailExists(const QString& dir, const QString& caption) {
  const std::optional<QString> thumb = ThumbnailPath(dir, caption);
  return thumb && QFile::exists(*thumb);
}

// The pass's view of the window. Every read and change runs on the UI thread
// while the pass waits; changes of a pass that a newer one replaced are dropped,
// and an item is changed only while it still is the one the pass handles.
class TThumbPassView {
 public:
  TThumbPassView(TForm1& form, int pass) : Form(form), Pass(pass) {
    task::Synchronize([&] { PreviewSize = Form.Image1->size(); });
  }

  int ItemCount() {
    int count = 0;
    task::Synchronize([&] { count = Form.ListView2->topLevelItemCount(); });
    return count;
  }
  // None when the item is gone.
  std::optional<QString> Caption(int i) {
    std::optional<QString> caption;
    task::Synchronize([&] {
      if (const QTreeWidgetItem* item = Form.ListView2->topLevelItem(i)) caption = item->text(0);
    });
    return caption;
  }
  void SetLabel5(const QString& caption) {
    Change([&] { Form.Label5->setText(caption); });
  }
  void SetIcon(int i, const QString& caption, int icon) {
    Change([&] {
      QTreeWidgetItem* item = Form.ListView2->topLevelItem(i);
      if (item && item->text(0) == caption) Form.ListView2->SetImageIndex(item, icon);
    });
  }
  // Decoded here, on the pass's thread; false when the file is no picture we can show.
  bool ShowThumbnail(const QString& caption, const QString& thumb) {
    const QImage picture = LoadPreviewPicture(thumb, PreviewSize, {.Cancel = Form.TerminatingFlag.get()});
    if (picture.isNull()) return false;
    Change([&] {
      Form.SetPreview(picture);
      Form.Label3->setText(caption);
      Form.CurrentPath = thumb;
    });
    return true;
  }
  void AddLog(const QString& line) {
    Change([&] { Form.AddLog(line); });
  }

 private:
  template <typename F>
  void Change(F&& change) {
    task::Synchronize([&] {
      if (Form.ThumbPass == Pass && !Form.Terminating) change();
    });
  }

  TForm1& Form;
  const int Pass;
  QSize PreviewSize;  // of Image1, which never changes size
};

}  // namespace

void TForm1::GetNames(const QString& URL, QStringList& SL) {
  const site::TRunContext context{Working, Terminating, Environment.Fetch};
  QStringList lines;
  for (int call = 0; call < kIndexTries && lines.isEmpty(); ++call)
    site::DownloadPage(site::WithTrailingSlash(URL), lines, context);
  for (const QString& line : lines)
    if (const std::optional<QString> name = IndexLineName(line)) SL.append(*name);
}

void TForm1::Button7Click() {
  QStringList names;
  GetNames(Environment.MainSiteUrl + QStringLiteral("/babes/"), names);
  for (const QString& name : names) {
    QTreeWidgetItem* item = ListView2->AddItem(name);
    ListView2->SetImageIndex(item, ThumbnailExists(Dir, name) ? kThumbIcon : kNoIcon);
  }
  Label5->setText(QString::number(names.size()));
}

void TForm1::GetAllGirlsList() {
  ListView2->clear();
  for (const QString& caption : ThumbnailCaptions(Dir)) {
    ListView2->SetImageIndex(ListView2->AddItem(caption), kThumbIcon);
    Label5->setText(QString::number(ListView2->topLevelItemCount()));
  }
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
  TThumbPassView view(*this, pass);
  const std::shared_ptr<std::atomic<bool>> terminating = TerminatingFlag;
  // Its own stop ends the pass's fetches and loops, not only the run's.
  const site::TRunContext context{Working, *terminating, Environment.Fetch, &TaskThread.Active};
  const site::TSiteUrls urls = Environment.SiteUrls();
  auto goOn = [&] { return TaskThread.Active && !*terminating; };

  for (int i = 0; goOn(); ++i) {
    const int count = view.ItemCount();  // the list may have grown meanwhile
    if (i >= count) return;
    const std::optional<QString> caption = view.Caption(i);
    if (!caption) return;
    const QString& c = *caption;
    view.SetLabel5("Image: " + QString::number(i + 1) + " of " + QString::number(count));

    const std::optional<QString> thumb = ThumbnailPath(Dir, c);
    if (thumb && QFile::exists(*thumb)) {
      if (view.ShowThumbnail(c, *thumb)) {
        view.SetIcon(i, c, kThumbIcon);
      } else {
        // Kept as it is (thumbnails are never replaced), but it must not stop
        // every later pass at this name.
        view.SetIcon(i, c, kFailedIcon);
        view.AddLog("ERR: Can not read - " + *thumb);
      }
      continue;
    }

    const QString pageUrl = ThumbPageUrl(urls.MainSiteUrl, c);
    view.SetIcon(i, c, kBusyIcon);
    view.AddLog(pageUrl);
    QStringList links;
    for (int call = 1; call <= kLinkTries; ++call) {
      site::GetLinks(pageUrl, links, context, urls.WallpaperHostUrl);
      if (!links.isEmpty() || !goOn()) break;
    }
    if (links.isEmpty()) continue;  // keeps the busy icon, as the site gave nothing

    const QString& link = links.first();
    const QString id = GetWallpaperID(PageSlug(c), link);
    const QString size = GetWallpaperRes(id, link);
    const QString imageUrl = ThumbImageUrl(urls.ImageHostUrl, c, size, id);
    TThumbPicture picture;
    bool ok = false;
    for (int call = 1; call <= site::kLoadWithSynapsTries; ++call) {
      site::LoadWithSynaps(imageUrl, picture, context);
      ok = picture.Width() >= kMinWallpaperWidth;
      if (ok || !goOn()) break;
    }
    if (!ok) {
      view.SetIcon(i, c, kFailedIcon);
      view.AddLog("ERR: Can not load - " + c);
      continue;
    }
    // No folder is made for the thumbnails: without AllGirls (or with a caption
    // that names no file in it) the pass ends here, saying why.
    const TWriteResult saved = thumb ? WriteFileAtomically(*thumb, picture.Data()) : TWriteResult{ENAMETOOLONG, c};
    if (!saved) {
      view.SetIcon(i, c, kFailedIcon);
      view.AddLog("ERR: Can not save - " + saved.Describe());
      return;
    }
    view.ShowThumbnail(c, *thumb);
    view.SetIcon(i, c, kThumbIcon);
  }
}

void TForm1::ListView2SelectItem() {
  const QList<QTreeWidgetItem*> selected = ListView2->selectedItems();
  if (selected.isEmpty()) return;
  const QString caption = selected.first()->text(0);
  const std::optional<QString> thumb = ThumbnailPath(Dir, caption);
  if (!thumb || !QFile::exists(*thumb)) {
    SetPreview(QImage());
    return;
  }
  LoadPreview(*thumb, [this, caption, path = *thumb](const QImage& picture) {
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
  for (int i = 0; i < ListView2->topLevelItemCount(); ++i) ListView2->topLevelItem(i)->setCheckState(0, state);
}

}  // namespace ui
