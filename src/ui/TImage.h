#pragma once
// A picture control: shows one image, reports the mouse, draws no frame.

#include <QImage>
#include <QPixmap>
#include <QRect>
#include <QWidget>

namespace ui {

// The rectangle of `box` that a picture of size `picture` fills when it is scaled
// (up or down) to fit while keeping its proportions, centred. Empty when either
// size is empty.
QRect FitRect(const QSize& picture, const QSize& box);

class TImage : public QWidget {
  Q_OBJECT

 public:
  enum class TFit {
    None,          // drawn at the top-left corner at its own size, clipped
    Stretch,       // scaled to the control's size
    Proportional,  // scaled to fit keeping its proportions, centred
  };

  TImage(TFit fit, QWidget* parent);

  // Shows `picture`; a null image empties the control. With auto-size on, the
  // control takes the picture's size.
  void SetPicture(const QImage& picture);
  const QImage& Picture() const { return Source_; }
  bool HasPicture() const { return !Source_.isNull(); }

  void SetAutoSize(bool on);

 signals:
  void MouseDown(Qt::MouseButton button, Qt::KeyboardModifiers shift, QPoint at);
  void MouseEnter();
  void MouseLeave();
  void Click();  // left button pressed and released over the control

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void enterEvent(QEnterEvent* event) override;
  void leaveEvent(QEvent* event) override;

 private:
  void Rescale();

  TFit Fit_;
  bool AutoSize_ = false;
  bool LeftPressed_ = false;
  QImage Source_;
  QPixmap Shown_;  // Source scaled for the current size, made once per change
  QRect Target_;
};

}  // namespace ui
