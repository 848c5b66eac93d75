#pragma once
// An editable combo box that tells a pick from its list apart from typing.
// Qt reports both as "activated": Enter, or leaving the field, with a typed
// text that matches an entry counts as choosing it. Only a choice made in the
// drop-down list, or by stepping through the entries with the keys, is a Select.

#include <QComboBox>

namespace ui {

class TComboBox : public QComboBox {
  Q_OBJECT

 public:
  explicit TComboBox(QWidget* parent);

  void showPopup() override;
  void hidePopup() override;

 signals:
  void Select(int index);

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;

 private:
  bool FromList_ = false;  // an activation now comes from the list, not from typing
};

}  // namespace ui
