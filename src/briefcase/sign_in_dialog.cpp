// The sign-in dialog's load, show and unload.
#include "briefcase/sign_in_dialog.h"

#include "settings/c_ini.h"

namespace vendil {

namespace {

cIni SettingsFileOf(const Form1& form) {
  cIni ini;
  ini.FileName(form.settingsFile);
  return ini;
}

}  // namespace

frmSignIn::frmSignIn(Form1& form) : form_(form) {
  if (form_.signInForRun) {
    txtID = form_.signInForRun->id;
    txtPassword = form_.signInForRun->password;
    return;
  }
  const cIni ini = SettingsFileOf(form_);
  txtID = ReadSetting(ini, setting::SignInId);
  txtPassword = ReadSetting(ini, setting::SignInPassword);
}

frmSignIn::~frmSignIn() {
  if (form_.signInForRun) {
    *form_.signInForRun = {txtID, txtPassword};
    return;
  }
  const cIni ini = SettingsFileOf(form_);
  WriteSetting(ini, setting::SignInId, txtID);
  WriteSetting(ini, setting::SignInPassword, txtPassword);
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
