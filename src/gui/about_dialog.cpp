// The about box.
#include "gui/about_dialog.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QIcon>
#include <QLabel>
#include <QPushButton>

#include "commands/window_commands.h"
#include "gui/dialog_frame.h"
#include "gui/jp_text.h"
#include "platform/version.h"

namespace vendil::gui {

AboutDialog::AboutDialog(std::function<void(const std::string&)> openUrl, QWidget* parent)
    : QDialog(parent), openUrl_(std::move(openUrl)) {
  setObjectName(QStringLiteral("frmAbout"));
  setWindowTitle(QString::fromUtf8("バージョン情報"));
  UseFixedDialogFrame(this);

  auto* icon = new QLabel(this);
  icon->setPixmap(QIcon(QStringLiteral(":/icons/vendil.svg")).pixmap(48, 48));
  icon->setAlignment(Qt::AlignTop | Qt::AlignHCenter);

  lblProductName = new QLabel(ProgramTitle(), this);
  lblProductName->setObjectName(QStringLiteral("lblProductName"));
  QFont big = lblProductName->font();
  big.setPointSizeF(big.pointSizeF() * 1.6);
  big.setBold(true);
  lblProductName->setFont(big);

  lblBuild = new QLabel(QStringLiteral("Build:%1").arg(ProgramRevision()), this);
  lblBuild->setObjectName(QStringLiteral("lblBuild"));
  lblBuild->setToolTip(QString::fromStdString(ProgramVersion() + " (" + ProgramGitHash() + ")"));

  lblCopyright = new QLabel(QString::fromStdString(ProgramCopyright()), this);
  lblCopyright->setObjectName(QStringLiteral("lblCopyright"));

  // Looks like a link (underlined, highlight colour); a click opens its own caption.
  const QString url = QString::fromUtf8(kHomePageUrl);
  lblUrl = new QLabel(this);
  lblUrl->setObjectName(QStringLiteral("lblUrl"));
  lblUrl->setTextFormat(Qt::RichText);
  lblUrl->setText(QStringLiteral("<a href=\"%1\">%1</a>").arg(url.toHtmlEscaped()));
  lblUrl->setTextInteractionFlags(Qt::LinksAccessibleByMouse | Qt::LinksAccessibleByKeyboard);
  lblUrl->setOpenExternalLinks(false);
  connect(lblUrl, &QLabel::linkActivated, this,
          [this](const QString& link) { openUrl_(link.toStdString()); });

  auto* buttons = new QDialogButtonBox(this);
  buttons->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole)->setDefault(true);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);

  auto* layout = new QGridLayout(this);
  layout->setContentsMargins(16, 16, 16, 12);
  layout->setHorizontalSpacing(16);
  layout->addWidget(icon, 0, 0, 4, 1);
  layout->addWidget(lblProductName, 0, 1);
  layout->addWidget(lblBuild, 1, 1);
  layout->addWidget(lblCopyright, 2, 1);
  layout->addWidget(lblUrl, 3, 1);
  layout->addWidget(buttons, 4, 0, 1, 2);
  setFixedSize(sizeHint());
}

}  // namespace vendil::gui
