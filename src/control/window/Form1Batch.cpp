// The batch list: names queued on the "Batch List" page and downloaded one
// after another, each by an ordinary download run, with Batch.ini as its store.

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSet>
#include <QSignalBlocker>

#include "control/BatchList.h"
#include "control/IniFile.h"
#include "control/RunCore.h"
#include "download/DiskLayout.h"
#include "ui/Platform.h"
#include "ui/TForm1.h"
#include "ui/TImage.h"
#include "ui/TLabel.h"
#include "ui/TListView.h"

namespace ui {

namespace {

constexpr int kFoundColumn = 1;
constexpr int kDoneColumn = 2;
// Marks an entry this batch has passed over (its site could not be reached).
constexpr int kPassedOverRole = Qt::UserRole + 2;  // +1 holds the image index

control::TBatchEntry EntryOf(const QTreeWidgetItem& item) {
  control::TBatchEntry entry;
  entry.Name = item.text(0);
  entry.Found = item.text(kFoundColumn);
  entry.Done = item.text(kDoneColumn);
  entry.Checked = item.checkState(0) == Qt::Checked;
  return entry;
}

QList<control::TBatchEntry> EntriesOf(const TListView& list) {
  QList<control::TBatchEntry> entries;
  for (int i = 0; i < list.topLevelItemCount(); ++i) entries << EntryOf(*list.topLevelItem(i));
  return entries;
}

void ShowEntry(QTreeWidgetItem& item, const control::TBatchEntry& entry) {
  item.setText(kFoundColumn, entry.Found);
  item.setText(kDoneColumn, entry.Done);
  item.setCheckState(0, entry.Checked ? Qt::Checked : Qt::Unchecked);
}

// Made apart and appended in one step: the list takes thousands at about the
// cost of one.
void AddEntries(TListView& list, const QList<control::TBatchEntry>& entries) {
  QList<QTreeWidgetItem*> items;
  items.reserve(entries.size());
  for (const control::TBatchEntry& entry : entries) {
    QTreeWidgetItem* item = list.NewItem(entry.Name);
    ShowEntry(*item, entry);
    list.SetImageIndex(item, kIdleIcon);
    items << item;
  }
  list.AppendItems(items);
}

control::TBatchEntry NewEntry(const QString& name) {
  control::TBatchEntry entry;
  entry.Name = name;  // exactly as given, blanks and all
  entry.Checked = true;
  return entry;
}

// Why a name cannot be an entry: Batch.ini names the entry's section by it,
// and would lose the entry or change its name.
const QString kNameRule = QStringLiteral(
    "Batch.ini can not keep a name that is blank, holds \"]\" or a line break, or begins or ends with a blank");

}  // namespace

control::TBatchFile& TForm1::BatchStore() {
  if (!BatchFile) BatchFile = std::make_unique<control::TBatchFile>(download::BatchFilePath(Dir));
  return *BatchFile;
}

int TForm1::FindBatchEntry(const QString& name) const {
  for (int i = 0; i < ListView1->topLevelItemCount(); ++i)
    if (control::TIniFile::SameSection(ListView1->topLevelItem(i)->text(0), name)) return i;
  return -1;
}

void TForm1::RecordBatchEntry(int found) {
  QTreeWidgetItem* item = ListView1->topLevelItem(BatchIDX);
  if (!item) return;
  control::TBatchEntry entry = EntryOf(*item);
  control::RecordBatchRun(entry, found);
  ShowEntry(*item, entry);
  ListView1->SetImageIndex(item, kIdleIcon);
}

void TForm1::AddBatchEntries(const QStringList& names) {
  QList<control::TBatchEntry> added;
  for (const QString& name : names) {
    if (control::TIniFile::HoldsSectionName(name))
      added << NewEntry(name);
    else
      AddLog("ERR: Can not add to the batch list - \"" + name + "\" (" + kNameRule + ")");
  }
  AddEntries(*ListView1, added);
  // Replaces the old file only once the new one is complete, so nothing is lost.
  if (SaveBatch(control::TBatchSave::FromScratch)) LoadList();
}

void TForm1::SaveList() { SaveBatch(control::TBatchSave::Update); }

bool TForm1::SaveBatch(control::TBatchSave mode) {
  const download::TWriteResult saved = BatchStore().Save(EntriesOf(*ListView1), mode);
  // The list stays as shown and the old file as it was; the next save tries again.
  if (!saved) AddLog("ERR: Can not save - " + saved.Describe());
  return bool(saved);
}

void TForm1::LoadList() {
  // The entry under way is found again by its section, as the file matches
  // it, so the run's result still reaches it after the reload; gone, nothing
  // is recorded.
  const QTreeWidgetItem* running = BatchMode ? ListView1->topLevelItem(BatchIDX) : nullptr;
  const QString runningName = running ? running->text(0) : QString();
  ListView1->clear();
  AddEntries(*ListView1, BatchStore().Load());
  if (!BatchMode) return;
  BatchIDX = running ? FindBatchEntry(runningName) : -1;
}

void TForm1::Button2Click() {
  const QString name = Edit1->text();
  if (name.isEmpty()) return;
  // Shown but never saved, such a name would vanish at the next reload.
  if (!control::TIniFile::HoldsSectionName(name)) {
    Platform.ShowMessage("The name \"" + name + "\" can not be added to the batch list: " + kNameRule + ".");
    return;
  }
  AddEntries(*ListView1, {NewEntry(name)});
  SaveList();
}

void TForm1::Button4Click() {
  const QList<QTreeWidgetItem*> selected = ListView1->selectedItems();
  if (selected.isEmpty()) return;  // nothing goes, so nothing is written
  // BatchIDX is a position: it follows its entry past the removed ones above
  // it. Once its own entry is removed it names the first entry left of that
  // section, whose values the file keeps, or none.
  QTreeWidgetItem* running = ListView1->topLevelItem(BatchIDX);
  const QString runningName = running ? running->text(0) : QString();
  const bool goes = running && selected.contains(running);
  {
    // The selection changes with every deletion; its handler runs once, after them.
    const QSignalBlocker quiet(ListView1);
    ListView1->RemoveItems(selected);
  }
  if (!running)
    BatchIDX = -1;
  else
    BatchIDX = goes ? FindBatchEntry(runningName) : ListView1->indexOfTopLevelItem(running);
  ListView1SelectItem();
  SaveBatch(control::TBatchSave::FromScratch);
}

void TForm1::CheckBox11Click() {
  const Qt::CheckState state = CheckBox11->isChecked() ? Qt::Checked : Qt::Unchecked;
  ListView1->SetAllChecked(state);
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
  // A new batch tries again the entries the last one passed over.
  for (int i = 0; i < ListView1->topLevelItemCount(); ++i) ListView1->topLevelItem(i)->setData(0, kPassedOverRole, {});
  BatchMode = true;
  Button3->setText("Stop Batch");
  Button1->setEnabled(false);
  StartNext();
}

void TForm1::StartNext() {
  for (int i = 0; i < ListView1->topLevelItemCount(); ++i) {
    QTreeWidgetItem* entry = ListView1->topLevelItem(i);
    if (entry->checkState(0) != Qt::Checked || entry->data(0, kPassedOverRole).toBool()) continue;
    BatchIDX = i;
    ListView1->SetImageIndex(entry, kBusyIcon);
    NameEdit->setEditText(entry->text(0));
    Button1Click();
    if (Working) return;
    ListView1->SetImageIndex(entry, kIdleIcon);
    // The Start path refused the name and has logged why.
    control::TRunReport refused;
    refused.Refusal = LastRefusal_;
    if (control::BatchStepAfter(refused) == control::TBatchStep::Untick) {
      entry->setCheckState(0, Qt::Unchecked);
      SaveList();
      continue;
    }
    break;
  }
  if (BatchMode) Button3Click();  // "Stop Batch"; a search that could not start has ended it already
}

void TForm1::PassOverBatchEntry() {
  ++BatchNotice.Unreached;
  if (QTreeWidgetItem* entry = ListView1->topLevelItem(BatchIDX)) {
    entry->setData(0, kPassedOverRole, true);
    ListView1->SetImageIndex(entry, kIdleIcon);
  }
  AddLog("BATCH Mode: ON, Selecting Next Task...  ");
  StartNext();
  if (!BatchMode) NotifyBatchEnd();  // that was the last entry
}

void TForm1::ListView1Click() { SaveList(); }

void TForm1::ListView1SelectItem() {
  const QList<QTreeWidgetItem*> selected = ListView1->selectedItems();
  if (selected.isEmpty()) return;
  // The first selected in list order, whatever the order of selecting, in one scan.
  const QSet<const QTreeWidgetItem*> chosen(selected.begin(), selected.end());
  const QTreeWidgetItem* first = nullptr;
  for (int i = 0; !first && i < ListView1->topLevelItemCount(); ++i)
    if (chosen.contains(ListView1->topLevelItem(i))) first = ListView1->topLevelItem(i);
  if (!first) return;
  const QString name = first->text(0);
  // A run's name was fixed when it started, so the field is free to change.
  NameEdit->setEditText(name);
  Label3->setText(name);
  ShowPictureOrClear(control::EntryPicture(Dir, name));
}

}  // namespace ui
