#include "ui/TListView.h"

#include <QHeaderView>
#include <QPainter>
#include <QSet>
#include <QSignalBlocker>
#include <QStyledItemDelegate>

#include "ui/TImageList.h"

namespace ui {

namespace {

constexpr int kImageIndexRole = Qt::UserRole + 1;

// Tens of thousands of these fill a catalogue, so an item keeps its check
// box and image index as plain numbers and takes its icon from its list when
// drawn, rather than holding each as data of its own.
class TListItem : public QTreeWidgetItem {
 public:
  using QTreeWidgetItem::QTreeWidgetItem;

  QVariant data(int column, int role) const override {
    if (column == 0 && role == kImageIndexRole) return Index_;
    if (column == 0 && role == Qt::CheckStateRole) return Check_ < 0 ? QVariant() : QVariant(Check_);
    if (column == 0 && role == Qt::DecorationRole) {
      const auto* list = qobject_cast<const TListView*>(treeWidget());
      const QIcon icon = list ? list->IconOf(Index_) : QIcon();
      return icon.isNull() ? QVariant() : QVariant(icon);
    }
    return QTreeWidgetItem::data(column, role);
  }
  void setData(int column, int role, const QVariant& value) override {
    if (column != 0 || (role != kImageIndexRole && role != Qt::CheckStateRole)) {
      QTreeWidgetItem::setData(column, role, value);
      return;
    }
    int& field = role == kImageIndexRole ? Index_ : Check_;
    if (field == value.toInt()) return;  // unchanged: nothing to redraw or report
    field = value.toInt();
    // Telling the model costs a search for the item's row, a linear one the
    // first time an item is asked for; while the model is silent, whoever
    // silenced it reports the change as a whole.
    const QTreeWidget* list = treeWidget();
    if (!list || !list->model()->signalsBlocked()) emitDataChanged();
  }

 private:
  int Index_ = -1;
  int Check_ = -1;  // a Qt::CheckState; -1: the item has no check box
};

// Draws each cell as usual, then its right and bottom edges: the grid lines.
class TGridDelegate : public QStyledItemDelegate {
 public:
  using QStyledItemDelegate::QStyledItemDelegate;

  void paint(QPainter* painter, const QStyleOptionViewItem& option,
             const QModelIndex& index) const override {
    QStyledItemDelegate::paint(painter, option, index);
    painter->save();
    painter->setPen(option.palette.color(QPalette::Midlight).darker(115));
    const QRect& r = option.rect;
    painter->drawLine(r.topRight(), r.bottomRight());
    painter->drawLine(r.bottomLeft(), r.bottomRight());
    painter->restore();
  }
};

}  // namespace

TListView::TListView(const QList<TColumn>& columns, QWidget* parent) : QTreeWidget(parent) {
  setColumnCount(int(columns.size()));
  QStringList captions;
  for (const TColumn& column : columns) captions << column.Caption;
  setHeaderLabels(captions);
  header()->setStretchLastSection(false);
  header()->setSectionsMovable(false);
  header()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  for (int i = 0; i < columns.size(); ++i) setColumnWidth(i, columns[i].Width);

  setRootIsDecorated(false);
  setIndentation(0);
  setUniformRowHeights(true);
  setItemsExpandable(false);
  setAllColumnsShowFocus(true);
  setSelectionBehavior(QAbstractItemView::SelectRows);
  setSelectionMode(QAbstractItemView::SingleSelection);
  setEditTriggers(QAbstractItemView::NoEditTriggers);
  setIconSize(QSize(16, 16));
  setItemDelegate(new TGridDelegate(this));
}

void TListView::SetImages(const TImageList* images) {
  Images_ = images;
  Icons_.clear();
  for (int i = 0; Images_ && i < Images_->Count(); ++i) Icons_ << Images_->Icon(i);
  // A list with images keeps the slot of an item without one blank, so every
  // caption starts at the same place.
  QPixmap blank(iconSize());
  blank.fill(Qt::transparent);
  Blank_ = QIcon(blank);
}

QTreeWidgetItem* TListView::AddItem(const QString& caption) {
  QTreeWidgetItem* item = NewItem(caption);
  addTopLevelItem(item);
  return item;
}

QTreeWidgetItem* TListView::NewItem(const QString& caption) const {
  auto* item = new TListItem(QStringList{caption});
  Qt::ItemFlags flags = Qt::ItemIsSelectable | Qt::ItemIsEnabled;
  if (Checkboxes_) flags |= Qt::ItemIsUserCheckable;
  item->setFlags(flags);
  if (Checkboxes_) item->setCheckState(0, Qt::Unchecked);
  return item;
}

void TListView::AppendItems(const QList<QTreeWidgetItem*>& items) { addTopLevelItems(items); }

void TListView::RemoveItems(const QList<QTreeWidgetItem*>& items) {
  const QSet<QTreeWidgetItem*> doomed(items.begin(), items.end());
  // From the end, so the rows of the runs still to go stay where they are.
  int end = topLevelItemCount();
  for (int row = end - 1; row >= -1; --row) {
    if (row >= 0 && doomed.contains(topLevelItem(row))) continue;
    if (end - row > 1) model()->removeRows(row + 1, end - row - 1);
    end = row;
  }
}

void TListView::SetAllChecked(Qt::CheckState state) {
  const int count = topLevelItemCount();
  if (count == 0) return;
  {
    const QSignalBlocker quiet(model());
    for (int row = 0; row < count; ++row) topLevelItem(row)->setCheckState(0, state);
  }
  emit model()->dataChanged(model()->index(0, 0), model()->index(count - 1, 0), {Qt::CheckStateRole});
}

void TListView::SetImageIndex(QTreeWidgetItem* item, int index) const { item->setData(0, kImageIndexRole, index); }

QIcon TListView::IconOf(int index) const {
  if (!Images_) return {};
  return index >= 0 && index < Icons_.size() && !Icons_[index].isNull() ? Icons_[index] : Blank_;
}

int TListView::ImageIndex(const QTreeWidgetItem* item) {
  const QVariant index = item->data(0, kImageIndexRole);
  return index.isValid() ? index.toInt() : -1;
}

}  // namespace ui
