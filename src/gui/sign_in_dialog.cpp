// The sign-in dialog.
#include "gui/sign_in_dialog.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "gui/dialog_frame.h"
#include "gui/twips.h"

namespace vendil::gui {

SignInDialog::SignInDialog(const std::string& id, const std::string& password, QWidget* parent)
    : QDialog(parent) {
  setObjectName(QStringLiteral("frmSignIn"));
  setWindowTitle(QString::fromUtf8("サインイン"));
  UseFixedDialogFrame(this);
  txtID = new QLineEdit(QString::fromStdString(id), this);
  txtID->setObjectName(QStringLiteral("txtID"));
  txtPassword = new QLineEdit(QString::fromStdString(password), this);
  txtPassword->setObjectName(QStringLiteral("txtPassword"));
  txtID->setMinimumWidth(TwipsToPixels(3000, this));

  auto* form = new QFormLayout();
  form->addRow(QStringLiteral("Yahoo! ID:"), txtID);
  form->addRow(QStringLiteral("Password:"), txtPassword);

  auto* buttons = new QDialogButtonBox(this);
  QPushButton* ok = buttons->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole);
  ok->setObjectName(QStringLiteral("cmdOK"));
  ok->setDefault(true);
  // キャンセル, as every other dialog of the window says it.
  QPushButton* cancel =
      buttons->addButton(QString::fromUtf8("キャンセル"), QDialogButtonBox::RejectRole);
  cancel->setObjectName(QStringLiteral("cmdCancel"));
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(form);
  layout->addWidget(buttons);
  setFixedSize(sizeHint());
  txtID->setFocus();
}

std::string SignInDialog::Id() const { return txtID->text().toStdString(); }

std::string SignInDialog::Password() const { return txtPassword->text().toStdString(); }

}  // namespace vendil::gui
