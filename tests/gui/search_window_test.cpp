// Whole searches started from the window: a crawl of a loopback site from the toolbar, Stop
// pressed while it runs, the several-URLs dialog and its log, the sign-in dialog against the
// briefcase stand-in, and file dialogs answered as a user answers them.
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTest>

#include "gui/link_list_model.h"
#include "gui/window_fixture.h"
#include "settings/c_ini.h"
#include "support/briefcase_stand_in.h"
#include "support/http_test_server.h"

namespace vendil::test {
namespace {

std::string Page(const std::vector<std::string>& hrefs) {
  std::string body = "<html><body>";
  for (const auto& href : hrefs) body += "<a href=\"" + href + "\">" + href + "</a>\n";
  return body + "</body></html>";
}

class SearchWindowTest : public WindowFixture {
 protected:
  void SetUp() override {
    WindowFixture::SetUp();
    site.Page("/index.html", Page({"a.zip", "b.zip", "notes.txt", "sub/index.html"}));
    site.Page("/sub/index.html", Page({"c.zip", "../a.zip"}));
  }
  HttpTestServer site;
};

TEST_F(SearchWindowTest, StartFromTheToolbarFillsTheViewAndShowsTheStatus) {
  OpenWindow();
  auto* url = window->findChild<QLineEdit*>(QStringLiteral("txtUrl"));
  url->setText(QString::fromStdString(site.Url("/index.html")));
  window->findChild<QLineEdit*>(QStringLiteral("txtMask"))->setText(QStringLiteral("*.zip"));
  window->findChild<QLineEdit*>(QStringLiteral("txtDepth"))->setText(QStringLiteral("1"));
  AcceptNextMessageBox();
  Trigger("Toolbar1_go");
  ASSERT_EQ(messageTexts.size(), 1u);
  EXPECT_EQ(messageTexts[0], "3/5 個のリンクが見つかりました。");
  EXPECT_EQ(window->StatusLabel()->text().toStdString(), messageTexts[0]);
  ASSERT_TRUE(WaitFor([this] { return window->Model()->rowCount() == 5; }));
  const gui::LinkListModel& model = *window->Model();
  EXPECT_EQ(model.data(model.index(0, 1)).toString().toStdString(), site.Url("/a.zip"));
  EXPECT_EQ(model.data(model.index(0, 0), Qt::CheckStateRole).toInt(), Qt::Checked);
  EXPECT_EQ(model.data(model.index(2, 0), Qt::CheckStateRole).toInt(), Qt::Unchecked);
  EXPECT_EQ(model.data(model.index(4, 6)).toString().toStdString(), "1");
  EXPECT_FALSE(window->ProgressLabel()->isVisible());
}

TEST_F(SearchWindowTest, StopPressedDuringACrawlEndsIt) {
  // The second page is held at the server until the test ends; Stop is pressed while the
  // crawl waits for it.
  site.Page("/slow/index.html", Page({"a.zip", "held.html", "after.html"}));
  site.Handle("/slow/held.html", [this](const httplib::Request&, httplib::Response&) {
    site.WaitForStop(std::chrono::minutes(1));
  });
  OpenWindow();
  form.txtUrl.SetText(site.Url("/slow/index.html"));
  form.txtDepth.SetText("1");
  bool progressShown = false;
  QTimer stopper;
  stopper.setInterval(5);
  QObject::connect(&stopper, &QTimer::timeout, [&] {
    if (site.TimesRequested("/slow/held.html") == 0) return;
    stopper.stop();
    progressShown = window->ProgressLabel()->isVisible();
    Trigger("Toolbar1_stop");
  });
  stopper.start();
  AcceptNextMessageBox();
  Trigger("mnuGo_Start");
  ASSERT_EQ(messageTexts.size(), 1u);
  EXPECT_EQ(messageTexts[0], "キャンセルされました。");
  EXPECT_TRUE(progressShown);
  EXPECT_EQ(form.lvwUrls.Count(), 3u);  // the start page's rows only
}

TEST_F(SearchWindowTest, SeveralUrlsGoThroughTheDialogAndEndInTheLog) {
  OpenWindow();
  const std::string first = site.Url("/index.html");
  const std::string second = site.Url("/sub/index.html");
  OnModal(QStringLiteral("frmMultiURL"), [&](QWidget* dialog) {
    auto* text = dialog->findChild<QPlainTextEdit*>(QStringLiteral("Text1"));
    EXPECT_TRUE(text->toPlainText().isEmpty());
    EXPECT_EQ(dialog->windowTitle().toStdString(), "複数URLの巡回");
    // Which lines are searched, and the URL field after: IntegrationCrawlCommands.
    text->setPlainText(QString::fromStdString(first + "\n" + second));
    ClickButton(dialog, QStringLiteral("OK"));
  });
  std::string log;
  OnModal(QStringLiteral("frmLog"), [&](QWidget* dialog) {
    EXPECT_EQ(dialog->windowTitle().toStdString(), "ログ");
    log = dialog->findChild<QPlainTextEdit*>(QStringLiteral("txtLog"))->toPlainText().toStdString();
    dialog->close();
  });
  Trigger("Toolbar1_urls");
  // First start: depth 0 and the mask "*"; a.zip of the second page is listed already.
  EXPECT_EQ(log, first + "\n>4/4 個のリンクが見つかりました。\n" + second +
                     "\n>1/1 個のリンクが見つかりました。\n");

  // Cancel leaves everything as it was.
  const size_t rows = form.lvwUrls.Count();
  OnModal(QStringLiteral("frmMultiURL"),
          [](QWidget* dialog) { ClickButton(dialog, QStringLiteral("Cancel")); });
  Trigger("mnuGo_SomeBriefcases");
  EXPECT_EQ(form.lvwUrls.Count(), rows);
  EXPECT_EQ(modalsSeen.size(), 3u);
}

TEST_F(SearchWindowTest, SaveListFileThroughTheFileDialog) {
  OpenWindow();
  form.txtMask.SetText("*.zip");
  form.lvwUrls.AddLink("a.zip", "http://h/a.zip", "http://h/", "", "", "", 0);
  form.lvwUrls.AddLink("b.txt", "http://h/b.txt", "http://h/", "", "", "", 0);
  const std::string target = folder.File("list.txt");
  OnModal(QStringLiteral("CommonDialog1"), [&](QWidget* w) {
    auto* dialog = qobject_cast<QFileDialog*>(w);
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(dialog->acceptMode(), QFileDialog::AcceptSave);
    // Qt's own labels speak Japanese too, as the program's do.
    EXPECT_TRUE(ClickableCaptions(dialog).contains(QStringLiteral("キャンセル")))
        << ClickableCaptions(dialog).join(QLatin1Char(' ')).toStdString();
    dialog->selectFile(QString::fromStdString(target));
    QMetaObject::invokeMethod(dialog, "accept");
  });
  AcceptNextMessageBox();
  Trigger("Toolbar1_text");
  EXPECT_EQ(ReadBytes(target), "http://h/a.zip\r\n");
  ASSERT_EQ(messageTexts.size(), 1u);
}

// The stand-in outlives the form's connections (members end after TearDown).
class BriefcaseWindowTest : public SearchWindowTest {
 protected:
  BriefcaseStandIn service;
};

TEST_F(BriefcaseWindowTest, SignInDialogAnsweredDuringABriefcaseScan) {
  using Site = BriefcaseStandIn::Site;
  service.SetAccount("alice", "secret");
  StandInFolder top;
  top.files = {"open.zip"};
  StandInFolder secret;
  secret.files = {"hidden.zip"};
  secret.signInOnly = true;
  service.AddFolder(Site::International, "alice", "/", top);
  service.AddFolder(Site::International, "alice", "/Private", secret);
  OpenWindow();
  form.Inet1.SetConnectTo(service.ConnectTo());
  form.txtUrl.SetText(BriefcaseStandIn::TopUrl(Site::International, "alice"));
  form.txtMask.SetText("*");
  OnModal(QStringLiteral("frmSignIn"), [](QWidget* dialog) {
    EXPECT_EQ(dialog->windowTitle().toStdString(), "サインイン");
    dialog->findChild<QLineEdit*>(QStringLiteral("txtID"))->setText(QStringLiteral("alice"));
    dialog->findChild<QLineEdit*>(QStringLiteral("txtPassword"))->setText(QStringLiteral("secret"));
    ClickButton(dialog, QStringLiteral("OK"));
  });
  AcceptNextMessageBox();
  Trigger("Toolbar1_go");
  ASSERT_EQ(messageTexts.size(), 1u);
  EXPECT_EQ(messageTexts[0], "2/2 個のファイルを見つけました。");
  EXPECT_TRUE(form.m_blnSignedIn);
  cIni ini;
  ini.FileName(form.settingsFile);
  ini.Section("SignIn");
  EXPECT_EQ(ini.GetString("ID", ""), "alice");
}

}  // namespace
}  // namespace vendil::test
