// Two-way bindings between widgets and Form1's fields.
#include "gui/field_binding.h"

#include <QAction>
#include <QComboBox>
#include <QLineEdit>

#include "state/fields.h"

namespace vendil::gui {

void BindText(QLineEdit* edit, TextField& field) {
  edit->setText(QString::fromStdString(field.Text()));
  QObject::connect(edit, &QLineEdit::textChanged, edit,
                   [&field](const QString& text) { field.SetText(text.toStdString()); });
  field.OnChanged([edit](const std::string& text) {
    const QString shown = QString::fromStdString(text);
    if (edit->text() != shown) edit->setText(shown);
  });
}

void BindCheck(QAction* action, CheckItem& item) {
  action->setCheckable(true);
  action->setChecked(item.Checked());
  item.OnChanged([action](bool checked) {
    if (action->isChecked() != checked) action->setChecked(checked);
  });
}

void BindCombo(QComboBox* combo, ComboField& field) {
  auto refill = [combo, &field] {
    const QSignalBlocker quiet(combo);
    combo->clear();
    for (const std::string& item : field.Items()) combo->addItem(QString::fromStdString(item));
    combo->setCurrentIndex(combo->findText(QString::fromStdString(field.Text())));
  };
  refill();
  field.OnItemsChanged(refill);
  field.OnChanged([combo](const std::string& text) {
    const int index = combo->findText(QString::fromStdString(text));
    if (combo->currentIndex() != index) {
      const QSignalBlocker quiet(combo);
      combo->setCurrentIndex(index);
    }
  });
  QObject::connect(combo, &QComboBox::currentIndexChanged, combo, [combo, &field](int index) {
    if (index >= 0) field.SetText(combo->itemText(index).toStdString());
  });
}

void UnbindText(TextField& field) { field.OnChanged(nullptr); }

void UnbindCheck(CheckItem& item) { item.OnChanged(nullptr); }

void UnbindCombo(ComboField& field) {
  field.OnChanged(nullptr);
  field.OnItemsChanged(nullptr);
}

}  // namespace vendil::gui
