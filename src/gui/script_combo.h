// cmbScript: a drop-down that reads its list again each time it opens, so scripts put in
// the scripts folder while the program runs can be chosen without a restart.
#pragma once

#include <QComboBox>
#include <functional>
#include <utility>

namespace vendil::gui {

class ScriptCombo : public QComboBox {
 public:
  ScriptCombo(QWidget* parent, std::function<void()> beforePopup)
      : QComboBox(parent), beforePopup_(std::move(beforePopup)) {}

  void showPopup() override {
    if (beforePopup_) beforePopup_();
    QComboBox::showPopup();
  }

 private:
  std::function<void()> beforePopup_;
};

}  // namespace vendil::gui
