#include "ui/TListView.h"

#include <QHeaderView>
#include <QPainter>
#include <QStyledItemDelegate>

#include "ui/TImageList.h"

namespace ui {

namespace {

constexpr int kImageIndexRole = Qt::UserRole + 1;

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

QTreeWidgetItem* TListView::AddItem(const QString& caption) {
  auto* item = new QTreeWidgetItem(this, QStringList{caption});
  Qt::ItemFlags flags = Qt::ItemIsSelectable | Qt::ItemIsEnabled;
  if (Checkboxes) flags |= Qt::ItemIsUserCheckable;
  item->setFlags(flags);
  if (Checkboxes) item->setCheckState(0, Qt::Unchecked);
  SetImageIndex(item, -1);
  return item;
}

void TListView::SetImageIndex(QTreeWidgetItem* item, int index) const {
  item->setData(0, kImageIndexRole, index);
  if (!Images) return;
  QIcon icon = Images->Icon(index);
  if (icon.isNull()) {
    // A list with images keeps the slot of an item without one blank, so every
    // caption starts at the same place.
    QPixmap blank(iconSize());
    blank.fill(Qt::transparent);
    icon = QIcon(blank);
  }
  item->setIcon(0, icon);
}

int TListView::ImageIndex(const QTreeWidgetItem* item) {
  const QVariant index = item->data(0, kImageIndexRole);
  return index.isValid() ? index.toInt() : -1;
}

}  // namespace ui
