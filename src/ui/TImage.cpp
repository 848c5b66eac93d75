#include "ui/TImage.h"

#include <QMouseEvent>
#include <QPainter>

namespace ui {

QRect FitRect(const QSize& picture, const QSize& box) {
  if (picture.isEmpty() || box.isEmpty()) return {};
  const QSize scaled = picture.scaled(box, Qt::KeepAspectRatio);
  return {QPoint((box.width() - scaled.width()) / 2, (box.height() - scaled.height()) / 2), scaled};
}

TImage::TImage(TFit fit, QWidget* parent) : QWidget(parent), Fit(fit) {}

void TImage::SetPicture(const QImage& picture) {
  Source = picture;
  if (AutoSize && !Source.isNull()) resize(Source.size());
  Rescale();
  update();
}

void TImage::SetAutoSize(bool on) {
  AutoSize = on;
  if (AutoSize && !Source.isNull()) resize(Source.size());
}

void TImage::Rescale() {
  Shown = QPixmap();
  Target = QRect();
  if (Source.isNull()) return;
  switch (Fit) {
    case TFit::None:
      Target = QRect(QPoint(0, 0), Source.size());
      break;
    case TFit::Stretch:
      Target = rect();
      break;
    case TFit::Proportional:
      Target = FitRect(Source.size(), size());
      break;
  }
  if (Target.isEmpty()) return;
  // Scaling once with area averaging keeps a large picture crisp when it is
  // shown small; scaling at paint time would only sample it.
  Shown = QPixmap::fromImage(Target.size() == Source.size()
                                 ? Source
                                 : Source.scaled(Target.size(), Qt::IgnoreAspectRatio,
                                                 Qt::SmoothTransformation));
}

void TImage::paintEvent(QPaintEvent*) {
  if (Shown.isNull()) return;
  QPainter painter(this);
  painter.drawPixmap(Target.topLeft(), Shown);
}

void TImage::resizeEvent(QResizeEvent*) { Rescale(); }

void TImage::mousePressEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) LeftPressed = true;
  emit MouseDown(event->button(), event->modifiers(), event->position().toPoint());
}

void TImage::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return;
  const bool click = LeftPressed && rect().contains(event->position().toPoint());
  LeftPressed = false;
  if (click) emit Click();
}

void TImage::enterEvent(QEnterEvent*) { emit MouseEnter(); }

void TImage::leaveEvent(QEvent*) { emit MouseLeave(); }

}  // namespace ui
