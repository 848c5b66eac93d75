// Which handler each control's event runs.

#include <QCheckBox>
#include <QComboBox>
#include <QPushButton>
#include <QTimer>

#include "ui/TForm1.h"
#include "ui/TComboBox.h"
#include "ui/TImage.h"
#include "ui/TListView.h"

namespace ui {

void TForm1::ConnectHandlers() {
  connect(Button1, &QPushButton::clicked, this, &TForm1::Button1Click);
  connect(Timer1, &QTimer::timeout, this, &TForm1::Timer1Timer);
  connect(Image1, &TImage::MouseDown, this, [this](Qt::MouseButton button) { Image1MouseDown(button); });
  connect(Image1, &TImage::MouseEnter, this, &TForm1::Image1MouseEnter);
  connect(Image1, &TImage::MouseLeave, this, &TForm1::Image1MouseLeave);
  // A box runs its rule whenever its state changes, by the user or by the program.
  connect(CheckBox1, &QCheckBox::toggled, this, &TForm1::CheckBox1Click);
  for (download::TResolution r : download::FolderOrder()) {
    QCheckBox* box = SizeBox(r);
    connect(box, &QCheckBox::toggled, this, [this, box, r] { SizeBoxClick(box, r); });
  }
  // Every change of the shown text, not only of the number it stands for.
  connect(SpinEdit1, &TSpinEdit::Change, this, &TForm1::SpinEdit1Change);
  connect(NameEdit, &TComboBox::Select, this, &TForm1::NameEditSelect);
  // The batch list. Only the button adds: Enter in Edit1 does nothing.
  connect(Button2, &QPushButton::clicked, this, &TForm1::Button2Click);
  connect(Button4, &QPushButton::clicked, this, &TForm1::Button4Click);
  connect(Button3, &QPushButton::clicked, this, &TForm1::Button3Click);
  connect(CheckBox11, &QCheckBox::toggled, this, &TForm1::CheckBox11Click);
  // A click on an entry, its check box included, comes after the box has
  // changed; a change by keyboard raises none and is saved with the next save.
  connect(ListView1, &QTreeWidget::itemClicked, this, &TForm1::ListView1Click);
  connect(ListView1, &QTreeWidget::itemSelectionChanged, this, &TForm1::ListView1SelectItem);
  // The name catalogue.
  connect(Button7, &QPushButton::clicked, this, &TForm1::Button7Click);
  connect(Button8, &QPushButton::clicked, this, &TForm1::Button8Click);
  connect(Button9, &QPushButton::clicked, this, &TForm1::Button9Click);
  connect(CheckBox12, &QCheckBox::toggled, this, &TForm1::CheckBox12Click);
  connect(ListView2, &QTreeWidget::itemSelectionChanged, this, &TForm1::ListView2SelectItem);
}

}  // namespace ui
