#include "ui/TLabel.h"

#include <QMouseEvent>

namespace ui {

TLabel::TLabel(const QString& caption, QWidget* parent) : QLabel(parent) {
  // Names and paths from the site are shown here: never read them as markup.
  setTextFormat(Qt::PlainText);
  setText(caption);
}

void TLabel::setText(const QString& caption) {
  QLabel::setText(caption);
  resize(sizeHint());
}

void TLabel::mousePressEvent(QMouseEvent* event) {
  // Accepted here, so the release comes back to this label rather than its parent.
  if (event->button() == Qt::LeftButton) LeftPressed_ = true;
}

void TLabel::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return;
  const bool click = LeftPressed_ && rect().contains(event->position().toPoint());
  LeftPressed_ = false;
  if (click) emit Click();
}

}  // namespace ui
