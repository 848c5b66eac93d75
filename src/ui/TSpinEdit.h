#pragma once
// The thread-count field: a spin box that shows whatever text it is given or
// the user types, not only numbers. Its value is the number the text stands for,
// brought into the range, and the minimum for any text that is no number, so a
// run always reads a count within the range while the field keeps the text the
// user left there (and the settings store it as it is).

#include <QSpinBox>

namespace ui {

class TSpinEdit : public QSpinBox {
  Q_OBJECT

 public:
  explicit TSpinEdit(QWidget* parent = nullptr);

  // Shows `text` as it is; the value follows it. Read it back with text().
  void SetText(const QString& text);

 signals:
  // The shown text changed: typed, stepped with the arrows or set by the program.
  void Change();

 protected:
  // Every text is accepted as typed.
  QValidator::State validate(QString& input, int& pos) const override;
  int valueFromText(const QString& text) const override;
  // The text stays as long as it stands for the value; a step writes the new number.
  QString textFromValue(int value) const override;

 private:
  void NoteText();

  QString Shown_;  // the text Change was last emitted for
};

}  // namespace ui
