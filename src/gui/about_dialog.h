// frmAbout: the product name, the build number, the copyright line and the home page, which
// opens with the desktop when clicked.
#pragma once

#include <QDialog>
#include <functional>
#include <string>

class QLabel;

namespace vendil::gui {

class AboutDialog : public QDialog {
  Q_OBJECT

 public:
  AboutDialog(std::function<void(const std::string&)> openUrl, QWidget* parent = nullptr);

  QLabel* lblProductName = nullptr;
  QLabel* lblBuild = nullptr;
  QLabel* lblCopyright = nullptr;
  QLabel* lblUrl = nullptr;

 private:
  std::function<void(const std::string&)> openUrl_;
};

}  // namespace vendil::gui
