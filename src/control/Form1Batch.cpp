// The batch list: names queued on the "Batch List" page and downloaded one
// after another, each by an ordinary download run, with Batch.ini as its store.

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <algorithm>

#include "control/BatchList.h"
#include "ui/Platform.h"
#include "ui/TForm1.h"
#include "ui/TImage.h"
#include "ui/TLabel.h"
#include "ui/TListView.h"

namespace ui {

namespace {

constexpr int kFoundColumn = 1;
constexpr int kDoneColumn = 2;

BatchEntry EntryOf(const QTreeWidgetItem& item) {
  BatchEntry entry;
  entry.Name = item.text(0);
  entry.Found = item.text(kFoundColumn);
  entry.Done = item.text(kDoneColumn);
  entry.Checked = item.checkState(0) == Qt::Checked;
  return entry;
}

QList<BatchEntry> EntriesOf(const TListView& list) {
  QList<BatchEntry> entries;
  for (int i = 0; i < list.topLevelItemCount(); ++i) entries << EntryOf(*list.topLevelItem(i));
  return entries;
}

void AddEntry(TListView& list, const BatchEntry& entry) {
  QTreeWidgetItem* item = list.AddItem(entry.Name);
  item->setText(kFoundColumn, entry.Found);
  item->setText(kDoneColumn, entry.Done);
  item->setCheckState(0, entry.Checked ? Qt::Checked : Qt::Unchecked);
  list.SetImageIndex(item, kIdleIcon);
}

}  // namespace

void TForm1::RecordBatchEntry(int found) {
  QTreeWidgetItem* entry = ListView1->topLevelItem(BatchIDX);
  if (!entry) return;
  entry->setText(kFoundColumn, QString::number(found));
  entry->setText(kDoneColumn, "Yes");
  entry->setCheckState(0, Qt::Unchecked);
  ListView1->SetImageIndex(entry, kIdleIcon);
}

void TForm1::AddBatchEntries(const QStringList& names) {
  for (const QString& name : names) {
    BatchEntry entry;
    entry.Name = name;
    entry.Checked = true;
    AddEntry(*ListView1, entry);
  }
  // Replaces the old file only once the new one is complete, so nothing is lost.
  if (SaveBatch(BatchSave::FromScratch)) LoadList();
}

void TForm1::SaveList() { SaveBatch(BatchSave::Update); }

bool TForm1::SaveBatch(BatchSave mode) {
  const TWriteResult saved = SaveBatchFile(BatchFilePath(Dir), EntriesOf(*ListView1), mode);
  // The list stays as shown and the old file as it was; the next save tries again.
  if (!saved) AddLog("ERR: Can not save - " + saved.Describe());
  return bool(saved);
}

void TForm1::LoadList() {
  // The entry under way is found again by its name, the key of its section, so
  // the run's result still reaches it after the reload; gone, nothing is recorded.
  const QTreeWidgetItem* running = BatchMode ? ListView1->topLevelItem(BatchIDX) : nullptr;
  const QString runningName = running ? running->text(0) : QString();
  ListView1->clear();
  for (const BatchEntry& entry : LoadBatchFile(BatchFilePath(Dir))) AddEntry(*ListView1, entry);
  if (!BatchMode) return;
  BatchIDX = -1;
  for (int i = 0; running && i < ListView1->topLevelItemCount(); ++i)
    if (ListView1->topLevelItem(i)->text(0).compare(runningName, Qt::CaseInsensitive) == 0) {
      BatchIDX = i;
      break;
    }
}

void TForm1::Button2Click() {
  const QString name = Edit1->text();
  if (name.isEmpty()) return;
  BatchEntry entry;
  entry.Name = name;  // exactly as typed, blanks and all
  entry.Checked = true;
  AddEntry(*ListView1, entry);
  SaveList();
}

void TForm1::Button4Click() {
  const QList<QTreeWidgetItem*> selected = ListView1->selectedItems();
  // BatchIDX is a position: it follows its entry past the removed ones above
  // it, and names none once its own entry is removed.
  QTreeWidgetItem* running = ListView1->topLevelItem(BatchIDX);
  if (running && selected.contains(running)) running = nullptr;
  for (QTreeWidgetItem* item : selected) delete item;
  BatchIDX = running ? ListView1->indexOfTopLevelItem(running) : -1;
  SaveBatch(BatchSave::FromScratch);
}

void TForm1::CheckBox11Click() {
  const Qt::CheckState state = CheckBox11->isChecked() ? Qt::Checked : Qt::Unchecked;
  for (int i = 0; i < ListView1->topLevelItemCount(); ++i) ListView1->topLevelItem(i)->setCheckState(0, state);
  SaveList();
}

void TForm1::Button3Click() {
  if (BatchMode) {
    // "Stop Batch": a run under way goes on to its end, as a single run.
    Button3->setText("Start Batch");
    BatchMode = false;
    Button1->setEnabled(true);
    return;
  }
  // Pressing Button1 now would stop the run under way instead of starting the
  // first entry; the batch waits to be started until that run has ended.
  if (Working) {
    Platform.ShowMessage("A download is under way. Start the batch once it has ended.");
    return;
  }
  if (LoadAllGirlsImg) LoadAllGirlsImg->Stop();
  BatchMode = true;
  Button3->setText("Stop Batch");
  Button1->setEnabled(false);
  StartNext();
}

void TForm1::StartNext() {
  for (int i = 0; i < ListView1->topLevelItemCount(); ++i) {
    QTreeWidgetItem* entry = ListView1->topLevelItem(i);
    if (entry->checkState(0) != Qt::Checked) continue;
    BatchIDX = i;
    ListView1->SetImageIndex(entry, kBusyIcon);
    NameEdit->setEditText(entry->text(0));
    Button1Click();
    if (Working) return;
    // The Start path refused the name and has said why; no run would ever end
    // to move the batch on, so it ends here with the entry still ticked.
    ListView1->SetImageIndex(entry, kIdleIcon);
    break;
  }
  Button3Click();  // BatchMode is true: "Stop Batch"
}

void TForm1::ListView1Click() { SaveList(); }

void TForm1::ListView1SelectItem() {
  const QList<QTreeWidgetItem*> selected = ListView1->selectedItems();
  if (selected.isEmpty()) return;
  const auto first = std::min_element(selected.begin(), selected.end(), [this](QTreeWidgetItem* a, QTreeWidgetItem* b) {
    return ListView1->indexOfTopLevelItem(a) < ListView1->indexOfTopLevelItem(b);
  });
  const QString name = (*first)->text(0);
  // A run's name was fixed when it started, so the field is free to change.
  NameEdit->setEditText(name);
  Label3->setText(name);
  const QString picture = EntryPicture(Dir, name);
  if (picture.isEmpty()) {
    SetPreview(QImage());
    return;
  }
  ShowPreviewFile(picture);
  CurrentPath = picture;
}

}  // namespace ui
