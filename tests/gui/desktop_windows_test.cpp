// The windows around the main one: the start page (owned by the main window, its place kept
// under "AdWindow", its links opened by the desktop, closed with the main window) and the
// Internet options dialog.
#include <QCheckBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QScreen>
#include <QSpinBox>
#include <QTest>
#include <QTextBrowser>
#include <filesystem>

#include "gui/internet_options_dialog.h"
#include "gui/start_page_window.h"
#include "gui/twips.h"
#include "gui/window_fixture.h"
#include "settings/c_ini.h"

namespace vendil::test {
namespace {

class DesktopWindowsTest : public WindowFixture {
 protected:
  void SetUp() override {
    WindowFixture::SetUp();
    std::filesystem::create_directories(folder.File("help"));
    WriteBytes(folder.File("help/start.html"),
               "<html><body><h1>Vendil</h1><p><a href=\"index.html\">guide</a> "
               "<a href=\"https://www.vendil.org/\">web</a></p></body></html>");
  }
};

TEST_F(DesktopWindowsTest, StartPageIsOwnedKeepsItsPlaceAndClosesWithTheMainWindow) {
  cIni ini;
  ini.FileName(form.settingsFile);
  ini.Section("AdWindow");
  ini.SetValue("Left", 1500);
  ini.SetValue("Top", 750);
  ini.SetValue("Width", 6000);
  ini.SetValue("Height", 4500);
  OpenWindow();
  auto* page = new gui::StartPageWindow(form, window.get());
  page->show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(page));
  EXPECT_EQ(page->parentWidget(), window.get());
  EXPECT_TRUE(page->isWindow());
  EXPECT_EQ(page->size(), QSize(400, 300));
  EXPECT_TRUE(page->Browser()->toPlainText().contains(QStringLiteral("guide")));

  emit page->Browser()->anchorClicked(page->Browser()->source().resolved(QUrl("index.html")));
  emit page->Browser()->anchorClicked(QUrl(QStringLiteral("https://www.vendil.org/")));
  ASSERT_EQ(opened.urls.size(), 2u);
  EXPECT_EQ(opened.urls[0],
            QUrl::fromLocalFile(QString::fromStdString(folder.File("help/index.html"))));
  EXPECT_EQ(opened.urls[1].host().toStdString(), "www.vendil.org");

  page->resize(420, 330);
  QTest::qWait(20);
  CloseWindow();  // the main window closes the start page with it
  ini.Section("AdWindow");
  EXPECT_EQ(ini.GetValue("Width", 0), 420 * 15);
  EXPECT_EQ(ini.GetValue("Height", 0), 330 * 15);
}

TEST_F(DesktopWindowsTest, StartPageWithoutStoredPlaceStandsBesideTheMainWindow) {
  cIni ini;
  ini.FileName(form.settingsFile);
  ini.Section("Window");
  ini.SetValue("Left", 0);
  ini.SetValue("Top", 0);
  ini.SetValue("Width", 300 * 15);
  ini.SetValue("Height", 320 * 15);
  OpenWindow();
  {
    gui::StartPageWindow page(form, window.get());
    EXPECT_EQ(page.pos().x(), gui::TwipsToPixels(form.layout.Left + form.layout.Width, &page));
    EXPECT_EQ(page.height(), gui::TwipsToPixels(form.layout.Height, &page));
  }
  CloseWindow();

  // A main window that leaves no room beside it: the start page stays on the screen.
  ini.FileName(form.settingsFile);
  ini.Section("Window");
  ini.SetValue("Width", 790 * 15);
  OpenWindow();
  gui::StartPageWindow page(form, window.get());
  EXPECT_TRUE(QGuiApplication::primaryScreen()->availableGeometry().contains(page.geometry()));
}

TEST_F(DesktopWindowsTest, InternetOptionsDialogEditsTheOptionsOnlyOnOk) {
  OpenWindow();
  const InternetOptions before = form.internetOptions;
  OnModal(QStringLiteral("frmInternetOptions"), [](QWidget* dialog) {
    EXPECT_EQ(dialog->windowTitle().toStdString(), "インターネットオプション");
    dialog->findChild<QRadioButton*>(QStringLiteral("optManualProxy"))->setChecked(true);
    dialog->findChild<QLineEdit*>(QStringLiteral("txtProxyHost"))
        ->setText(QStringLiteral("proxy.lan"));
    ClickButton(dialog, QStringLiteral("キャンセル"));
  });
  Trigger("mnuOption_InternetOptions");
  EXPECT_EQ(form.internetOptions, before);

  OnModal(QStringLiteral("frmInternetOptions"), [](QWidget* dialog) {
    auto* host = dialog->findChild<QLineEdit*>(QStringLiteral("txtProxyHost"));
    EXPECT_FALSE(host->isEnabled());
    dialog->findChild<QRadioButton*>(QStringLiteral("optManualProxy"))->setChecked(true);
    EXPECT_TRUE(host->isEnabled());
    host->setText(QStringLiteral(" proxy.lan "));
    dialog->findChild<QSpinBox*>(QStringLiteral("spnProxyPort"))->setValue(3128);
    dialog->findChild<QSpinBox*>(QStringLiteral("spnConnections"))->setValue(2);
    dialog->findChild<QSpinBox*>(QStringLiteral("spnTotalTimeout"))->setValue(30);
    ClickButton(dialog, QStringLiteral("OK"));
  });
  Trigger("mnuOption_InternetOptions");
  EXPECT_EQ(form.internetOptions.proxyMode, InternetOptions::ProxyMode::Manual);
  EXPECT_EQ(form.internetOptions.proxyHost, "proxy.lan");
  EXPECT_EQ(form.internetOptions.proxyPort, 3128);
  EXPECT_EQ(form.internetOptions.connections, 2);
  EXPECT_EQ(form.internetOptions.totalTimeoutSeconds, 30);
  EXPECT_EQ(form.internetOptions.retries, before.retries);

  // Kept in the settings file when the window closes, and read back when it opens.
  const InternetOptions chosen = form.internetOptions;
  CloseWindow();
  cIni ini;
  ini.FileName(form.settingsFile);
  ini.Section("Internet");
  EXPECT_EQ(ini.GetString("ProxyHost", ""), "proxy.lan");
  EXPECT_EQ(ini.GetValue("Connections", 0), 2);
  form.internetOptions = InternetOptions();
  OpenWindow();
  EXPECT_EQ(form.internetOptions, chosen);
}

}  // namespace
}  // namespace vendil::test
