#include "ui/TImage.h"

#include <QMouseEvent>
#include <QPainter>

namespace ui {

QRect FitRect(const QSize& picture, const QSize& box) {
  if (picture.isEmpty() || box.isEmpty()) return {};
  const QSize scaled = picture.scaled(box, Qt::KeepAspectRatio);
  return {QPoint((box.width() - scaled.width()) / 2, (box.height() - scaled.height()) / 2), scaled};
}

TImage::TImage(TFit fit, QWidget* parent) : QWidget(parent), Fit_(fit) {}

void TImage::SetPicture(const QImage& picture) {
  Source_ = picture;
  if (AutoSize_ && !Source_.isNull()) resize(Source_.size());
  Rescale();
  update();
}

void TImage::SetAutoSize(bool on) {
  AutoSize_ = on;
  if (AutoSize_ && !Source_.isNull()) resize(Source_.size());
}

void TImage::Rescale() {
  Shown_ = QPixmap();
  Target_ = QRect();
  if (Source_.isNull()) return;
  switch (Fit_) {
    case TFit::None:
      Target_ = QRect(QPoint(0, 0), Source_.size());
      break;
    case TFit::Stretch:
      Target_ = rect();
      break;
    case TFit::Proportional:
      Target_ = FitRect(Source_.size(), size());
      break;
  }
  if (Target_.isEmpty()) return;
  // Scaling once with area averaging keeps a large picture crisp when it is
  // shown small; scaling at paint time would only sample it.
  Shown_ = QPixmap::fromImage(Target_.size() == Source_.size()
                                 ? Source_
                                 : Source_.scaled(Target_.size(), Qt::IgnoreAspectRatio,
                                                 Qt::SmoothTransformation));
}

void TImage::paintEvent(QPaintEvent*) {
  if (Shown_.isNull()) return;
  QPainter painter(this);
  painter.drawPixmap(Target_.topLeft(), Shown_);
}

void TImage::resizeEvent(QResizeEvent*) { Rescale(); }

void TImage::mousePressEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) LeftPressed_ = true;
  emit MouseDown(event->button(), event->modifiers(), event->position().toPoint());
}

void TImage::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return;
  const bool click = LeftPressed_ && rect().contains(event->position().toPoint());
  LeftPressed_ = false;
  if (click) emit Click();
}

void TImage::enterEvent(QEnterEvent*) { emit MouseEnter(); }

void TImage::leaveEvent(QEvent*) { emit MouseLeave(); }

}  // namespace ui
