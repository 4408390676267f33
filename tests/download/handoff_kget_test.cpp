// KGet through dbus-send, against a stand-in service on a private session bus that records
// every addTransfer it receives.
#include <gtest/gtest.h>

#include "commands/handoff_commands.h"
#include "export/json_value.h"
#include "handoff_fixture.h"
#include "support/child_process.h"

namespace vendil::test {
namespace {

class KGetTest : public HandoffTest {
 protected:
  void SetUp() override {
    if (!KGetStandIn::Available()) GTEST_SKIP() << "the KGet stand-in needs the window build";
    ASSERT_TRUE(bus.Ready());
  }
  HandOffResult Send() {
    return SendToRunningManager(form, kSave, RunningManager::KGet, {}, &kget);
  }
  // The recorded calls as JSON arrays of texts (the flag as "true"/"false").
  static std::vector<std::vector<std::string>> Read(const KGetStandIn& standIn) {
    std::vector<std::vector<std::string>> calls;
    for (const auto& line : standIn.Calls()) {
      auto json = ParseJson(line);
      EXPECT_TRUE(json) << line;
      if (!json) continue;
      std::vector<std::string> call;
      for (const auto& item : json->items)
        call.push_back(item.kind == JsonValue::Kind::Bool ? (item.boolean ? "true" : "false")
                                                          : item.text);
      calls.push_back(call);
    }
    return calls;
  }

  PrivateSessionBus bus;
  DbusSendKGetBus kget;
};

TEST_F(KGetTest, NotRunningUntilTheServiceIsThere) {
  AddRows();
  EXPECT_FALSE(kget.IsRunning());
  EXPECT_EQ(Send(), HandOffResult::Failed);
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_EQ(ui.messages[0].text, "KGetが起動していません。\r\nD-Bus: org.kde.kget");
  KGetStandIn standIn(temp.File("kget.log"));
  ASSERT_TRUE(standIn.Ready());
  EXPECT_TRUE(kget.IsRunning());
  ManagerAddresses nowhere;
  nowhere.aria2.rpcUrl = RefusingPort().Url("/jsonrpc");
  nowhere.clickNLoadUrl = RefusingPort().Url();
  const auto found = FindRunningManagers(nowhere, &kget);
  ASSERT_FALSE(found.empty());
  EXPECT_EQ(found[0].manager, RunningManager::KGet);
}

TEST_F(KGetTest, OneAddTransferPerCheckedRowWithItsFolder) {
  KGetStandIn standIn(temp.File("kget.log"));
  ASSERT_TRUE(standIn.Ready());
  AddRows();
  ASSERT_EQ(Send(), HandOffResult::Done);
  using Call = std::vector<std::string>;
  EXPECT_EQ(Read(standIn),
            (std::vector<Call>{
                {"addTransfer", kJapanese, "/home/u/保存 先/音楽/ライブ/", "true"},
                {"addTransfer", "http://127.0.0.1:9/b.zip", "/srv/own/", "true"},
                {"addTransfer", "http://127.0.0.1:9/x%20y.zip", "/home/u/保存 先/", "true"}}));
  EXPECT_EQ(ui.messages.at(0).text, "3 個のURLを送りました。");
}

TEST_F(KGetTest, OddUrlsArriveWholeAndARefusedOneIsCountedOut) {
  KGetStandIn standIn(temp.File("kget.log"));
  ASSERT_TRUE(standIn.Ready());
  const std::vector<std::string> urls = {"-x", "--dest=org.evil", "string:boolean:false",
                                         "http://127.0.0.1:9/a b;\"c\"\nd,e",
                                         "http://127.0.0.1:9/refuse-me"};
  for (const auto& url : urls) Add(true, url, "");
  form.mnuOption_UseBriefcaseDirectory.SetChecked(false);
  EXPECT_EQ(SendToRunningManager(form, "", RunningManager::KGet, {}, &kget), HandOffResult::Failed);
  const auto calls = Read(standIn);
  ASSERT_EQ(calls.size(), 4u);
  for (size_t i = 0; i < 4; ++i) {
    EXPECT_EQ(calls[i],
              (std::vector<std::string>{"addTransfer", form.lvwUrls.Row(i + 1).Url, "", "true"}));
  }
  EXPECT_EQ(calls[2][1], "string:boolean:false");
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_EQ(ui.messages[0].text.rfind("5 個のうち 4 個のURLを送りました。", 0), 0u)
      << ui.messages[0].text;
}

}  // namespace
}  // namespace vendil::test
