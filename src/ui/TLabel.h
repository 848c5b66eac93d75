#pragma once
// A caption control: plain text, transparent, sized to its text, clickable.

#include <QLabel>

namespace ui {

class TLabel : public QLabel {
  Q_OBJECT

 public:
  TLabel(const QString& caption, QWidget* parent);

  // Sets the caption and resizes the label to fit it from its left edge, so a
  // longer status text is never cut off. Hides QLabel::setText on purpose.
  void setText(const QString& caption);

 signals:
  void Click();  // left button pressed and released over the label

 protected:
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  bool LeftPressed_ = false;
};

}  // namespace ui
