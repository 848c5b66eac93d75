#include "ui/TGroupBox.h"

#include <QPainter>

namespace ui {

namespace {

constexpr int kTitleLeft = 8;  // where the title starts on the top line
constexpr int kTitleGap = 2;   // blank line length either side of it

}  // namespace

TGroupBox::TGroupBox(const QString& title, QWidget* parent) : QGroupBox(title, parent) {}

void TGroupBox::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  const QFontMetrics metrics = fontMetrics();
  const int line = metrics.height() / 2;
  const int right = width() - 1, bottom = height() - 1;
  const int titleWidth = metrics.horizontalAdvance(title());

  painter.setPen(palette().color(QPalette::Shadow));
  painter.drawLine(0, line, kTitleLeft - kTitleGap, line);
  painter.drawLine(kTitleLeft + titleWidth + kTitleGap, line, right, line);
  painter.drawLine(0, line, 0, bottom);
  painter.drawLine(right, line, right, bottom);
  painter.drawLine(0, bottom, right, bottom);

  style()->drawItemText(&painter, QRect(kTitleLeft, 0, titleWidth, metrics.height()),
                        Qt::AlignLeft | Qt::AlignTop, palette(), isEnabled(), title(),
                        QPalette::WindowText);
}

int TNarrowCheckBoxStyle::pixelMetric(PixelMetric metric, const QStyleOption* option,
                                      const QWidget* widget) const {
  if (metric == PM_CheckBoxLabelSpacing) return 3;
  return QProxyStyle::pixelMetric(metric, option, widget);
}

}  // namespace ui
