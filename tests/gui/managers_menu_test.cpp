// The submenu of running managers in the real window: what it lists when it opens, and
// what each item hands over, against stand-ins that record it (an aria2 RPC stand-in and a
// Click'n'Load listener on loopback, KGet on a private session bus, a running uget-gtk).
#include <gtest/gtest.h>

#include <QMenu>

#include "export/json_value.h"
#include "gui/managers_menu.h"
#include "gui/window_fixture.h"
#include "settings/c_ini.h"
#include "support/child_process.h"
#include "support/http_test_server.h"

namespace vendil::test {
namespace {

class ManagersMenuTest : public WindowFixture {
 protected:
  void SetUp() override {
    WindowFixture::SetUp();
    aria2.Handle("/jsonrpc", [this](const httplib::Request& req, httplib::Response& res) {
      const auto call = ParseJson(req.body);
      std::string result = "{\"version\":\"1.36.0\"}";
      if (call && call->Find("method")->text == "system.multicall") {
        result = "[";
        for (size_t i = 0; i < call->Find("params")->items.at(0).items.size(); ++i)
          result += std::string(i ? "," : "") + "[\"gid" + std::to_string(i) + "\"]";
        result += "]";
        std::lock_guard<std::mutex> lock(mutex);
        multicalls.push_back(*call);
      }
      res.set_content("{\"id\":\"vendil\",\"jsonrpc\":\"2.0\",\"result\":" + result + "}",
                      "application/json");
    });
    cnl.Page("/jdcheck.js", "jdownloader=true;", "text/javascript");
    cnl.Page("/flash/add", "success", "text/plain");
  }

  void PointAt(const std::string& aria2Url, const std::string& cnlUrl) {
    cIni ini;
    ini.FileName(form.settingsFile);
    ini.Section("aria2");
    ini.SetString("RpcUrl", aria2Url);
    ini.Section("ClickNLoad");
    ini.SetString("Url", cnlUrl);
  }

  // Opens the submenu as a click on its parent item does, and gives its items' names.
  std::vector<std::string> OpenSubmenu() {
    auto* menu = window->findChild<gui::ManagersMenu*>(QStringLiteral("mnuFile_SendToManager"));
    EXPECT_NE(menu, nullptr);
    if (!menu) return {};
    menu->popup(window->mapToGlobal(QPoint(10, 10)));
    EXPECT_TRUE(WaitFor([menu] { return menu->isVisible(); }));
    std::vector<std::string> names;
    for (QAction* a : menu->actions())
      names.push_back(a->isSeparator() ? "-" : a->objectName().toStdString());
    menu->hide();
    return names;
  }

  void TriggerItem(const char* name) {
    auto* action = window->findChild<QAction*>(QString::fromLatin1(name));
    ASSERT_NE(action, nullptr) << name;
    AcceptNextMessageBox();
    action->trigger();
  }

