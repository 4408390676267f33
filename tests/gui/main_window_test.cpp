// The main window as a user meets it: bands, toolbar and menus in order, fields bound to the
// form both ways, the tag and option items, drops, the resize rule, the layout kept in the
// settings file, and the commands each item reaches.
#include <QClipboard>
#include <QComboBox>
#include <QFileDialog>
#include <QHeaderView>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QMimeData>
#include <QTest>
#include <QToolBar>
#include <QToolButton>
#include <filesystem>

#include "gui/band_area.h"
#include "gui/link_list_model.h"
#include "gui/link_list_view.h"
#include "gui/twips.h"
#include "gui/window_fixture.h"
#include "settings/c_ini.h"

namespace vendil::test {
namespace {

using MainWindowTest = WindowFixture;

// A menu as "name caption" lines, "-" for a separator.
std::vector<std::string> Items(QMenu* menu) {
  std::vector<std::string> items;
  for (QAction* action : menu->actions()) {
    if (action->isSeparator()) {
      items.push_back("-");
    } else {
      const QString name =
          action->menu() != nullptr ? action->menu()->objectName() : action->objectName();
      items.push_back(name.toStdString() + " " + action->text().toStdString());
    }
  }
  return items;
}

QMenu* MenuNamed(gui::MainWindow& window, const char* name) {
  return window.findChild<QMenu*>(QString::fromLatin1(name));
}

void Drop(QWidget* target, const QMimeData& data) {
  QDragEnterEvent enter(QPoint(2, 2), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
  QCoreApplication::sendEvent(target, &enter);
  QDropEvent drop(QPointF(2, 2), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
  QCoreApplication::sendEvent(target, &drop);
}

TEST_F(MainWindowTest, BandsHoldTheFieldsInOrderWithTheirCaptionsAndRows) {
  OpenWindow();
  gui::BandArea* bands = window->Bands();
  ASSERT_EQ(bands->BandCount(), 8);
  const char* captions[] = {"",     "URL",    "フォルダ",    "フィルタ",
                            "階層", "Script", "URLフィルタ", "ContentType"};
  const char* children[] = {"Toolbar1", "txtUrl",    "txtSaveFolder", "txtMask",
                            "txtDepth", "cmbScript", "txtGetUrls",    "txtContentType"};
  const int rows[] = {0, 1, 2, 3, 3, 3, 4, 4};
  const int widths[] = {4830, 3255, 3015, 4005, 1005, 1005, 3000, 1455};
  for (int i = 0; i < 8; ++i) {
    EXPECT_EQ(bands->BandCaption(i).toStdString(), captions[i]) << i;
    EXPECT_EQ(bands->BandChild(i)->objectName().toStdString(), children[i]) << i;
    EXPECT_EQ(bands->BandRow(i), rows[i]) << i;
    // A band asks for its design width unless its caption and child need more.
    EXPECT_GE(bands->BandWidget(i)->sizeHint().width(), gui::TwipsToPixels(widths[i], window.get()))
        << i;
  }
  EXPECT_EQ(bands->BandWidget(1)->sizeHint().width(), gui::TwipsToPixels(3255, window.get()));
  EXPECT_GE(bands->BandWidget(0)->height(), gui::TwipsToPixels(525, window.get()));
  // The last band of a row takes the rest of the row.
  EXPECT_EQ(bands->BandWidget(1)->width(), bands->width());
}

TEST_F(MainWindowTest, ToolbarButtonsInOrderWithTooltipsAndDropDowns) {
  OpenWindow();
  std::vector<std::string> keys;
  for (QAction* action : window->Toolbar()->actions())
    keys.push_back(action->isSeparator() ? "-" : action->data().toString().toStdString());
  EXPECT_EQ(keys, (std::vector<std::string>{"go", "urls", "stop", "-", "copy", "text", "iria",
                                            "reget", "irvine", "flashget", "getright", "-",
                                            "search", "-", "about", "-", "download", "check"}));
  EXPECT_EQ(window->Action("Toolbar1_go")->toolTip().toStdString(), "開始");
  EXPECT_EQ(window->Action("Toolbar1_search")->toolTip().toStdString(),
            "フィルタと一致するアイテムの選択");
  for (const char* key : {"iria", "reget", "irvine"}) {
    QAction* button = window->Action(QStringLiteral("Toolbar1_") + key);
    ASSERT_NE(button->menu(), nullptr) << key;
    ASSERT_EQ(button->menu()->actions().size(), 2) << key;
    EXPECT_EQ(button->menu()->actions()[0]->data().toString().toStdString(),
              std::string(key) + "_save");
    EXPECT_EQ(button->menu()->actions()[1]->data().toString().toStdString(),
              std::string(key) + "_send");
    auto* tool = qobject_cast<QToolButton*>(window->Toolbar()->widgetForAction(button));
    ASSERT_NE(tool, nullptr);
    EXPECT_EQ(tool->popupMode(), QToolButton::MenuButtonPopup);
  }
  EXPECT_EQ(window->Action("Toolbar1_reget_send")->text().toStdString(), "Regetへ送る");
  for (QAction* action : window->Toolbar()->actions()) {
    if (!action->isSeparator()) {
      EXPECT_FALSE(action->icon().isNull()) << action->data().toString().toStdString();
    }
  }
}

TEST_F(MainWindowTest, MenusHoldEveryItemInOrder) {
  OpenWindow();
  std::vector<std::string> top;
  for (QAction* action : window->menuBar()->actions()) top.push_back(action->text().toStdString());
  EXPECT_EQ(top, (std::vector<std::string>{"ファイル(&F)", "編集(&E)", "実行(&G)", "設定(&O)",
                                           "ヘルプ(&H)", "&Popup"}));
  EXPECT_FALSE(window->menuBar()->actions().back()->isVisible());

  EXPECT_EQ(
      Items(MenuNamed(*window, "mnuFile")),
      (std::vector<std::string>{
          "mnuFile_Copy URLリストのコピー(&C)", "-", "mnuFile_SaveToText URLリストの保存(&T)...",
          "mnuFile_SaveToIri Iria形式で保存(&I)...", "mnuFile_SaveToIrv Irvine形式で保存(&V)...",
          "mnuFile_SaveToWrg Reget形式で保存(&W)...", "mnuFile_SaveToGrx GetRight形式で保存(&G)...",
          "-", "mnuFile_SendToIria IriaにURLを送る(&A)",
          "mnuFile_SendToIrvin IrvineにURLを送る(&N)",
          "mnuFile_SendToFlashGet FlashGetにURLを送る(&F)",
          "mnuFile_SendToReget RegetにURLを送る(&R)",
          "mnuFile_SendToManager ダウンロードマネージャーに送る(&M)", "-",
          "mnuFile_Download ダウンロード(&D)", "-", "mnuFile_Exit 終了(&E)"}));
  EXPECT_EQ(
      Items(MenuNamed(*window, "mnuEdit")),
      (std::vector<std::string>{"mnuEdit_Find フィルタと一致するアイテムの選択(&S)",
                                "mnuEdit_InvertCheck チェックの逆転(&I)",
                                "mnuEdit_RemoveUnchecked チェックされていないアイテムの削除(&U)"}));
  EXPECT_EQ(Items(MenuNamed(*window, "mnuGo")),
            (std::vector<std::string>{
                "mnuGo_Start 開始(&S)", "mnuGo_Stop 中止(&T)", "-",
                "mnuGo_CheckLinks リンクの確認(&K)", "mnuGo_CheckAllLinks すべてのリンクの確認(&H)",
                "-", "mnuGo_SomeBriefcases 複数のURLを巡回(&E)...",
                "mnuGo_SkippedLinks 除外されたリンク(&X)...", "-",
                "mnuGo_CreateNewLinks 「新しいリンクのチェック」ファイルの作成(&C)...",
                "mnuGo_StartNewLinks 「新しいリンクのチェック」の開始(&N)...",
                "mnuGo_OpenNewLinksList 複数の「新しいリンクのチェック」の開始(&L)..."}));
  EXPECT_EQ(Items(MenuNamed(*window, "mnuOption")),
            (std::vector<std::string>{
                "mnuOption_UseBriefcaseDirectory ブリーフケースのフォルダ名を使う(&D)", "-",
                "mnuOption_DifferentServer 外部サーバーのページも検索する(&I)",
                "mnuOption_ParentDirectory 上位ディレクトリのページも検索する(&U)",
                "mnuOption_Tags 検索するタグ(&T)", "-",
                "mnuOption_OnlyUseYahooBriefcase 常にYahoo Briefcaseとして検索する(&O)", "-",
                "mnuOption_InternetOptions インターネットオプション(&I)..."}));
  EXPECT_EQ(Items(MenuNamed(*window, "mnuOption_Tags")),
            (std::vector<std::string>{
                "mnuOption_Tag_Tags_0 &a href", "mnuOption_Tag_Tags_1 &frame src",
                "mnuOption_Tag_Tags_2 &iframe src", "mnuOption_Tag_Tags_3 i&mg src",
                "mnuOption_Tag_Tags_4 a&rea href", "mnuOption_Tag_Tags_5 カスタム(&C)", "-",
                "mnuOption_Tag_SetCustom カスタムタグの設定(&S)..."}));
  EXPECT_EQ(
      Items(MenuNamed(*window, "mnuHelp")),
      (std::vector<std::string>{
          "mnuHelp_Help ヘルプ(&H)", "mnuHelp_Onlinehelp オンラインヘルプ(&O)",
          "mnuHelp_Webpage Vendilのホームページ(&H)", "mnuHelp_About バージョン情報(&A)..."}));
  EXPECT_EQ(Items(window->PopupMenu()),
            (std::vector<std::string>{"mnuPopup_OpenThisUrl このURLを開く(&O)",
                                      "mnuPopup_OpenReferer このRefererのURLを開く(&R)"}));
  for (QAction* action : window->findChildren<QAction*>())
    EXPECT_TRUE(action->shortcut().isEmpty());
}

TEST_F(MainWindowTest, AltWithTheAccessKeyOpensItsMenu) {
  OpenWindow();
  window->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
  QMenu* go = MenuNamed(*window, "mnuGo");
  QTest::keyClick(window.get(), Qt::Key_G, Qt::AltModifier);
  EXPECT_TRUE(WaitFor([go] { return go->isVisible(); }, std::chrono::seconds(3)));
  go->close();
}

TEST_F(MainWindowTest, FieldsFollowTheFormBothWays) {
  OpenWindow();
  auto* url = window->findChild<QLineEdit*>(QStringLiteral("txtUrl"));
  auto* depth = window->findChild<QLineEdit*>(QStringLiteral("txtDepth"));
  ASSERT_NE(url, nullptr);
  url->clear();
  QTest::keyClicks(url, "http://example.jp/");
  EXPECT_EQ(form.txtUrl.Text(), "http://example.jp/");
  form.txtUrl.SetText("http://core.example/x.html");
  EXPECT_EQ(url->text().toStdString(), "http://core.example/x.html");
  depth->selectAll();
  QTest::keyClicks(depth, "2");
  EXPECT_EQ(form.txtDepth.Text(), "2");

  auto* script = window->findChild<QComboBox*>(QStringLiteral("cmbScript"));
  form.cmbScript.Clear();
  form.cmbScript.AddItem("");
  form.cmbScript.AddItem("titles.vbs");
  EXPECT_EQ(script->count(), 2);
  script->setCurrentIndex(1);
  EXPECT_EQ(form.cmbScript.Text(), "titles.vbs");
  form.cmbScript.SetListIndex(0);
  EXPECT_EQ(script->currentIndex(), 0);
}

// Clicking an item twice, and the other items: TagItems.ClickTogglesItsBitAndTheCheckMark.
TEST_F(MainWindowTest, TagItemsFollowTheTagSet) {
  OpenWindow();
  ASSERT_EQ(form.m_lngSearchTags, 1);
  QAction* img = window->Action("mnuOption_Tag_Tags_3");
  EXPECT_FALSE(img->isChecked());
  Trigger("mnuOption_Tag_Tags_3");
  EXPECT_EQ(form.m_lngSearchTags, 9);
  EXPECT_TRUE(img->isChecked());
  // A tag set the core changes shows in the menu.
  form.m_lngSearchTags = 32 | 2;
  form.RefreshTagMenu();
  EXPECT_TRUE(window->Action("mnuOption_Tag_Tags_5")->isChecked());
  EXPECT_TRUE(window->Action("mnuOption_Tag_Tags_1")->isChecked());
  EXPECT_FALSE(window->Action("mnuOption_Tag_Tags_0")->isChecked());
}

TEST_F(MainWindowTest, OptionItemsAreTheOptions) {
  OpenWindow();
  Trigger("mnuOption_DifferentServer");
  EXPECT_TRUE(form.mnuOption_DifferentServer.Checked());
  EXPECT_TRUE(window->Action("mnuOption_DifferentServer")->isChecked());
  Trigger("mnuOption_DifferentServer");
  EXPECT_FALSE(form.mnuOption_DifferentServer.Checked());
  form.mnuOption_OnlyUseYahooBriefcase.SetChecked(true);
  EXPECT_TRUE(window->Action("mnuOption_OnlyUseYahooBriefcase")->isChecked());
}

TEST_F(MainWindowTest, DropsReachOnlyTheUrlAndFolderFields) {
  OpenWindow();
  QWidget* url = window->findChild<QLineEdit*>(QStringLiteral("txtUrl"));
  QWidget* folderField = window->findChild<QLineEdit*>(QStringLiteral("txtSaveFolder"));
  form.txtUrl.SetText("http://before/");
  QMimeData text;  // which texts the URL field takes: WindowCommands.DropRules
  text.setText("HTTP://Example.jp/a.html");
  Drop(url, text);
  EXPECT_EQ(form.txtUrl.Text(), "HTTP://Example.jp/a.html");

  form.txtSaveFolder.SetText("/keep");
  Drop(folderField, text);  // text is not a file list
  EXPECT_EQ(form.txtSaveFolder.Text(), "/keep");
  QMimeData files;
  files.setUrls({QUrl::fromLocalFile(QStringLiteral("/srv/ダウンロード")),
                 QUrl::fromLocalFile(QStringLiteral("/srv/other"))});
  Drop(folderField, files);
  EXPECT_EQ(form.txtSaveFolder.Text(), "/srv/ダウンロード");

  for (const char* name :
       {"txtMask", "txtDepth", "txtGetUrls", "txtContentType", "cmbScript", "lvwUrls"})
    EXPECT_FALSE(window->findChild<QWidget*>(QString::fromLatin1(name))->acceptDrops()) << name;
}

TEST_F(MainWindowTest, ResizeRuleKeepsTheListBelowTheBands) {
  OpenWindow();
  window->resize(600, 500);
  ASSERT_TRUE(WaitFor([this] { return window->width() == 600; }));
  QWidget* list = window->List();
  const int bandBottom = window->Bands()->geometry().bottom() + 1;
  EXPECT_EQ(list->y(), bandBottom);
  EXPECT_EQ(list->width(), window->centralWidget()->width());
  EXPECT_EQ(list->y() + list->height(), window->centralWidget()->height());
  // The smallest window: NewcomerTest.TheSmallestWindowKeepsEveryCaptionAndThreeRows.
}

TEST_F(MainWindowTest, LayoutAndColumnWidthsRoundTripThroughTheSettingsFile) {
  // The widths of a first start: NewcomerTest.AFirstStartShowsEveryColumnAndTheLastReachesTheEdge.
  OpenWindow();
  window->List()->setColumnWidth(1, 260);
  window->move(40, 30);
  window->resize(640, 480);
  QTest::qWait(20);
  CloseWindow();

  cIni ini;
  ini.FileName(form.settingsFile);
  ini.Section("Column");
  EXPECT_EQ(ini.GetValue("Url", 0), gui::PixelsToTwips(260, nullptr));
  ini.Section("Window");
  EXPECT_EQ(ini.GetValue("Width", 0), 640 * 15);
  EXPECT_EQ(ini.GetValue("Height", 0), 480 * 15);

  OpenWindow();
  EXPECT_EQ(window->List()->columnWidth(1), 260);
  EXPECT_EQ(window->size(), QSize(640, 480));

  // Closed while maximized: the place it had before it was maximized is kept (not one of
  // an older session), and so are the columns; the stretched last one keeps its own width.
  window->List()->setColumnWidth(0, 150);
  window->move(60, 50);
  QTest::qWait(20);
  window->showMaximized();
  QTest::qWait(20);
  CloseWindow();
  ini.Section("Window");
  EXPECT_EQ(ini.GetValue("Width", 0), 640 * 15);
  EXPECT_EQ(ini.GetValue("Left", 0), 60 * 15);
  EXPECT_EQ(ini.GetValue("Top", 0), 50 * 15);
  ini.Section("Column");
  EXPECT_EQ(ini.GetValue("FileName", 0), 150 * 15);
  EXPECT_EQ(ini.GetValue("Depth", 0), 500);
}

TEST_F(MainWindowTest, EditCommandsWorkOnTheListAndTheStatusBar) {
  OpenWindow();
  form.txtMask.SetText("*.zip");
  form.lvwUrls.AddLink("a.zip", "http://h/a.zip", "http://h/", "", "", "", 1);
  form.lvwUrls.AddLink("b.txt", "http://h/b.txt", "http://h/", "", "", "", 1);
  form.lvwUrls.AddLink("c.zip", "http://h/c.zip", "http://h/", "", "", "", 1);
  window->Model()->FlushInsertedRows();
  Trigger("mnuEdit_InvertCheck");
  EXPECT_FALSE(form.lvwUrls.Checked(1));
  EXPECT_EQ(window->Model()->data(window->Model()->index(1, 0), Qt::CheckStateRole).toInt(),
            Qt::Checked);
  Trigger("Toolbar1_search");
  EXPECT_EQ(window->StatusLabel()->text().toStdString(), "2 個のアイテムと一致しました。");
  EXPECT_TRUE(form.lvwUrls.Checked(1));
  Trigger("mnuEdit_RemoveUnchecked");
  EXPECT_EQ(window->Model()->rowCount(), 2);
  // A malformed mask: WindowCommands.SelectMatchingItemsCountsIntoTheStatusText.
}

TEST_F(MainWindowTest, HeaderClicksSortWithOneSharedOrder) {
  OpenWindow();
  for (const char* name : {"b", "a", "c"})
    form.lvwUrls.AddLink(name, std::string("http://h/") + name, "", "", "", "", 0);
  window->Model()->FlushInsertedRows();
  QHeaderView* header = window->List()->horizontalHeader();
  auto firstRow = [this] {
    return window->Model()->data(window->Model()->index(0, 0)).toString().toStdString();
  };
  QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                    QPoint(header->sectionViewportPosition(0) + 5, 5));
  EXPECT_EQ(firstRow(), "c");
  EXPECT_EQ(header->sortIndicatorOrder(), Qt::DescendingOrder);
  QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                    QPoint(header->sectionViewportPosition(1) + 5, 5));
  EXPECT_EQ(firstRow(), "a");
  // Rows added later are appended, not sorted in.
  form.lvwUrls.AddLink("0", "http://h/0", "", "", "", "", 0);
  window->Model()->FlushInsertedRows();
  EXPECT_EQ(window->Model()->data(window->Model()->index(3, 0)).toString().toStdString(), "0");
}

TEST_F(MainWindowTest, SortingANarrowColumnLeavesItsCaptionWhole) {
  OpenWindow();
  window->resize(900, 400);
  QHeaderView* header = window->List()->horizontalHeader();
  const int depth = 6;  // 500 twips: barely wider than its caption
  auto section = [&] {
    const QRect area(header->sectionViewportPosition(depth), 0, header->sectionSize(depth),
                     header->height());
    return header->viewport()->grab(area).toImage();
  };
  const QImage unsorted = section();
  QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                    QPoint(header->sectionViewportPosition(depth) + 5, header->height() / 2));
  ASSERT_EQ(header->sortIndicatorSection(), depth);
  const QImage sorted = section();
  ASSERT_EQ(sorted.size(), unsorted.size());
  // The arrow takes a strip at the top; below it the caption is drawn as before.
  const int strip = header->height() / 3;
  bool arrowDrawn = false;
  for (int y = 0; y < sorted.height(); ++y) {
    for (int x = 0; x < sorted.width(); ++x) {
      const bool same = sorted.pixel(x, y) == unsorted.pixel(x, y);
      if (y >= strip) {
        ASSERT_TRUE(same) << "caption changed at " << x << "," << y;
      }
      if (!same) arrowDrawn = true;
    }
  }
  EXPECT_TRUE(arrowDrawn);
}

TEST_F(MainWindowTest, ContextMenuOpensTheSelectedRowsUrlOrReferer) {
  OpenWindow();
  form.lvwUrls.AddLink("a.zip", "http://h/a.zip", "http://h/page.html", "", "", "", 1);
  form.lvwUrls.AddLink("b.zip", "http://h/b.zip", "http://h/other.html", "", "", "", 1);
  window->Model()->FlushInsertedRows();
  Trigger("mnuPopup_OpenThisUrl");
  EXPECT_TRUE(opened.urls.empty());  // nothing selected

  // A right-button click selects the row under it; its release opens the menu.
  gui::LinkListView* list = window->List();
  const QPoint second = list->visualRect(window->Model()->index(1, 1)).center();
  bool shown = false;
  QTimer::singleShot(50, [&shown] {
    if (QWidget* popup = QApplication::activePopupWidget()) {
      shown = popup->objectName() == QStringLiteral("mnuPopup");
      popup->close();
    }
  });
  QTest::mouseClick(list->viewport(), Qt::RightButton, {}, second);
  EXPECT_TRUE(shown);
  EXPECT_EQ(list->SelectedPosition(), 2u);
  Trigger("mnuPopup_OpenThisUrl");
  Trigger("mnuPopup_OpenReferer");
  ASSERT_EQ(opened.urls.size(), 2u);
  EXPECT_EQ(opened.urls[0].toString().toStdString(), "http://h/b.zip");
  EXPECT_EQ(opened.urls[1].toString().toStdString(), "http://h/other.html");
}

TEST_F(MainWindowTest, HelpItemsOpenTheGuideAndOurPages) {
  OpenWindow();
  Trigger("mnuHelp_Help");
  Trigger("mnuHelp_Onlinehelp");
  Trigger("mnuHelp_Webpage");
  ASSERT_EQ(opened.urls.size(), 3u);
  EXPECT_EQ(opened.urls[0],
            QUrl::fromLocalFile(QString::fromStdString(folder.File("help/index.html"))));
  EXPECT_EQ(opened.urls[1].scheme().toStdString(), "https");
  EXPECT_EQ(opened.urls[2].scheme().toStdString(), "https");
}

TEST_F(MainWindowTest, AboutBoxShowsTheBuildAndOpensTheHomePage) {
  OpenWindow();
  std::string product, build;
  OnModal(QStringLiteral("frmAbout"), [&](QWidget* about) {
    product = about->findChild<QLabel*>(QStringLiteral("lblProductName"))->text().toStdString();
    build = about->findChild<QLabel*>(QStringLiteral("lblBuild"))->text().toStdString();
    auto* link = about->findChild<QLabel*>(QStringLiteral("lblUrl"));
    emit link->linkActivated(QStringLiteral("https://www.vendil.org/"));
    about->close();
  });
  Trigger("Toolbar1_about");
  EXPECT_EQ(product, "Vendil");
  EXPECT_EQ(build, "Build:26");
  ASSERT_EQ(opened.urls.size(), 1u);
  EXPECT_EQ(opened.urls[0].toString().toStdString(), "https://www.vendil.org/");
}

// An empty or cancelled answer: CustomTags.OnlyANonEmptyAnswerReplacesTheTags.
TEST_F(MainWindowTest, CustomTagsAskWithTheirPrompt) {
  OpenWindow();
  form.m_strCustomTags = "object src";
  OnModal(QStringLiteral("InputBox"), [](QWidget* box) {
    auto* edit = box->findChild<QLineEdit*>();
    ASSERT_NE(edit, nullptr);
    EXPECT_EQ(box->windowTitle().toStdString(), "カスタムタグの設定");
    edit->setText(QStringLiteral("img dynsrc alt"));
    ClickButton(box, QStringLiteral("OK"));
  });
  Trigger("mnuOption_Tag_SetCustom");
  EXPECT_EQ(form.m_strCustomTags, "img dynsrc alt");
}

TEST_F(MainWindowTest, ExitSavesTheSettings) {
  OpenWindow();
  form.txtMask.SetText("*.lzh");
  Trigger("mnuFile_Exit");
  EXPECT_FALSE(window->isVisible());
  cIni ini;
  ini.FileName(form.settingsFile);
  ini.Section("General");
  EXPECT_EQ(ini.GetString("Mask", ""), "*.lzh");
}

// What the first dialog of a command showed.
struct DialogSeen {
  std::string name, title, filters;
  bool save = false;
};

class CommandDispatchTest : public WindowFixture {
 protected:
  // Triggers `action` and closes the first dialog it opens (file dialogs cancelled).
  DialogSeen FirstDialog(const char* action) {
    DialogSeen seen;
    auto* timer = new QTimer(window.get());
    timer->setInterval(5);
    QObject::connect(timer, &QTimer::timeout, timer, [timer, &seen] {
      QWidget* modal = QApplication::activeModalWidget();
      if (modal == nullptr || !modal->isVisible()) return;
      timer->stop();
      seen.name = modal->objectName().toStdString();
      seen.title = modal->windowTitle().toStdString();
      if (auto* files = qobject_cast<QFileDialog*>(modal)) {
        seen.filters = files->nameFilters().join(QLatin1Char('|')).toStdString();
        seen.save = files->acceptMode() == QFileDialog::AcceptSave;
        files->reject();
      } else if (auto* box = qobject_cast<QMessageBox*>(modal)) {
        seen.title += ": " + box->text().toStdString();
        ClickButton(box, QStringLiteral("OK"));
      } else {
        modal->close();
      }
    });
    timer->start();
    Trigger(action);
    timer->stop();
    return seen;
  }
};

TEST_F(CommandDispatchTest, EveryFileAndNewLinksCommandReachesItsDialog) {
  OpenWindow();
  form.lvwUrls.AddLink("a.zip", "http://h/a.zip", "http://h/", "", "", "", 0);
  window->Model()->FlushInsertedRows();
  const std::pair<const char*, const char*> saves[] = {
      {"mnuFile_SaveToText", "(*.txt)"},  {"Toolbar1_text", "(*.txt)"},
      {"mnuFile_SaveToIri", "(*.iri)"},   {"Toolbar1_iria", "(*.iri)"},
      {"Toolbar1_iria_save", "(*.iri)"},  {"mnuFile_SaveToIrv", "(*.irv)"},
      {"Toolbar1_irvine", "(*.irv)"},     {"Toolbar1_irvine_save", "(*.irv)"},
      {"mnuFile_SaveToWrg", "(*.wrg)"},   {"Toolbar1_reget", "(*.wrg)"},
      {"Toolbar1_reget_save", "(*.wrg)"}, {"mnuFile_SaveToGrx", "(*.grx)"},
      {"Toolbar1_getright", "(*.grx)"}};
  for (const auto& [action, pattern] : saves) {
    const DialogSeen seen = FirstDialog(action);
    EXPECT_EQ(seen.name, "CommonDialog1") << action;
    EXPECT_EQ(seen.title, "ファイルの保存") << action;
    EXPECT_TRUE(seen.save) << action;
    EXPECT_NE(seen.filters.find(pattern), std::string::npos) << action << " " << seen.filters;
  }
  // No manager is installed here: each hand-off tells so in a message box.
  for (const char* action : {"mnuFile_SendToIria", "Toolbar1_iria_send", "mnuFile_SendToIrvin",
                             "Toolbar1_irvine_send", "mnuFile_SendToFlashGet", "Toolbar1_flashget",
                             "mnuFile_SendToReget", "Toolbar1_reget_send"}) {
    EXPECT_EQ(FirstDialog(action).name, "MessageBox") << action;
  }
  const DialogSeen create = FirstDialog("mnuGo_CreateNewLinks");
  EXPECT_TRUE(create.save);
  EXPECT_EQ(create.title, "名前を付けて保存");
  EXPECT_NE(create.filters.find("(*.nlc)"), std::string::npos);
  const DialogSeen check = FirstDialog("mnuGo_StartNewLinks");
  EXPECT_FALSE(check.save);
  EXPECT_EQ(check.title, "開く");
  EXPECT_NE(check.filters.find("(*.nlc)"), std::string::npos);
  const DialogSeen list = FirstDialog("mnuGo_OpenNewLinksList");
  EXPECT_FALSE(list.save);
  EXPECT_NE(list.filters.find("リスト(*.txt)"), std::string::npos);

  Trigger("mnuFile_Copy");
  EXPECT_EQ(QGuiApplication::clipboard()->text().toStdString(), "http://h/a.zip\r\n");
}

TEST_F(MainWindowTest, ASettingsFileThatCannotBeWrittenIsSaidSoOnClosing) {
  OpenWindow();
  WriteBytes(form.settingsFile, "[General]\r\nMask=*.old\r\n");
  std::filesystem::permissions(
      form.settingsFile, std::filesystem::perms::owner_read | std::filesystem::perms::group_read);
  form.txtMask.SetText("*.new");
  AcceptNextMessageBox();
  CloseWindow();
  ASSERT_EQ(messageTexts.size(), 1u);
  EXPECT_NE(messageTexts[0].find("に保存できませんでした。"), std::string::npos);
  EXPECT_EQ(ReadBytes(form.settingsFile), "[General]\r\nMask=*.old\r\n");
}

}  // namespace
}  // namespace vendil::test
