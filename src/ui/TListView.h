#pragma once
// A list in report view: columns of fixed widths, grid lines, whole rows selected,
// captions not editable in place; optionally a check box and an icon per item.

#include <QIcon>
#include <QList>
#include <QString>
#include <QTreeWidget>

namespace ui {

class TImageList;

class TListView : public QTreeWidget {
  Q_OBJECT

 public:
  struct TColumn {
    QString Caption;
    int Width = 50;
  };

  TListView(const QList<TColumn>& columns, QWidget* parent);

  // Every item added from now on carries a check box (unchecked at first).
  void SetCheckboxes(bool on) { Checkboxes_ = on; }
  bool HasCheckboxes() const { return Checkboxes_; }

  // Where item icons come from; none by default. The list keeps one copy of
  // each picture, which every item that shows it draws: an item holds only
  // its image index.
  void SetImages(const TImageList* images);

  // Appends an item with `caption` in the first column and no icon.
  QTreeWidgetItem* AddItem(const QString& caption);
  // An item as AddItem makes it, not yet in the list: give it its texts and
  // icon first, then hand it to AppendItems.
  QTreeWidgetItem* NewItem(const QString& caption) const;
  // Appends the items in one step: the view takes thousands for about the
  // cost of one.
  void AppendItems(const QList<QTreeWidgetItem*>& items);
  // Deletes the items, each run of neighbours in one step.
  void RemoveItems(const QList<QTreeWidgetItem*>& items);
  // Gives every item the check state `state` as one change of the list, not
  // one per item: ticking tens of thousands stays a blink.
  void SetAllChecked(Qt::CheckState state);

  // Shows icon `index` of the image list on `item` (-1: none, its place left blank)
  // and remembers the index. The item must have been made by this class.
  void SetImageIndex(QTreeWidgetItem* item, int index) const;
  static int ImageIndex(const QTreeWidgetItem* item);

  // The icon an item of this image index shows: none without images, the
  // blank one for an index without a picture.
  QIcon IconOf(int index) const;

 private:
  bool Checkboxes_ = false;
  const TImageList* Images_ = nullptr;
  QList<QIcon> Icons_;  // one per picture of Images
  QIcon Blank_;         // for items without an icon
};

}  // namespace ui
