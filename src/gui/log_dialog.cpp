// The log window.
#include "gui/log_dialog.h"

#include <QPlainTextEdit>
#include <QVBoxLayout>

#include "gui/text_box.h"
#include "gui/twips.h"

namespace vendil::gui {

LogDialog::LogDialog(const std::string& text, QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("frmLog"));
  setWindowTitle(QString::fromUtf8("ログ"));
  txtLog_ = MakeScrollingTextBox(this, "txtLog");
  QString shown = QString::fromStdString(text);
  shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  txtLog_->setPlainText(shown);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(txtLog_);
  resize(TwipsToPixels(7200, this), TwipsToPixels(4800, this));
}

void LogDialog::ShowDialog(QWidget* owner, const std::string& text) {
  LogDialog dialog(text, owner);
  dialog.exec();
}

}  // namespace vendil::gui
