// The menus and the toolbar of the main window: each item and button calls one command of
// the core.
#include <QMenu>
#include <QMenuBar>
#include <QStyle>
#include <QToolBar>
#include <QToolButton>

#include "commands/main_commands.h"
#include "commands/new_links.h"
#include "commands/save_commands.h"
#include "commands/send_commands.h"
#include "commands/window_commands.h"
#include "gui/field_binding.h"
#include "gui/jp_text.h"
#include "gui/link_list_view.h"
#include "gui/main_window.h"
#include "gui/managers_menu.h"

namespace vendil::gui {
namespace {

constexpr const char* kTagCaptions[kTagItemCount] = {"&a href",  "&frame src", "&iframe src",
                                                     "i&mg src", "a&rea href", "カスタム(&C)"};

}  // namespace

QAction* MainWindow::AddItem(QMenu* menu, const char* name, const char* caption,
                             const std::function<void()>& command) {
  QAction* action = menu->addAction(Jp(caption));
  action->setObjectName(QString::fromLatin1(name));
  actions_[action->objectName()] = action;
  connect(action, &QAction::triggered, this, [this, command] { RunCommand(command); });
  return action;
}

void MainWindow::BuildToolbar() {
  toolbar_ = new QToolBar(this);
  toolbar_->setObjectName(QStringLiteral("Toolbar1"));
  toolbar_->setToolButtonStyle(Qt::ToolButtonIconOnly);
  toolbar_->setMovable(false);
  toolbar_->setFloatable(false);
  // Small pictures, as the band's design height (525 twips) is made for.
  const int icon = style()->pixelMetric(QStyle::PM_SmallIconSize, nullptr, this);
  toolbar_->setIconSize(QSize(icon, icon));
  for (const ToolbarButton& button : ToolbarButtons()) {
    const std::string key = button.key;
    if (key.empty()) {
      toolbar_->addSeparator();
      continue;
    }
    auto* action = new QAction(QIcon(QStringLiteral(":/icons/%1.svg").arg(button.key)),
                               Jp(button.tooltip), toolbar_);
    action->setObjectName(QStringLiteral("Toolbar1_") + QString::fromLatin1(button.key));
    action->setToolTip(Jp(button.tooltip));
    action->setData(QString::fromLatin1(button.key));
    actions_[action->objectName()] = action;
    connect(action, &QAction::triggered, this,
            [this, key] { RunCommand([this, key] { RunToolbarKey(form_, key); }); });
    if (button.dropDown) {
      auto* menu = new QMenu(this);
      menu->setObjectName(QStringLiteral("Toolbar1_") + QString::fromLatin1(button.key) +
                          QStringLiteral("_menu"));
      for (const ToolbarButton& item : ToolbarMenuItems(key)) {
        const std::string itemKey = item.key;
        QAction* entry = menu->addAction(Jp(item.tooltip));
        entry->setObjectName(QStringLiteral("Toolbar1_") + QString::fromLatin1(item.key));
        entry->setData(QString::fromLatin1(item.key));
        actions_[entry->objectName()] = entry;
        connect(entry, &QAction::triggered, this, [this, itemKey] {
          RunCommand([this, itemKey] { RunToolbarKey(form_, itemKey); });
        });
      }
      action->setMenu(menu);
    }
    toolbar_->addAction(action);
    if (button.dropDown) {
      // The face runs the button's own command; the arrow opens the items.
      if (auto* tool = qobject_cast<QToolButton*>(toolbar_->widgetForAction(action)))
        tool->setPopupMode(QToolButton::MenuButtonPopup);
    }
  }
}

void MainWindow::BuildMenus() {
  QMenuBar* bar = menuBar();
  bar->setNativeMenuBar(false);
  auto folder = [this] { return form_.txtSaveFolder.Text(); };

  QMenu* file = bar->addMenu(Jp("ファイル(&F)"));
  file->setObjectName(QStringLiteral("mnuFile"));
  AddItem(file, "mnuFile_Copy", "URLリストのコピー(&C)", [this] { CopyUrls(form_); });
  file->addSeparator();
  AddItem(file, "mnuFile_SaveToText", "URLリストの保存(&T)...", [this] { SaveToText(form_); });
  AddItem(file, "mnuFile_SaveToIri", "Iria形式で保存(&I)...",
          [this, folder] { SaveToIri(form_, folder()); });
  AddItem(file, "mnuFile_SaveToIrv", "Irvine形式で保存(&V)...",
          [this, folder] { SaveToIrv(form_, folder()); });
  AddItem(file, "mnuFile_SaveToWrg", "Reget形式で保存(&W)...",
          [this, folder] { SaveToWrg(form_, folder()); });
  AddItem(file, "mnuFile_SaveToGrx", "GetRight形式で保存(&G)...",
          [this, folder] { SaveToGrx(form_, folder()); });
  file->addSeparator();
  AddItem(file, "mnuFile_SendToIria", "IriaにURLを送る(&A)",
          [this, folder] { SendToIria(form_, folder()); });
  AddItem(file, "mnuFile_SendToIrvin", "IrvineにURLを送る(&N)",
          [this, folder] { SendToIrvine(form_, folder()); });
  AddItem(file, "mnuFile_SendToFlashGet", "FlashGetにURLを送る(&F)",
          [this, folder] { SendToFlashGet(form_, folder()); });
  AddItem(file, "mnuFile_SendToReget", "RegetにURLを送る(&R)",
          [this, folder] { SendToReget(form_, folder()); });
  // The download managers found running (aria2, Click'n'Load, KGet, uGet).
  QMenu* managers = new ManagersMenu(form_, *this, file);
  file->addMenu(managers);
  actions_[managers->objectName()] = managers->menuAction();
  BuildDownload(file);
  file->addSeparator();
  // Closing waits until this command has returned, so that only a search below it (not
  // the Exit command itself) counts as work still running.
  AddItem(file, "mnuFile_Exit", "終了(&E)",
          [this] { QMetaObject::invokeMethod(this, &QWidget::close, Qt::QueuedConnection); });

  QMenu* edit = bar->addMenu(Jp("編集(&E)"));
  edit->setObjectName(QStringLiteral("mnuEdit"));
  AddItem(edit, "mnuEdit_Find", "フィルタと一致するアイテムの選択(&S)",
          [this] { SelectMatchingItems(form_); });
  AddItem(edit, "mnuEdit_InvertCheck", "チェックの逆転(&I)",
          [this] { form_.lvwUrls.InvertCheck(); });
  AddItem(edit, "mnuEdit_RemoveUnchecked", "チェックされていないアイテムの削除(&U)",
          [this] { form_.lvwUrls.RemoveUnchecked(); });

  QMenu* go = bar->addMenu(Jp("実行(&G)"));
  go->setObjectName(QStringLiteral("mnuGo"));
  AddItem(go, "mnuGo_Start", "開始(&S)", [this] { StartSearch(form_); });
  AddItem(go, "mnuGo_Stop", "中止(&T)", [this] { StopSearch(form_); });
  BuildCheck(go);
  go->addSeparator();
  AddItem(go, "mnuGo_SomeBriefcases", "複数のURLを巡回(&E)...",
          [this] { SearchSeveralUrls(form_); });
  AddItem(go, "mnuGo_SkippedLinks", "除外されたリンク(&X)...", [this] { ShowSkippedLinks(); });
  go->addSeparator();
  AddItem(go, "mnuGo_CreateNewLinks", "「新しいリンクのチェック」ファイルの作成(&C)...",
          [this] { CreateNewLinksFile(form_); });
  AddItem(go, "mnuGo_StartNewLinks", "「新しいリンクのチェック」の開始(&N)...",
          [this] { StartNewLinks(form_); });
  AddItem(go, "mnuGo_OpenNewLinksList", "複数の「新しいリンクのチェック」の開始(&L)...",
          [this] { StartNewLinksList(form_); });

  QMenu* option = bar->addMenu(Jp("設定(&O)"));
  option->setObjectName(QStringLiteral("mnuOption"));
  // Each click inverts the switch; the check mark shows the form's value.
  auto addSwitch = [this, option](const char* name, const char* caption, CheckItem& item) {
    QAction* action = AddItem(option, name, caption, [&item] { item.Toggle(); });
    BindCheck(action, item);
    connect(action, &QAction::triggered, this,
            [action, &item] { action->setChecked(item.Checked()); });
  };
  addSwitch("mnuOption_UseBriefcaseDirectory", "ブリーフケースのフォルダ名を使う(&D)",
            form_.mnuOption_UseBriefcaseDirectory);
  option->addSeparator();
  addSwitch("mnuOption_DifferentServer", "外部サーバーのページも検索する(&I)",
            form_.mnuOption_DifferentServer);
  addSwitch("mnuOption_ParentDirectory", "上位ディレクトリのページも検索する(&U)",
            form_.mnuOption_ParentDirectory);
  QMenu* tags = option->addMenu(Jp("検索するタグ(&T)"));
  tags->setObjectName(QStringLiteral("mnuOption_Tags"));
  actions_[QStringLiteral("mnuOption_Tags")] = tags->menuAction();
  for (int i = 0; i < kTagItemCount; ++i) {
    const std::string name = "mnuOption_Tag_Tags_" + std::to_string(i);
    QAction* action =
        AddItem(tags, name.c_str(), kTagCaptions[i], [this, i] { ClickTagItem(form_, i); });
    CheckItem& item = form_.mnuOption_Tag_Tags[static_cast<size_t>(i)];
    BindCheck(action, item);
    connect(action, &QAction::triggered, this,
            [action, &item] { action->setChecked(item.Checked()); });
  }
  tags->addSeparator();
  AddItem(tags, "mnuOption_Tag_SetCustom", "カスタムタグの設定(&S)...",
          [this] { SetCustomTags(form_); });
  option->addSeparator();
  addSwitch("mnuOption_OnlyUseYahooBriefcase", "常にYahoo Briefcaseとして検索する(&O)",
            form_.mnuOption_OnlyUseYahooBriefcase);
  option->addSeparator();
  AddItem(option, "mnuOption_InternetOptions", "インターネットオプション(&I)...",
          [this] { ShowInternetOptions(); });

  QMenu* help = bar->addMenu(Jp("ヘルプ(&H)"));
  help->setObjectName(QStringLiteral("mnuHelp"));
  AddItem(help, "mnuHelp_Help", "ヘルプ(&H)", [this] { OpenHelp(form_); });
  AddItem(help, "mnuHelp_Onlinehelp", "オンラインヘルプ(&O)", [this] { OpenOnlineHelp(form_); });
  const std::string homeCaption = std::string(kMakerName) + "のホームページ(&H)";
  AddItem(help, "mnuHelp_Webpage", homeCaption.c_str(), [this] { OpenHomePage(form_); });
  AddItem(help, "mnuHelp_About", "バージョン情報(&A)...", [this] { ShowAbout(); });

  // The list's context menu: in the menu bar, but never shown there.
  popup_ = bar->addMenu(QStringLiteral("&Popup"));
  popup_->setObjectName(QStringLiteral("mnuPopup"));
  popup_->menuAction()->setVisible(false);
  AddItem(popup_, "mnuPopup_OpenThisUrl", "このURLを開く(&O)",
          [this] { OpenThisUrl(form_, list_->SelectedPosition()); });
  AddItem(popup_, "mnuPopup_OpenReferer", "このRefererのURLを開く(&R)",
          [this] { OpenThisReferer(form_, list_->SelectedPosition()); });

  for (QMenu* menu : {file, edit, go, option, tags, help})
    actions_[menu->objectName()] = menu->menuAction();
}

}  // namespace vendil::gui
