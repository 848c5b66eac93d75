#include "ui/TSpinEdit.h"

#include <QLineEdit>

#include "control/LastSession.h"

namespace ui {

TSpinEdit::TSpinEdit(QWidget* parent) : QSpinBox(parent) {
  // Qt updates the value on every keystroke only while keyboard tracking is on,
  // and value() must follow the text at all times.
  setKeyboardTracking(true);
  Shown_ = text();
  // Typing and the program's texts reach the editor's signal; a step rewrites the
  // editor with its signals blocked and is seen only through textChanged.
  connect(lineEdit(), &QLineEdit::textChanged, this, &TSpinEdit::NoteText);
  connect(this, &QSpinBox::textChanged, this, &TSpinEdit::NoteText);
}

void TSpinEdit::SetText(const QString& text) { lineEdit()->setText(text); }

QValidator::State TSpinEdit::validate(QString&, int&) const { return QValidator::Acceptable; }

int TSpinEdit::valueFromText(const QString& text) const {
  return control::NumberInRange(text, minimum(), maximum()).value_or(minimum());
}

QString TSpinEdit::textFromValue(int value) const {
  const QString shown = lineEdit() ? lineEdit()->displayText() : QString();
  return valueFromText(shown) == value ? shown : QSpinBox::textFromValue(value);
}

void TSpinEdit::NoteText() {
  const QString now = text();
  if (now == Shown_) return;
  Shown_ = now;
  emit Change();
}

}  // namespace ui
