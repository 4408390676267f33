// frmMultiURL: the several-URLs dialog, a multi-line box and OK / Cancel. A new dialog is
// made for every use, so nothing typed survives to the next.
#pragma once

#include <QDialog>
#include <optional>
#include <string>

class QPlainTextEdit;

namespace vendil::gui {

class MultiUrlDialog : public QDialog {
  Q_OBJECT

 public:
  explicit MultiUrlDialog(QWidget* parent = nullptr);

  // The whole text, lines separated by CR LF as the command splits them.
  std::string Text() const;
  QPlainTextEdit* Text1() const { return text1_; }

  // Shows a new dialog modally: the text on OK, nullopt on Cancel or the close box.
  static std::optional<std::string> ShowDialog(QWidget* owner);

 private:
  QPlainTextEdit* text1_ = nullptr;
};

}  // namespace vendil::gui
