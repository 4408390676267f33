// Downloading from the window (offscreen) with the real aria2c: the state column, the
// status bar total, Stop and a resumed second download, and closing mid-download.
#include <QCoreApplication>
#include <QLabel>
#include <QProcess>
#include <QTimer>
#include <filesystem>

#include "commands/main_commands.h"
#include "gui/link_list_model.h"
#include "support/background_process.h"
#include "support/download_site.h"
#include "window_fixture.h"

namespace vendil::test {
namespace {

constexpr char kSiteVariable[] = "VENDIL_DOWNLOAD_CHILD_SITE";
constexpr char kSaveVariable[] = "VENDIL_DOWNLOAD_CHILD_SAVE";

class DownloadWindowTest : public WindowFixture {
 protected:
  void SetUp() override {
    WindowFixture::SetUp();
    if (FindAria2c().empty()) GTEST_SKIP() << "aria2c is not installed";
    OpenWindow();
    save = folder.File("save");
    form.txtSaveFolder.SetText(save);
  }

  void AddRow(const std::string& path, const std::string& folderName = "") {
    const std::string url = site.server().Url("/files/" + path);
    form.lvwUrls.AddLink(std::filesystem::path(path).filename().string(), url, site.IndexUrl(),
                         path, folderName, "", 1);
  }
  size_t Position(const std::string& name) const {
    for (size_t i = 1; i <= form.lvwUrls.Count(); ++i) {
      if (form.lvwUrls.Row(i).FileName == name) return i;
    }
    return 0;
  }
  std::string StateOf(const std::string& name) const {
    gui::LinkListModel* model = window->Model();
    const QModelIndex cell =
        model->index(static_cast<int>(Position(name)) - 1, gui::LinkListModel::kDownloadColumn);
    return model->data(cell).toString().toStdString();
  }

