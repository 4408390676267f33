// frmLog: the log of a run of several searches, shown modally in one multi-line box.
#pragma once

#include <QDialog>
#include <string>

class QPlainTextEdit;

namespace vendil::gui {

class LogDialog : public QDialog {
  Q_OBJECT

 public:
  // `text` is shown as given (the core has already applied the length rule).
  explicit LogDialog(const std::string& text, QWidget* parent = nullptr);
  QPlainTextEdit* TxtLog() const { return txtLog_; }

  static void ShowDialog(QWidget* owner, const std::string& text);

 private:
  QPlainTextEdit* txtLog_ = nullptr;
};

}  // namespace vendil::gui