  HttpTestServer aria2, cnl;
  std::mutex mutex;
  std::vector<JsonValue> multicalls;
};

TEST_F(ManagersMenuTest, ListsTheRunningManagersAndEachTakesTheCheckedRows) {
  ASSERT_TRUE(KGetStandIn::Available());
  PrivateSessionBus bus;
  ASSERT_TRUE(bus.Ready());
  KGetStandIn kget(folder.File("kget.log"));
  ASSERT_TRUE(kget.Ready());
  UGetStandIn uget(folder.Path());
  ChildProcess running({folder.File("uget-gtk"), "--stand-in-wait"}, true);
  ASSERT_EQ(running.ReadLine(), "waiting");
  PointAt(aria2.Url("/jsonrpc"), cnl.Url(""));
  OpenWindow();
  form.txtSaveFolder.SetText("/dl/保存");
  const std::string page = "http://127.0.0.1:9/ページ.html";
  form.lvwUrls.AddLink("", "http://127.0.0.1:9/日本 語.zip", page, "", "", "", 1);
  form.lvwUrls.AddLink("", "http://127.0.0.1:9/skip.zip", page, "", "", "", 1);
  form.lvwUrls.AddLink("", "http://127.0.0.1:9/b.zip", page, "", "", "", 1);
  form.lvwUrls.SetChecked(1, true);
  form.lvwUrls.SetChecked(2, false);
  form.lvwUrls.SetChecked(3, true);

  EXPECT_EQ(OpenSubmenu(), (std::vector<std::string>{
                               "mnuFile_SendToManager_aria2", "mnuFile_SendToManager_clicknload",
                               "mnuFile_SendToManager_kget", "mnuFile_SendToManager_uget", "-",
                               "mnuFile_SendToManager_help"}));

  TriggerItem("mnuFile_SendToManager_aria2");
  TriggerItem("mnuFile_SendToManager_clicknload");
  TriggerItem("mnuFile_SendToManager_kget");
  TriggerItem("mnuFile_SendToManager_uget");
  EXPECT_EQ(messageTexts, std::vector<std::string>(4, "2 個のURLを送りました。"));

  // Each got the two checked rows; what a manager is sent of a row is for the hand-off
  // tests (download/handoff_*_test, export/aria2_rpc_test); uget shows the folder and page.
  {
    std::lock_guard<std::mutex> lock(mutex);
    ASSERT_EQ(multicalls.size(), 1u);
    EXPECT_EQ(multicalls[0].Find("params")->items.at(0).items.size(), 2u);
  }
  int posts = 0;
  for (const auto& r : cnl.Requests()) posts += r.path == "/flash/add";
  EXPECT_EQ(posts, 1);
  EXPECT_EQ(kget.Calls().size(), 2u);
  using Args = std::vector<std::string>;
  EXPECT_EQ(uget.Calls(),
            (std::vector<Args>{{"--quiet", "--folder=/dl/保存", "--http-referer=" + page, "--",
                                "http://127.0.0.1:9/日本 語.zip"},
                               {"--quiet", "--folder=/dl/保存", "--http-referer=" + page, "--",
                                "http://127.0.0.1:9/b.zip"}}));
  running.CloseStdin();
}

TEST_F(ManagersMenuTest, AManagerThatStoppedIsNoLongerListedAndTheGuideIsAtHand) {
  PrivateSessionBus bus;  // a session bus without KGet
  ASSERT_TRUE(bus.Ready());
  PointAt(aria2.Url("/jsonrpc"), cnl.Url(""));
  OpenWindow();
  auto names = OpenSubmenu();
  ASSERT_GE(names.size(), 2u);
  EXPECT_EQ(names[0], "mnuFile_SendToManager_aria2");
  EXPECT_EQ(names[1], "mnuFile_SendToManager_clicknload");
  // Both stop answering as listeners: the next opening no longer shows them.
  cnl.Page("/jdcheck.js", "", "text/javascript");
  aria2.Handle("/jsonrpc", [](const httplib::Request&, httplib::Response& res) {
    res.status = 404;
    res.set_content("<html>not found</html>", "text/html");
  });
  names = OpenSubmenu();
  for (const char* gone : {"mnuFile_SendToManager_aria2", "mnuFile_SendToManager_clicknload",
                           "mnuFile_SendToManager_kget"})
    EXPECT_EQ(std::count(names.begin(), names.end(), gone), 0) << gone;
  EXPECT_EQ(names.back(), "mnuFile_SendToManager_help");
  window->findChild<QAction*>(QStringLiteral("mnuFile_SendToManager_help"))->trigger();
  ASSERT_EQ(opened.urls.size(), 1u);
  EXPECT_TRUE(opened.urls[0].toLocalFile().endsWith(QStringLiteral("/help/managers.html")))
      << opened.urls[0].toString().toStdString();
}

}  // namespace
}  // namespace vendil::test
