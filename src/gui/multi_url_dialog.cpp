// The several-URLs dialog.
#include "gui/multi_url_dialog.h"

#include <QDialogButtonBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "gui/text_box.h"
#include "gui/twips.h"

namespace vendil::gui {

MultiUrlDialog::MultiUrlDialog(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("frmMultiURL"));
  setWindowTitle(QString::fromUtf8("複数URLの巡回"));
  text1_ = MakeScrollingTextBox(this, "Text1");

  auto* picture1 = new QDialogButtonBox(this);
  picture1->setObjectName(QStringLiteral("Picture1"));
  QPushButton* ok = picture1->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole);
  ok->setObjectName(QStringLiteral("cmdOK"));
  QPushButton* cancel =
      picture1->addButton(QString::fromUtf8("キャンセル"), QDialogButtonBox::RejectRole);
  cancel->setObjectName(QStringLiteral("cmdCancel"));
  // Enter starts a new line in the box; only a click (or its access) presses OK.
  ok->setAutoDefault(false);
  cancel->setAutoDefault(false);
  connect(picture1, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(picture1, &QDialogButtonBox::rejected, this, &QDialog::reject);

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 6);
  layout->addWidget(text1_, 1);
  auto* strip = new QHBoxLayout();
  strip->setContentsMargins(6, 0, 6, 0);
  strip->addWidget(picture1);
  layout->addLayout(strip);
  resize(TwipsToPixels(6600, this), TwipsToPixels(4200, this));
  text1_->setFocus();
}

std::string MultiUrlDialog::Text() const {
  QString text = text1_->toPlainText();
  text.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
  return text.toStdString();
}

std::optional<std::string> MultiUrlDialog::ShowDialog(QWidget* owner) {
  MultiUrlDialog dialog(owner);
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  return dialog.Text();
}

}  // namespace vendil::gui
