// The running managers' submenu. Looking for them is a few loopback requests and one
// question to the session bus, so it is done when the menu opens, not kept up to date.
#include "gui/managers_menu.h"

#include "commands/handoff_commands.h"
#include "gui/kget_dbus.h"
#include "gui/main_window.h"

namespace vendil::gui {

namespace {

QString Caption(const FoundManager& found) {
  switch (found.manager) {
    case RunningManager::Aria2:
      return QStringLiteral("&aria2 (%1)").arg(QString::fromStdString(found.address));
    case RunningManager::ClickNLoad:
      return QStringLiteral("&Click'n'Load (%1)").arg(QString::fromStdString(found.address));
    case RunningManager::KGet:
      return QStringLiteral("&KGet");
    case RunningManager::UGet:
      return QStringLiteral("&uGet");
  }
  return {};
}

}  // namespace

ManagersMenu::ManagersMenu(Form1& form, MainWindow& window, QWidget* parent)
    : QMenu(QString::fromUtf8("ダウンロードマネージャーに送る(&M)"), parent),
      form_(form),
      window_(window) {
  setObjectName(QStringLiteral("mnuFile_SendToManager"));
  connect(this, &QMenu::aboutToShow, this, &ManagersMenu::Refresh);
  // Nothing is looked for before the user opens the menu; until then it holds the guide.
  AddHelpItem();
}

void ManagersMenu::AddHelpItem() {
  QAction* help = addAction(QString::fromUtf8("マネージャーの起動のしかた(&H)"));
  help->setObjectName(QStringLiteral("mnuFile_SendToManager_help"));
  connect(help, &QAction::triggered, this,
          [this] { window_.RunCommand([this] { OpenManagersHelp(form_); }); });
}

void ManagersMenu::Refresh() {
  clear();
  ManagerAddresses addresses = ManagerAddressesFromSettings(form_.settingsFile);
  QtKGetBus bus;
  const auto found = FindRunningManagers(addresses, &bus);
  for (const FoundManager& f : found) {
    QAction* action = addAction(Caption(f));
    action->setObjectName(QStringLiteral("mnuFile_SendToManager_") +
                          QString::fromLatin1(ManagerKey(f.manager)));
    // aria2 found on another port than the setting's (a front end) is sent to there.
    ManagerAddresses target = addresses;
    if (f.manager == RunningManager::Aria2) target.aria2.rpcUrl = f.address;
    const RunningManager manager = f.manager;
    connect(action, &QAction::triggered, this, [this, manager, target] {
      window_.RunCommand([this, manager, target] {
        QtKGetBus kget;
        SendToRunningManager(form_, form_.txtSaveFolder.Text(), manager, target, &kget);
      });
    });
  }
  if (found.empty()) {
    QAction* none = addAction(QString::fromUtf8("起動中のマネージャーが見つかりません"));
    none->setObjectName(QStringLiteral("mnuFile_SendToManager_none"));
    none->setEnabled(false);
  }
  addSeparator();
  AddHelpItem();
}

}  // namespace vendil::gui
