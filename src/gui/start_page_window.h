// frmWebBrowser: the start page beside the main window, owned by it. It shows
// help/start.html; its links open in the desktop's browser. Its position and size are
// restored when it opens and saved when it closes.
#pragma once

#include <QWidget>

#include "state/form1.h"

class QTextBrowser;

namespace vendil::gui {

class StartPageWindow : public QWidget {
  Q_OBJECT

 public:
  StartPageWindow(Form1& form, QWidget* owner);
  QTextBrowser* Browser() const { return browser_; }

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  Form1& form_;
  QTextBrowser* browser_ = nullptr;
};

}  // namespace vendil::gui
