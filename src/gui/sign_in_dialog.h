// frmSignIn: the Yahoo! ID and password asked for by the briefcase sign-in. Both boxes are
// plain; the password shows as typed.
#pragma once

#include <QDialog>
#include <string>

class QLineEdit;

namespace vendil::gui {

class SignInDialog : public QDialog {
  Q_OBJECT

 public:
  SignInDialog(const std::string& id, const std::string& password, QWidget* parent = nullptr);

  std::string Id() const;
  std::string Password() const;

  QLineEdit* txtID = nullptr;
  QLineEdit* txtPassword = nullptr;
};

}  // namespace vendil::gui
