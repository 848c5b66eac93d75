#pragma once
// A group box drawn flat: a one-pixel frame with the title set into its top line,
// so controls placed 13 pixels down sit inside the frame whatever the style.

#include <QGroupBox>
#include <QProxyStyle>

namespace ui {

class TGroupBox : public QGroupBox {
  Q_OBJECT

 public:
  TGroupBox(const QString& title, QWidget* parent);

 protected:
  void paintEvent(QPaintEvent* event) override;
};

// The application's style with a narrower gap between a check box and its
// caption, as the size boxes were laid out for.
class TNarrowCheckBoxStyle : public QProxyStyle {
  Q_OBJECT

 public:
  int pixelMetric(PixelMetric metric, const QStyleOption* option = nullptr,
                  const QWidget* widget = nullptr) const override;
};

}  // namespace ui
