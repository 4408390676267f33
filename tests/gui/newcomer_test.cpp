// The window as a new user meets it: one search at a time, a start page that cannot be read
// said as such, a window that opens on screen, the keyboard, and nothing failing in silence.
#include <QComboBox>
#include <QDesktopServices>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QScreen>
#include <QTest>
#include <condition_variable>
#include <filesystem>
#include <mutex>

#include "commands/one_search.h"
#include "gui/band_area.h"
#include "gui/link_list_model.h"
#include "gui/link_list_view.h"
#include "gui/start_page_window.h"
#include "gui/twips.h"
#include "gui/window_fixture.h"
#include "net/raw_tcp_server.h"
#include "settings/c_ini.h"
#include "support/http_test_server.h"

namespace vendil::test {
namespace {

// Holds a server's answer until the test lets it go.
class Gate {
 public:
  ~Gate() { Release(); }
  void Wait() {
    std::unique_lock<std::mutex> lock(mutex_);
    cv_.wait(lock, [this] { return open_; });
  }
  void Release() {
    {
      std::lock_guard<std::mutex> lock(mutex_);
      open_ = true;
    }
    cv_.notify_all();
  }

 private:
  std::mutex mutex_;
  std::condition_variable cv_;
  bool open_ = false;
};

class NewcomerTest : public WindowFixture {
 protected:
  void SetUp() override {
    WindowFixture::SetUp();
    site.Page("/index.html", "<a href=\"a.zip\">a</a><a href=\"b.zip\">b</a>");
  }
  void TearDown() override {
    gate.Release();  // a handler still waiting must not keep the server from stopping
    boxTimer_.reset();
    WindowFixture::TearDown();
  }
  // Answers every message box with OK from now on, keeping its text.
  void AcceptEveryMessageBox() {
    boxTimer_ = std::make_unique<QTimer>();
    boxTimer_->setInterval(5);
    QObject::connect(boxTimer_.get(), &QTimer::timeout, [this] {
      auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
      if (box == nullptr || !box->isVisible() || box->property("answered").toBool()) return;
      box->setProperty("answered", true);
      messageTexts.push_back(box->text().toStdString());
      ClickButton(box, QStringLiteral("OK"));
    });
    boxTimer_->start();
  }
  // Runs `action` once, from the event loop, as soon as `ready` holds.
  void WhenReady(std::function<bool()> ready, std::function<void()> action) {
    auto* timer = new QTimer(boxTimer_.get());
    timer->setInterval(5);
    QObject::connect(timer, &QTimer::timeout, [timer, ready, action] {
      if (!ready()) return;
      timer->stop();
      action();
    });
    timer->start();
  }
  QLineEdit* Field(const char* name) {
    return window->findChild<QLineEdit*>(QString::fromLatin1(name));
  }
  void AddRows(int count) {
    for (int i = 0; i < count; ++i) {
      const std::string name = "f" + std::to_string(i) + ".zip";
      form.lvwUrls.AddLink(name, "http://h/" + name, "http://h/", "", "", "", 0);
    }
    window->Model()->FlushInsertedRows();
  }
  Qt::CheckState CheckOf(int row) {
    return static_cast<Qt::CheckState>(
        window->Model()->data(window->Model()->index(row, 0), Qt::CheckStateRole).toInt());
  }

  Gate gate;
  HttpTestServer site;

