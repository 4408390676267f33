// The sign-in dialog's load, show and unload.
#include "briefcase/sign_in_dialog.h"

#include "settings/c_ini.h"

namespace vendil {

namespace {

cIni SignInSection(const Form1& form) {
  cIni ini;
  ini.FileName(form.settingsFile);
  ini.Section("SignIn");
  return ini;
}

}  // namespace

frmSignIn::frmSignIn(Form1& form) : form_(form) {
  if (form_.signInForRun) {
    txtID = form_.signInForRun->id;
    txtPassword = form_.signInForRun->password;
    return;
  }
  const cIni ini = SignInSection(form_);
  txtID = ini.GetString("ID", "");
  txtPassword = ini.GetString("Password", "");
}

frmSignIn::~frmSignIn() {
  if (form_.signInForRun) {
    *form_.signInForRun = {txtID, txtPassword};
    return;
  }
  const cIni ini = SignInSection(form_);
  ini.SetString("ID", txtID);
  ini.SetString("Password", txtPassword);
}

bool frmSignIn::ShowDialog(Form1& form, std::string& strId, std::string& strPassword, int attempt) {
  frmSignIn dialog(form);
  dialog.ok_ = false;
  dialog.ok_ = form.ui().ShowSignIn(dialog.txtID, dialog.txtPassword, attempt);
  if (dialog.ok_) {
    strId = dialog.txtID;
    strPassword = dialog.txtPassword;
  }
  return dialog.ok_;
}

}  // namespace vendil
