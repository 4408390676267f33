// Binds widgets both ways to Form1's live fields: a user edit reaches the field at once,
// and a change the core makes (the several-URLs command writing txtUrl) shows at once.
#pragma once

class QAction;
class QComboBox;
class QLineEdit;

namespace vendil {
class CheckItem;
class ComboField;
class TextField;
}  // namespace vendil

namespace vendil::gui {

void BindText(QLineEdit* edit, TextField& field);
void BindCheck(QAction* action, CheckItem& item);
void BindCombo(QComboBox* combo, ComboField& field);
// Drops the callbacks into widgets, for a window that goes before the fields do.
void UnbindText(TextField& field);
void UnbindCheck(CheckItem& item);
void UnbindCombo(ComboField& field);

}  // namespace vendil::gui