  DownloadSite site;
  std::string save;
};

TEST_F(DownloadWindowTest, DownloadsTheCheckedRowsIntoTheirFoldersAndShowsEachState) {
  site.ReleaseSlow();
  form.mnuOption_UseBriefcaseDirectory.SetChecked(true);
  for (const auto& [path, bytes] : site.Files()) {
    const auto slash = path.find('/');
    AddRow(path, slash == std::string::npos ? "" : path.substr(0, slash + 1));
  }
  AddRow(DownloadSite::kMissingName);
  AddRow("f01.bin");  // listed once only: AddLink drops the second
  form.lvwUrls.AddLink("skip.bin", site.server().Url("/files/f02.bin?unchecked"), "", "", "", "",
                       1);
  form.lvwUrls.SetChecked(form.lvwUrls.Count(), false);
  window->Model()->FlushInsertedRows();

  Trigger(QStringLiteral("Toolbar1_download"));

  EXPECT_EQ(window->Model()->columnCount(), gui::LinkListModel::kColumnCount + 1);
  for (const auto& [path, bytes] : site.Files()) {
    EXPECT_TRUE(ReadBytes(save + "/" + path) == bytes) << path;
    EXPECT_EQ(StateOf(std::filesystem::path(path).filename().string()), "完了") << path;
  }
  EXPECT_EQ(StateOf(DownloadSite::kMissingName), "エラー: ファイルが見つかりません (404)");
  EXPECT_EQ(StateOf("skip.bin"), "");
  EXPECT_EQ(site.server().TimesRequested("/files/f02.bin"), 1);  // not the unchecked row
  const std::string status = window->StatusLabel()->text().toStdString();
  EXPECT_NE(status.find("ダウンロード終了 " + std::to_string(site.Files().size()) + "/" +
                        std::to_string(site.Files().size() + 1) + " ファイル完了・エラー 1 件"),
            std::string::npos)
      << status;
  EXPECT_TRUE(Aria2cOf(getpid()).empty());
}

TEST_F(DownloadWindowTest, StopKeepsThePartialFileAndTheNextDownloadResumesIt) {
  AddRow(DownloadSite::kSlowName);
  AddRow("f01.bin");
  window->Model()->FlushInsertedRows();
  QTimer stopper;
  stopper.setInterval(10);
  QObject::connect(&stopper, &QTimer::timeout, [this, &stopper] {
    if (site.WaitUntilSlowHeld(std::chrono::milliseconds(0)) && StateOf("f01.bin") == "完了" &&
        StateOf(DownloadSite::kSlowName).rfind("進行", 0) == 0) {
      stopper.stop();
      Trigger(QStringLiteral("mnuGo_Stop"));
    }
  });
  stopper.start();
  Trigger(QStringLiteral("mnuFile_Download"));
  EXPECT_EQ(StateOf(DownloadSite::kSlowName), "中止");
  EXPECT_EQ(StateOf("f01.bin"), "完了");
  EXPECT_TRUE(Aria2cOf(getpid()).empty());
  EXPECT_TRUE(std::filesystem::exists(save + "/slow.bin.aria2"));
  EXPECT_LT(std::filesystem::file_size(save + "/slow.bin"), site.SlowBytes().size());

  // That the second job asks for the rest only:
  // CliDownload.CtrlCStopsAria2cKeepsThePartialFileAndTheNextRunResumesIt.
  site.ReleaseSlow();
  Trigger(QStringLiteral("mnuFile_Download"));
  EXPECT_EQ(StateOf(DownloadSite::kSlowName), "完了");
  EXPECT_TRUE(ReadBytes(save + "/slow.bin") == site.SlowBytes());
}

TEST_F(DownloadWindowTest, WithoutAria2cOneMessageNamesThePackage) {
  AddRow("f01.bin");
  window->Model()->FlushInsertedRows();
  const std::string path = std::getenv("PATH") ? std::getenv("PATH") : "";
  setenv("PATH", folder.File("none").c_str(), 1);
  AcceptNextMessageBox();
  Trigger(QStringLiteral("mnuFile_Download"));
  setenv("PATH", path.c_str(), 1);
  ASSERT_EQ(messageTexts.size(), 1u);
  EXPECT_NE(messageTexts[0].find("パッケージ aria2"), std::string::npos);
  EXPECT_EQ(site.server().TimesRequested("/files/f01.bin"), 0);
}

// The child: downloads the held slow file and closes the window while it runs.
[[noreturn]] void RunClosingChild(const std::string& url, const std::string& saveFolder) {
  gui::QtUi ui;
  Form1 form(ui);
  form.settingsFile = saveFolder + "/../vendil.ini";
  gui::MainWindow window(form, ui);
  LoadMainWindow(form);
  window.show();
  form.txtSaveFolder.SetText(saveFolder);
  form.lvwUrls.AddLink("slow.bin", url, "", "", "", "", 1);
  window.Model()->FlushInsertedRows();
  QTimer closer;
  closer.setInterval(10);
  QObject::connect(&closer, &QTimer::timeout, [&] {
    const QModelIndex cell = window.Model()->index(0, gui::LinkListModel::kDownloadColumn);
    if (window.Model()->data(cell).toString().startsWith(QString::fromUtf8("進行"))) {
      closer.stop();
      window.close();
    }
  });
  closer.start();
  window.Action(QStringLiteral("mnuFile_Download"))->trigger();
  std::_Exit(3);  // the download came back: closing did not end the process
}

TEST(DownloadClosing, ClosingMidDownloadLeavesNoAria2cRunning) {
  if (const char* url = std::getenv(kSiteVariable))
    RunClosingChild(url, std::getenv(kSaveVariable));
  if (FindAria2c().empty()) GTEST_SKIP() << "aria2c is not installed";
  DownloadSite site;
  TempFolder folder;
  QProcess child;
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert(kSiteVariable, QString::fromStdString(site.server().Url("/files/slow.bin")));
  env.insert(kSaveVariable, QString::fromStdString(folder.File("save")));
  env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
  child.setProcessEnvironment(env);
  child.start(QCoreApplication::applicationFilePath(),
              {QStringLiteral("--gtest_filter=DownloadClosing.*")});
  ASSERT_TRUE(child.waitForStarted(20000));
  const auto childPid = static_cast<pid_t>(child.processId());
  ASSERT_TRUE(child.waitForFinished(60000)) << "the closed window kept the process alive";
  EXPECT_EQ(child.exitCode(), 0) << child.readAllStandardError().toStdString();
  EXPECT_TRUE(site.WaitUntilSlowHeld(std::chrono::milliseconds(0)));
  EXPECT_TRUE(Aria2cOf(childPid).empty()) << "aria2c outlived the window";
  // The partial file stays for the next download; nothing else beside it.
  EXPECT_TRUE(std::filesystem::exists(folder.File("save/slow.bin")));
  EXPECT_TRUE(std::filesystem::exists(folder.File("save/slow.bin.aria2")));
}

}  // namespace
}  // namespace vendil::test