 private:
  std::unique_ptr<QTimer> boxTimer_;
};

TEST_F(NewcomerTest, AStartWhileASearchRunsGivesOneFinishBoxWithThatSearchsCount) {
  site.Handle("/held.html", [this](const httplib::Request&, httplib::Response& res) {
    gate.Wait();
    res.set_content("<a href=\"a.zip\">a</a><a href=\"b.zip\">b</a>", "text/html");
  });
  OpenWindow();
  form.txtUrl.SetText(site.Url("/held.html"));
  form.txtMask.SetText("*.zip");
  AcceptEveryMessageBox();
  std::vector<std::string> statusWhenPressed;
  // With the page held at the server, 開始 is pressed again (a double click) and Enter is
  // pressed in the URL field; then the page is let go.
  WhenReady([this] { return site.TimesRequested("/held.html") > 0; },
            [&] {
              Trigger("Toolbar1_go");
              statusWhenPressed.push_back(window->StatusLabel()->text().toStdString());
              QTest::keyClick(Field("txtUrl"), Qt::Key_Return);
              statusWhenPressed.push_back(window->StatusLabel()->text().toStdString());
              gate.Release();
            });
  Trigger("mnuGo_Start");
  EXPECT_EQ(statusWhenPressed, std::vector<std::string>(2, kSearchRunningText));
  ASSERT_EQ(messageTexts.size(), 1u);
  EXPECT_EQ(messageTexts[0], "2/2 個のリンクが見つかりました。");
  EXPECT_EQ(site.TimesRequested("/held.html"), 1);
  EXPECT_TRUE(WaitFor([this] { return window->Model()->rowCount() == 2; }));
  // Ended: Enter in the URL field starts the next search.
  QTest::keyClick(Field("txtUrl"), Qt::Key_Return);
  ASSERT_EQ(messageTexts.size(), 2u);
  EXPECT_EQ(site.TimesRequested("/held.html"), 2);
}

TEST_F(NewcomerTest, ADeadServerIsSaidInTheFinishBoxAndTheStatusBar) {
  RawTcpServer dead([](int) { return RawReply{}; });  // closes every connection
  const std::string deadUrl = "http://127.0.0.1:" + std::to_string(dead.Port()) + "/index.html";
  OpenWindow();
  form.txtUrl.SetText(deadUrl);
  AcceptNextMessageBox();
  Trigger("Toolbar1_go");
  ASSERT_EQ(messageTexts.size(), 1u);
  EXPECT_EQ(messageTexts[0], "ページの取得に失敗しました。");
  EXPECT_EQ(window->StatusLabel()->text().toStdString(), messageTexts[0]);
  // Nothing was left to read once it ended.
  EXPECT_TRUE(window->ProgressLabel()->text().contains(QString::fromUtf8("残り 0 ページ")))
      << window->ProgressLabel()->text().toStdString();
  // The log of several URLs with a dead one: IntegrationCrawlCommands, SearchWindowTest.
}

TEST_F(NewcomerTest, AStoredPlaceOffTheScreenOpensTheWindowWhollyOnIt) {
  const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
  cIni ini;
  ini.FileName(form.settingsFile);
  ini.Section("Window");
  // 99 by 52 pixels of it on the screen, as it was closed at the corner.
  ini.SetValue("Left", gui::PixelsToTwips(screen.right() - 98, nullptr));
  ini.SetValue("Top", gui::PixelsToTwips(screen.bottom() - 51, nullptr));
  ini.SetValue("Width", gui::PixelsToTwips(500, nullptr));
  ini.SetValue("Height", gui::PixelsToTwips(400, nullptr));
  OpenWindow();
  EXPECT_TRUE(screen.contains(window->geometry()))
      << window->geometry().x() << "," << window->geometry().y();
  EXPECT_EQ(window->size(), QSize(500, 400));
  CloseWindow();
  // A screen that is gone, a window larger than the screen: WindowGeometry.

  // The start page is kept on the screen too.
  ini.Section("AdWindow");
  ini.SetValue("Left", gui::PixelsToTwips(-2000, nullptr));
  ini.SetValue("Top", gui::PixelsToTwips(screen.bottom() + 10, nullptr));
  OpenWindow();
  gui::StartPageWindow page(form, window.get());
  EXPECT_TRUE(screen.contains(page.geometry()));
}

TEST_F(NewcomerTest, AFirstStartShowsEveryColumnAndTheLastReachesTheEdge) {
  OpenWindow();
  gui::LinkListView* list = window->List();
  QHeaderView* header = list->horizontalHeader();
  const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
  EXPECT_TRUE(screen.contains(window->geometry()));
  // As wide as every column needs, as far as the screen allows (not the old 467 pixels).
  int needed = 0;
  for (int c = 0; c <= gui::LinkListModel::kDepthColumn; ++c)
    needed += gui::TwipsToPixels(form.columnWidths[static_cast<size_t>(c)], window.get());
  EXPECT_GE(list->viewport()->width(), std::min(needed, screen.width() - 40));
  EXPECT_GE(window->height(), screen.height() / 2);

  // The last column shown ends at the list's right edge, however wide the window is. The
  // columns of a link check show only from the first check on.
  const int last = gui::LinkListModel::kDepthColumn;
  EXPECT_TRUE(list->isColumnHidden(gui::LinkListModel::kSizeColumn));
  EXPECT_TRUE(list->isColumnHidden(gui::LinkListModel::kStateColumn));
  auto lastEndsAtTheEdge = [&] {
    return header->sectionViewportPosition(last) + header->sectionSize(last) ==
           list->viewport()->width();
  };
  list->setColumnWidth(1, 120);
  list->setColumnWidth(2, 120);
  ASSERT_TRUE(WaitFor(lastEndsAtTheEdge));
  EXPECT_GT(header->sectionSize(last), gui::TwipsToPixels(500, window.get()));
  window->resize(window->width() - 60, window->height());
  ASSERT_TRUE(WaitFor([&] { return window->List()->viewport()->width() < screen.width() - 60; }));
  EXPECT_TRUE(WaitFor(lastEndsAtTheEdge));
}

TEST_F(NewcomerTest, TheSmallestWindowKeepsEveryCaptionAndThreeRows) {
  OpenWindow();
  AddRows(10);
  window->resize(50, 50);
  ASSERT_TRUE(WaitFor([this] { return window->size() == window->minimumSize(); }));
  gui::BandArea* bands = window->Bands();
  for (int i = 1; i < bands->BandCount(); ++i) {
    auto* caption = bands->BandWidget(i)->findChild<QLabel*>();
    ASSERT_NE(caption, nullptr);
    EXPECT_GE(caption->width(), caption->sizeHint().width()) << caption->text().toStdString();
    EXPECT_TRUE(bands->rect().contains(caption->mapTo(bands, caption->rect().bottomRight())));
  }
  gui::LinkListView* list = window->List();
  EXPECT_GE(list->rowAt(list->viewport()->height() - 1), 2);  // rows 0, 1 and 2 show
}

TEST_F(NewcomerTest, SpaceTogglesTheCurrentRowInAnyColumn) {
  OpenWindow();
  AddRows(3);
  gui::LinkListView* list = window->List();
  list->setFocus();
  list->setCurrentIndex(window->Model()->index(1, 1));  // the URL column
  const Qt::CheckState before = CheckOf(1);
  QTest::keyClick(list, Qt::Key_Space);
  EXPECT_NE(CheckOf(1), before);
  QTest::keyClick(list, Qt::Key_Space);
  EXPECT_EQ(CheckOf(1), before);
  EXPECT_EQ(CheckOf(0), before);

  // Two rows selected: both take the opposite of the current row's mark.
  list->setCurrentIndex(window->Model()->index(0, 3));
  list->selectionModel()->select(window->Model()->index(2, 0),
                                 QItemSelectionModel::Select | QItemSelectionModel::Rows);
  QTest::keyClick(list, Qt::Key_Space);
  EXPECT_NE(CheckOf(0), before);
  EXPECT_NE(CheckOf(2), before);
  EXPECT_EQ(CheckOf(1), before);
}

TEST_F(NewcomerTest, TabFollowsTheBandsAndLeavesTheList) {
  OpenWindow();
  AddRows(3);
  window->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
  Field("txtUrl")->setFocus();
  std::vector<std::string> order;
  for (int i = 0; i < 7; ++i) {
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    order.push_back(QApplication::focusWidget()->objectName().toStdString());
  }
  EXPECT_EQ(order, (std::vector<std::string>{"txtSaveFolder", "txtMask", "txtDepth", "cmbScript",
                                             "txtGetUrls", "txtContentType", "lvwUrls"}));
  // In the list, Tab and Shift+Tab go on to the next field, not to the next cell.
  gui::LinkListView* list = window->List();
  list->setCurrentIndex(window->Model()->index(0, 0));
  QTest::keyClick(list, Qt::Key_Tab);
  EXPECT_NE(QApplication::focusWidget(), list);
  list->setFocus();
  QTest::keyClick(list, Qt::Key_Backtab, Qt::ShiftModifier);
  EXPECT_EQ(QApplication::focusWidget(), Field("txtContentType"));
  EXPECT_EQ(list->currentIndex().column(), 0);
}

TEST_F(NewcomerTest, TheMenuKeyAndShiftF10OpenTheRowMenu) {
  OpenWindow();
  AddRows(2);
  gui::LinkListView* list = window->List();
  list->setFocus();
  list->setCurrentIndex(window->Model()->index(1, 0));
  int shown = 0;
  auto closeMenu = [&] {
    WhenReady([] { return QApplication::activePopupWidget() != nullptr; },
              [&] {
                QWidget* popup = QApplication::activePopupWidget();
                shown += popup->objectName() == QStringLiteral("mnuPopup");
                popup->close();
              });
  };
  AcceptEveryMessageBox();  // makes the timer parent
  closeMenu();
  QTest::keyClick(list, Qt::Key_Menu);
  closeMenu();
  QTest::keyClick(list, Qt::Key_F10, Qt::ShiftModifier);
  EXPECT_EQ(shown, 2);
}

TEST_F(NewcomerTest, TheFocusedListShowsAFrame) {
  OpenWindow();
  window->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
  gui::LinkListView* list = window->List();
  Field("txtUrl")->setFocus();
  const QImage unfocused = list->grab().toImage();
  list->setFocus();
  ASSERT_TRUE(list->hasFocus());
  const QImage focused = list->grab().toImage();
  const QPoint leftEdge(0, list->height() / 2);
  EXPECT_NE(focused.pixel(leftEdge), unfocused.pixel(leftEdge));
  EXPECT_EQ(QColor(focused.pixel(leftEdge)), list->palette().color(QPalette::Highlight));
}

TEST_F(NewcomerTest, WithoutABrowserTheHelpSaysSoWithThePath) {
  OpenWindow();
  // No handler: the desktop has nothing to open the page with.
  QDesktopServices::unsetUrlHandler(QStringLiteral("file"));
  AcceptNextMessageBox();
  Trigger("mnuHelp_Help");
  QDesktopServices::setUrlHandler(QStringLiteral("file"), &opened, "Open");
  ASSERT_EQ(messageTexts.size(), 1u);
  EXPECT_EQ(messageTexts[0],
            "ブラウザを起動できませんでした。次のアドレスを手動で開いてください。\n\n" +
                folder.File("help/index.html"));
}

TEST_F(NewcomerTest, ANewSearchClearsTheSortArrowAndTheScriptListIsReadOnOpening) {
  OpenWindow();
  AddRows(3);
  QHeaderView* header = window->List()->horizontalHeader();
  QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                    QPoint(header->sectionViewportPosition(0) + 5, 5));
  EXPECT_TRUE(header->isSortIndicatorShown());
  form.txtUrl.SetText(site.Url("/index.html"));
  AcceptNextMessageBox();
  Trigger("Toolbar1_go");
  EXPECT_FALSE(header->isSortIndicatorShown());

  // A script put in the folder while the program runs is offered when the list opens.
  auto* scripts = window->findChild<QComboBox*>(QStringLiteral("cmbScript"));
  std::filesystem::create_directories(folder.File("scripts"));
  WriteBytes(folder.File("scripts/new.vbs"), "' nothing\r\n");
  EXPECT_EQ(scripts->findText(QStringLiteral("new.vbs")), -1);
  scripts->showPopup();
  EXPECT_NE(scripts->findText(QStringLiteral("new.vbs")), -1);
  scripts->hidePopup();
}

}  // namespace
}  // namespace vendil::test
