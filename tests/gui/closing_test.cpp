// Closing the window while a search waits on a server that never answers: the settings are
// saved and the process ends at once instead of waiting for the request. The test runs
// itself as a child process, since that child must end.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QProcess>
#include <QTimer>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "commands/main_commands.h"
#include "gui/main_window.h"
#include "gui/qt_ui.h"
#include "settings/c_ini.h"
#include "support/http_test_server.h"
#include "support/temp_folder.h"

namespace vendil::test {
namespace {

constexpr char kUrlVariable[] = "VENDIL_CLOSING_CHILD_URL";
constexpr char kSettingsVariable[] = "VENDIL_CLOSING_CHILD_SETTINGS";
// A file the server makes once the page has been asked for: the child closes its window then.
constexpr char kAskedVariable[] = "VENDIL_CLOSING_CHILD_ASKED";

// The child: starts a search and closes the window while it waits.
[[noreturn]] void RunChild(const std::string& url, const std::string& settingsFile,
                           const std::string& askedFile) {
  gui::QtUi ui;
  Form1 form(ui);
  form.settingsFile = settingsFile;
  gui::MainWindow window(form, ui);
  LoadMainWindow(form);
  window.show();
  form.txtUrl.SetText(url);
  form.txtMask.SetText("*.child");
  QTimer closeOnceAsked;
  QObject::connect(&closeOnceAsked, &QTimer::timeout, &window, [&window, &askedFile] {
    if (std::filesystem::exists(askedFile)) window.close();
  });
  closeOnceAsked.start(10);
  window.RunCommand([&form] { StartSearch(form); });
  std::_Exit(3);  // the search came back: closing did not end the process
}

TEST(ClosingWindow, ClosingDuringASearchSavesAndEndsTheProcess) {
  if (const char* url = std::getenv(kUrlVariable)) {
    RunChild(url, std::getenv(kSettingsVariable), std::getenv(kAskedVariable));
  }

  TempFolder folder;
  const std::string asked = folder.File("asked");
  HttpTestServer server;
  server.Handle("/never.html", [&server, asked](const httplib::Request&, httplib::Response& res) {
    std::ofstream(asked) << "asked";
    server.WaitForStop(std::chrono::seconds(60));
    res.set_content("late", "text/html");
  });
  QProcess child;
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert(kUrlVariable, QString::fromStdString(server.Url("/never.html")));
  env.insert(kSettingsVariable, QString::fromStdString(folder.File("vendil.ini")));
  env.insert(kAskedVariable, QString::fromStdString(asked));
  env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
  child.setProcessEnvironment(env);
  child.start(QCoreApplication::applicationFilePath(),
              {QStringLiteral("--gtest_filter=ClosingWindow.*")});
  ASSERT_TRUE(child.waitForFinished(20000)) << "the closed window kept the process alive";
  EXPECT_EQ(child.exitStatus(), QProcess::NormalExit);
  EXPECT_EQ(child.exitCode(), 0) << child.readAllStandardError().toStdString();
  cIni ini;
  ini.FileName(folder.File("vendil.ini"));
  ini.Section("General");
  EXPECT_EQ(ini.GetString("Mask", ""), "*.child");
  EXPECT_EQ(server.TimesRequested("/never.html"), 1);
}

}  // namespace
}  // namespace vendil::test
