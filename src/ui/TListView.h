#pragma once
// A list in report view: columns of fixed widths, grid lines, whole rows selected,
// captions not editable in place; optionally a check box and an icon per item.

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
  void SetCheckboxes(bool on) { Checkboxes = on; }
  bool HasCheckboxes() const { return Checkboxes; }

  // Where item icons come from; none by default.
  void SetImages(const TImageList* images) { Images = images; }

  // Appends an item with `caption` in the first column and no icon.
  QTreeWidgetItem* AddItem(const QString& caption);

  // Shows icon `index` of the image list on `item` (-1: none, its place left blank)
  // and remembers the index.
  void SetImageIndex(QTreeWidgetItem* item, int index) const;
  static int ImageIndex(const QTreeWidgetItem* item);

 private:
  bool Checkboxes = false;
  const TImageList* Images = nullptr;
};

}  // namespace ui
