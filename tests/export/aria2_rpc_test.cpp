// The aria2 request body, the JSON reader it relies on, and a refused connection.
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include "commands/send_aria2.h"
#include "export/json_value.h"
#include "export_fixture.h"
#include "settings/c_ini.h"

namespace vendil::test {
namespace {

using Aria2Test = ExportTest;

TEST_F(Aria2Test, MulticallCarriesTokenUrlFolderAndReferer) {
  Add(true, "a", "http://example.com/a\"b", "http://example.com/", "", "sub\\", "");
  Add(false, "b", "http://example.com/b", "", "", "", "");
  Add(true, "c", "http://example.com/c", "", "", "", "");
  const std::string body = Aria2MulticallRequest(form.lvwUrls, "C:\\dl", true, "s3cret");
  const auto json = ParseJson(body);
  ASSERT_TRUE(json);
  EXPECT_EQ(json->Find("method")->text, "system.multicall");
  const auto& calls = json->Find("params")->items.at(0).items;
  ASSERT_EQ(calls.size(), 2u);
  const auto& first = calls[0].Find("params")->items;
  EXPECT_EQ(calls[0].Find("methodName")->text, "aria2.addUri");
  EXPECT_EQ(first.at(0).text, "token:s3cret");
  EXPECT_EQ(first.at(1).items.at(0).text, "http://example.com/a\"b");
  EXPECT_EQ(first.at(2).Find("dir")->text, "C:/dl/sub/");
  EXPECT_EQ(first.at(2).Find("referer")->text, "http://example.com/");
  EXPECT_EQ(first.at(2).Find("out")->text, "a\"b");
  // No secret: no token; empty folder and referer: only the name.
  const std::string plain = Aria2MulticallRequest(form.lvwUrls, "", false, "");
  const auto plainJson = ParseJson(plain);
  ASSERT_TRUE(plainJson);
  const auto& call = plainJson->Find("params")->items.at(0).items.at(1);
  ASSERT_EQ(call.Find("params")->items.size(), 2u);
  EXPECT_EQ(call.Find("params")->items[1].names, std::vector<std::string>{"out"});
  // A URL that names no file: no options at all.
  form.lvwUrls.Clear();
  Add(true, "", "http://example.com/dir/", "", "", "", "");
  const auto bare = ParseJson(Aria2MulticallRequest(form.lvwUrls, "", false, ""));
  ASSERT_TRUE(bare);
  EXPECT_TRUE(
      bare->Find("params")->items.at(0).items.at(0).Find("params")->items[1].members.empty());
}

TEST(Aria2SaveName, DecodedWhenThatIsTextNamingOneFile) {
  EXPECT_EQ(SaveNameFromUrl("http://h/d/my%20file.bin"), "my file.bin");
  EXPECT_EQ(SaveNameFromUrl("http://h/d/%E6%97%A5%E6%9C%AC.zip?x=1#frag"), "日本.zip");
  EXPECT_EQ(SaveNameFromUrl("http://h/d/日本 語.zip"), "日本 語.zip");
  EXPECT_EQ(SaveNameFromUrl("http://h/a.zip?u=/b.zip"), "a.zip");
  // Not text once decoded (a lone Shift_JIS byte, an overlong "/", a surrogate): as it stands.
  EXPECT_EQ(SaveNameFromUrl("http://h/%82%A0.txt"), "%82%A0.txt");
  EXPECT_EQ(SaveNameFromUrl("http://h/%C0%AF.txt"), "%C0%AF.txt");
  EXPECT_EQ(SaveNameFromUrl("http://h/%ED%A0%80.txt"), "%ED%A0%80.txt");
  // A decoded name must not reach another folder or hold a control character.
  EXPECT_EQ(SaveNameFromUrl("http://h/..%2F..%2Fetc%2Fpasswd"), "..%2F..%2Fetc%2Fpasswd");
  EXPECT_EQ(SaveNameFromUrl("http://h/a%0Ab.txt"), "a%0Ab.txt");
  EXPECT_EQ(SaveNameFromUrl("http://h/%2E%2E"), "%2E%2E");
  // Malformed escapes stay; no file name, none.
  EXPECT_EQ(SaveNameFromUrl("http://h/100%.txt"), "100%.txt");
  EXPECT_EQ(SaveNameFromUrl("http://h/a%4"), "a%4");
  EXPECT_EQ(SaveNameFromUrl("http://h/dir/"), "");
  EXPECT_EQ(SaveNameFromUrl("http://h"), "");
  EXPECT_EQ(SaveNameFromUrl("http://h/.."), "");
}

TEST_F(Aria2Test, RefusedConnectionNamesTheAddress) {
  // A port that was just free: nothing listens there.
  int fd = ::socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in addr{};
  addr.sin_family = AF_INET;
  addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  ASSERT_EQ(::bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr), 0);
  socklen_t len = sizeof addr;
  ::getsockname(fd, reinterpret_cast<sockaddr*>(&addr), &len);
  ::close(fd);
  const std::string url = "http://127.0.0.1:" + std::to_string(ntohs(addr.sin_port)) + "/jsonrpc";
  cIni ini;
  ini.FileName(form.settingsFile);
  ini.Section("aria2");
  ini.SetString("RpcUrl", url);
  Add(true, "a", "http://example.com/a", "", "", "", "");
  SendToAria2(form, "");
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_EQ(ui.messages[0].text.rfind("aria2に接続できません。\r\n" + url + "\r\n", 0), 0u);
  EXPECT_EQ(ui.messages[0].style, vb::OKOnly | vb::Exclamation);
}

TEST(Aria2Json, ReadsWhatAria2SendsAndRefusesTheRest) {
  const auto v =
      ParseJson(R"( {"id":"x","result":[["2089b05ecca3d829"],{"code":1,"message":"Unauthorized"}],)"
                R"("s":"\u65e5\ud83d\ude00\n\"","n":-1.5e2,"t":true,"z":null} )");
  ASSERT_TRUE(v);
  EXPECT_EQ(v->Find("result")->items[0].items[0].text, "2089b05ecca3d829");
  EXPECT_EQ(v->Find("result")->items[1].Find("message")->text, "Unauthorized");
  EXPECT_EQ(v->Find("s")->text, "日😀\n\"");
  EXPECT_EQ(v->Find("n")->number, -150);
  EXPECT_TRUE(v->Find("t")->boolean);
  EXPECT_EQ(v->Find("z")->kind, JsonValue::Kind::Null);
  EXPECT_EQ(v->Find("missing"), nullptr);
  for (const char* bad : {"", "{", "[1,]", "{\"a\" 1}", "\"\\x\"", "01x", "[1] 2", "\"a\nb\"",
                          "tru", "-", "1.", "{\"a\":}"}) {
    EXPECT_FALSE(ParseJson(bad)) << bad;
  }
  EXPECT_FALSE(ParseJson(std::string(100000, '[')));  // deep nesting ends, no stack overflow
  EXPECT_EQ(JsonQuote("a\"\\\x01\xFFz日"), "\"a\\\"\\\\\\u0001\xEF\xBF\xBDz日\"");
  EXPECT_EQ(ParseJson(JsonQuote("x\r\n\t"))->text, "x\r\n\t");
}

}  // namespace
}  // namespace vendil::test
