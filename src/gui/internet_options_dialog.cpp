// The Internet options dialog.
#include "gui/internet_options_dialog.h"

#include <QButtonGroup>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include "gui/dialog_frame.h"
#include "gui/jp_text.h"

namespace vendil::gui {
namespace {

QSpinBox* MakeSpin(QWidget* parent, const char* name, int low, int high, int value,
                   const char* suffix) {
  auto* spin = new QSpinBox(parent);
  spin->setObjectName(QString::fromLatin1(name));
  spin->setRange(low, high);
  spin->setValue(value);
  if (suffix != nullptr) spin->setSuffix(Jp(suffix));
  return spin;
}

}  // namespace

InternetOptionsDialog::InternetOptionsDialog(const InternetOptions& o, QWidget* parent)
    : QDialog(parent), original_(o) {
  setObjectName(QStringLiteral("frmInternetOptions"));
  setWindowTitle(Jp("インターネットオプション"));
  UseFixedDialogFrame(this);

  auto* proxyBox = new QGroupBox(Jp("プロキシ"), this);
  optNoProxy = new QRadioButton(Jp("プロキシを使わない(&N)"), proxyBox);
  optSystemProxy = new QRadioButton(Jp("システムの設定 (環境変数) に従う(&S)"), proxyBox);
  optManualProxy = new QRadioButton(Jp("次のプロキシを使う(&M):"), proxyBox);
  optNoProxy->setObjectName(QStringLiteral("optNoProxy"));
  optSystemProxy->setObjectName(QStringLiteral("optSystemProxy"));
  optManualProxy->setObjectName(QStringLiteral("optManualProxy"));
  auto* group = new QButtonGroup(this);
  group->addButton(optNoProxy);
  group->addButton(optSystemProxy);
  group->addButton(optManualProxy);
  txtProxyHost = new QLineEdit(QString::fromStdString(o.proxyHost), proxyBox);
  txtProxyHost->setObjectName(QStringLiteral("txtProxyHost"));
  txtProxyHost->setPlaceholderText(QStringLiteral("proxy.example.jp"));
  spnProxyPort = MakeSpin(proxyBox, "spnProxyPort", 1, 65535, o.proxyPort, nullptr);
  txtProxyUser = new QLineEdit(QString::fromStdString(o.proxyUser), proxyBox);
  txtProxyUser->setObjectName(QStringLiteral("txtProxyUser"));
  txtProxyPassword = new QLineEdit(QString::fromStdString(o.proxyPassword), proxyBox);
  txtProxyPassword->setObjectName(QStringLiteral("txtProxyPassword"));
  txtProxyPassword->setEchoMode(QLineEdit::Password);

  auto* manual = new QFormLayout();
  manual->setContentsMargins(24, 0, 0, 0);
  manual->addRow(Jp("アドレス(&A):"), txtProxyHost);
  manual->addRow(Jp("ポート(&P):"), spnProxyPort);
  manual->addRow(Jp("ユーザー名(&U):"), txtProxyUser);
  manual->addRow(Jp("パスワード(&W):"), txtProxyPassword);
  auto* proxyLayout = new QVBoxLayout(proxyBox);
  proxyLayout->addWidget(optNoProxy);
  proxyLayout->addWidget(optSystemProxy);
  proxyLayout->addWidget(optManualProxy);
  proxyLayout->addLayout(manual);

  auto* connectBox = new QGroupBox(Jp("接続"), this);
  spnConnectTimeout =
      MakeSpin(connectBox, "spnConnectTimeout", 1, 600, o.connectTimeoutSeconds, " 秒");
  spnTotalTimeout = MakeSpin(connectBox, "spnTotalTimeout", 1, 3600, o.totalTimeoutSeconds, " 秒");
  spnRetries = MakeSpin(connectBox, "spnRetries", 0, 20, o.retries, " 回");
  spnConnections = MakeSpin(connectBox, "spnConnections", 1, 32, o.connections, nullptr);
  spnDelay = MakeSpin(connectBox, "spnDelay", 0, 60000, o.delayMs, " ミリ秒");
  spnDelay->setSingleStep(100);
  auto* connectLayout = new QFormLayout(connectBox);
  connectLayout->addRow(Jp("接続のタイムアウト(&C):"), spnConnectTimeout);
  connectLayout->addRow(Jp("全体のタイムアウト(&T):"), spnTotalTimeout);
  connectLayout->addRow(Jp("再試行の回数(&R):"), spnRetries);
  connectLayout->addRow(Jp("サーバーごとの同時接続数(&O):"), spnConnections);
  connectLayout->addRow(Jp("同じサーバーへの要求の間隔(&D):"), spnDelay);

  auto* buttons = new QDialogButtonBox(this);
  buttons->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole)->setDefault(true);
  buttons->addButton(Jp("キャンセル"), QDialogButtonBox::RejectRole);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(proxyBox);
  layout->addWidget(connectBox);
  layout->addWidget(buttons);

  switch (o.proxyMode) {
    case InternetOptions::ProxyMode::None:
      optNoProxy->setChecked(true);
      break;
    case InternetOptions::ProxyMode::Manual:
      optManualProxy->setChecked(true);
      break;
    default:
      optSystemProxy->setChecked(true);
  }
  connect(optManualProxy, &QRadioButton::toggled, this, [this] { EnableManualFields(); });
  EnableManualFields();
}

void InternetOptionsDialog::EnableManualFields() {
  const bool manual = optManualProxy->isChecked();
  for (QWidget* w : {static_cast<QWidget*>(txtProxyHost), static_cast<QWidget*>(spnProxyPort),
                     static_cast<QWidget*>(txtProxyUser), static_cast<QWidget*>(txtProxyPassword)})
    w->setEnabled(manual);
}

InternetOptions InternetOptionsDialog::Options() const {
  // Settings the dialog does not show keep their values.
  InternetOptions o = original_;
  o.proxyMode = optNoProxy->isChecked()       ? InternetOptions::ProxyMode::None
                : optManualProxy->isChecked() ? InternetOptions::ProxyMode::Manual
                                              : InternetOptions::ProxyMode::Environment;
  o.proxyHost = txtProxyHost->text().trimmed().toStdString();
  o.proxyPort = spnProxyPort->value();
  o.proxyUser = txtProxyUser->text().toStdString();
  o.proxyPassword = txtProxyPassword->text().toStdString();
  o.connectTimeoutSeconds = spnConnectTimeout->value();
  o.totalTimeoutSeconds = spnTotalTimeout->value();
  o.retries = spnRetries->value();
  o.connections = spnConnections->value();
  o.delayMs = spnDelay->value();
  return o;
}

}  // namespace vendil::gui
