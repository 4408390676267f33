// The hand-off to the managers through the recording servers: what each one receives, the
// Irvine trash switch, missing servers and failing calls.
#include <gtest/gtest.h>

#include <filesystem>

#include "commands/send_commands.h"
#include "export_fixture.h"
#include "platform/codec.h"
#include "settings/c_ini.h"

namespace vendil::test {
namespace {

class ManagerSendTest : public ExportTest {
 protected:
  void EnableRecording(const std::string& irvineQueue = "") {
    cIni ini;
    ini.FileName(form.settingsFile);
    ini.Section("Automation");
    ini.SetString("RecordFile", "calls.log");  // relative to the settings file's folder
    if (!irvineQueue.empty()) ini.SetString("IrvineQueueFolder", irvineQueue);
  }
  std::string Record() { return AnsiToUtf8(Read(Path("calls.log"))); }
  void AddTwoOfThree() {
    form.txtUrl.SetText("http://example.com/start.html");
    Add(true, "a.zip", "http://example.com/a.zip", "http://example.com/", "Aの書庫", "sub\\", "");
    Add(false, "b.zip", "http://example.com/b.zip", "http://example.com/", "B", "", "");
    Add(true, "c.zip", "http://example.com/c.zip", "", "C \"q\"", "", "D:\\x");
  }
};

TEST_F(ManagerSendTest, IriaAndIrvineReceiveTheListText) {
  EnableRecording();
  AddTwoOfThree();
  form.mnuOption_UseBriefcaseDirectory.SetChecked(true);
  SendToIria(form, "C:\\dl");
  SendToIrvine(form, "C:\\dl");
  const std::string list =
      "Url=http://example.com/a.zip\\r\\nComment=Aの書庫\\r\\nFolder=C:\\\\dl\\\\sub\\\\\\r\\n"
      "ID=1\\r\\nHttpRefererType=4\\r\\nHttpRefererStr=http://example.com/\\r\\n\\r\\n"
      "Url=http://example.com/c.zip\\r\\nComment=C \\\"q\\\"\\r\\nFolder=D:\\\\x\\\\\\r\\n"
      "ID=1\\r\\nHttpRefererType=4\\r\\nHttpRefererStr=\\r\\n\\r\\n";
  EXPECT_EQ(Record(),
            "Iria.IriaOLE#1 Create\r\n"
            "Iria.IriaOLE#1 Call AddIRI(\"" +
                list +
                "\")\r\n"
                "Irvine.Api#1 Create\r\n"
                "Irvine.Api#1 Get CurrentQueueFolder -> \"/Default\"\r\n"
                "Irvine.Api#1 Call AddIRI(\"" +
                list + "\")\r\n");
  EXPECT_TRUE(ui.messages.empty());
}

TEST_F(ManagerSendTest, IrvineLeavesTheTrashQueueInAnyLetterCase) {
  EnableRecording("/TRASH");
  Add(false, "a", "http://example.com/a", "", "", "", "");
  EXPECT_EQ(SendToIrvine(form, "C:\\dl", AutomationFactoryFromSettings(form.settingsFile)),
            HandOffResult::Done);
  EXPECT_EQ(Record(),
            "Irvine.Api#1 Create\r\n"
            "Irvine.Api#1 Get CurrentQueueFolder -> \"/TRASH\"\r\n"
            "Irvine.Api#1 Let CurrentQueueFolder = \"/Default\"\r\n"
            "Irvine.Api#1 Call AddIRI(\"\")\r\n");
  std::filesystem::remove(Path("calls.log"));
  EnableRecording("/Trash/old");
  SendToIrvine(form, "C:\\dl");
  EXPECT_EQ(Record().find("Let"), std::string::npos);
}

TEST_F(ManagerSendTest, FlashGetReceivesTheStartUrlThenUrlAndTitlePairs) {
  EnableRecording();
  AddTwoOfThree();
  SendToFlashGet(form, "C:\\dl");
  EXPECT_EQ(Record(),
            "JetCar.Netscape#1 Create\r\n"
            "JetCar.Netscape#1 Call AddUrlList([\"http://example.com/start.html\", "
            "\"http://example.com/a.zip\", \"Aの書庫\", \"http://example.com/c.zip\", "
            "\"C \\\"q\\\"\"])\r\n");
  std::filesystem::remove(Path("calls.log"));
  form.lvwUrls.SetChecked(1, false);
  form.lvwUrls.SetChecked(3, false);
  SendToFlashGet(form, "C:\\dl");
  EXPECT_NE(Record().find("AddUrlList([\"http://example.com/start.html\"])"), std::string::npos);
}

TEST_F(ManagerSendTest, RegetGetsOneDownloadObjectPerRowThenTheClosingUrlList) {
  EnableRecording();
  AddTwoOfThree();
  SendToReget(form, "C:\\dl");
  const std::string list = "ClickCatcher.DownloadAllFromContextMenu#1";
  const std::string d2 = "ClickCatcher.DownloadFromContextMenu#2";
  const std::string d3 = "ClickCatcher.DownloadFromContextMenu#3";
  EXPECT_EQ(Record(), list + " Create\r\n" +                                    //
                          d2 + " Create\r\n" +                                  //
                          d2 + " Let Url = \"http://example.com/a.zip\"\r\n" +  //
                          d2 + " Let Info = \"Aの書庫\"\r\n" +                  //
                          d2 + " Let Referer = \"http://example.com/\"\r\n" +   //
                          list + " Call AddDownloadToList(" + d2 + ")\r\n" +    //
                          d3 + " Create\r\n" +                                  //
                          d3 + " Let Url = \"http://example.com/c.zip\"\r\n" +  //
                          d3 + " Let Info = \"C \\\"q\\\"\"\r\n" +              //
                          d3 + " Let Referer = \"\"\r\n" +                      //
                          list + " Call AddDownloadToList(" + d3 + ")\r\n" +    //
                          list + " Call UrlList()\r\n");
  std::filesystem::remove(Path("calls.log"));
  form.lvwUrls.SetChecked(1, false);
  form.lvwUrls.SetChecked(3, false);
  SendToReget(form, "C:\\dl");
  EXPECT_EQ(Record(), list + " Create\r\n" + list + " Call UrlList()\r\n");
}

TEST_F(ManagerSendTest, MissingServersGiveTheManagersMessages) {
  Add(true, "a", "http://example.com/a", "", "", "", "");  // no record file: no servers
  SendToIria(form, "");
  SendToIrvine(form, "");
  SendToFlashGet(form, "");
  SendToReget(form, "");
  ASSERT_EQ(ui.messages.size(), 4u);
  EXPECT_EQ(ui.messages[0].text, "Iriaが正常にインストールされていません。");
  EXPECT_EQ(ui.messages[1].text, "Irvineが正常にインストールされていません。");
  EXPECT_EQ(ui.messages[2].text, "FlashGetが正常にインストールされていません。");
  EXPECT_EQ(ui.messages[3].text, "ReGet(ClickCatcher)が正常にインストールされていません。");
  for (const auto& m : ui.messages) {
    EXPECT_EQ(m.title, "Vendil");
    EXPECT_EQ(m.style, vb::OKOnly | vb::Exclamation);
  }
}

TEST_F(ManagerSendTest, EmptyListCreatesNothing) {
  EnableRecording();
  SendToIria(form, "");
  SendToReget(form, "");
  EXPECT_FALSE(std::filesystem::exists(Path("calls.log")));
  ASSERT_EQ(ui.messages.size(), 2u);
  EXPECT_EQ(ui.messages[1].text, "データがありません。");
}

TEST_F(ManagerSendTest, AFailingCallIsReportedAndStopsTheOperation) {
  AddTwoOfThree();
  // A server whose list object refuses every download object: only one attempt is made.
  AutomationFactory factory;
  RegisterRecordingServers(factory, Path("calls.log"));
  int created = 0;
  AutomationFactory failing;
  failing.Register(kProgIdRegetList, [&] { return factory.Create(kProgIdRegetList, nullptr); });
  failing.Register(kProgIdRegetDownload, [&]() -> std::shared_ptr<AutomationObject> {
    ++created;
    throw AutomationError("server busy");
  });
  EXPECT_EQ(SendToReget(form, "", failing), HandOffResult::Failed);
  EXPECT_EQ(created, 1);
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_EQ(ui.messages[0].text, "ReGetへの送信に失敗しました。\r\nserver busy");
  EXPECT_EQ(Record().find("UrlList"), std::string::npos);
  // A record file that cannot be written fails the call, not the creation.
  AutomationFactory broken;
  RegisterRecordingServers(broken, Path("missing/calls.log"));
  EXPECT_EQ(SendToIria(form, "", broken), HandOffResult::Failed);
  ASSERT_EQ(ui.messages.size(), 2u);
  EXPECT_EQ(ui.messages[1].text.rfind("Iriaへの送信に失敗しました。\r\n", 0), 0u);
}

TEST(AutomationServers, FactoryAndRecordingServersBehaveLikeLateBoundServers) {
  AutomationFactory factory;
  std::string error;
  EXPECT_EQ(factory.Create("Iria.IriaOLE", &error), nullptr);
  EXPECT_FALSE(error.empty());
  const auto file = std::filesystem::temp_directory_path() / "vendil-automation-test.log";
  std::filesystem::remove(file);
  RegisterRecordingServers(factory, file.string());
  auto iria = factory.Create("iria.iriaole", &error);  // ProgIDs ignore letter case
  ASSERT_NE(iria, nullptr);
  EXPECT_NO_THROW(iria->Call("addiri", {AutomationValue("x")}));  // so do member names
  EXPECT_THROW(iria->Call("AddUrl", {AutomationValue("x")}), AutomationError);
  EXPECT_THROW(iria->Call("AddIRI", {}), AutomationError);
  EXPECT_THROW(iria->Call("AddIRI", {AutomationValue(int64_t{1})}), AutomationError);
  EXPECT_THROW(iria->Get("AddIRI"), AutomationError);
  auto jetcar = factory.Create(kProgIdFlashGet, &error);
  EXPECT_THROW(jetcar->Call("AddUrlList", {AutomationValue("not an array")}), AutomationError);
  std::filesystem::remove(file);

  AutomationValue::Array nested{AutomationValue("a\tb\x01"), AutomationValue(int64_t{-3}),
                                AutomationValue(AutomationValue::Array{}),
                                AutomationValue("한글😀日本")};
  EXPECT_EQ(FormatAutomationValue(AutomationValue(nested)),
            "[\"a\\tb\\x01\", -3, [], \"\\u{D55C}\\u{AE00}\\u{1F600}日本\"]");
  EXPECT_EQ(FormatAutomationValue(AutomationValue()), "Empty");
}

}  // namespace
}  // namespace vendil::test
