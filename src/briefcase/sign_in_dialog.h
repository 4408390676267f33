// frmSignIn: the sign-in dialog's life over Ui::ShowSignIn. Loading fills the two boxes from
// the stored "SignIn" values, closing (by any button) writes them back; with values held
// for the run only (Form1::signInForRun) those are read and written instead.
#pragma once

#include <string>

#include "state/form1.h"

namespace vendil {

class frmSignIn {
 public:
  // Load: the boxes hold the stored ID and password.
  explicit frmSignIn(Form1& form);
  // Unload: both boxes are written back to the settings file.
  ~frmSignIn();
  frmSignIn(const frmSignIn&) = delete;
  frmSignIn& operator=(const frmSignIn&) = delete;

  // Shows one dialog (loaded and unloaded around it). True with both texts filled when OK
  // was pressed; otherwise the arguments keep what they held. `attempt` counts the dialogs
  // shown by one sign-in request, from 0.
  static bool ShowDialog(Form1& form, std::string& strId, std::string& strPassword, int attempt);

  std::string txtID;
  std::string txtPassword;

 private:
  Form1& form_;
  bool ok_ = false;
};

}  // namespace vendil
