// The submenu "ダウンロードマネージャーに送る": the download managers found running when it
// opens, each sending the checked rows to it, and the guide page on starting them.
#pragma once

#include <QMenu>

#include "state/form1.h"

namespace vendil::gui {

class MainWindow;

class ManagersMenu : public QMenu {
  Q_OBJECT

 public:
  ManagersMenu(Form1& form, MainWindow& window, QWidget* parent);

  // Looks for the running managers and lists them; done each time the menu opens.
  void Refresh();

 private:
  void AddHelpItem();

  Form1& form_;
  MainWindow& window_;
};

}  // namespace vendil::gui
