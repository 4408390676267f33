// Click'n'Load against a loopback stand-in listener: how it is found, the form fields of
// each package, and what the user is told when it refuses or is not there.
#include <gtest/gtest.h>

#include "commands/handoff_commands.h"
#include "download/handoff_clicknload.h"
#include "handoff_fixture.h"
#include "support/http_test_server.h"

namespace vendil::test {
namespace {

class ClickNLoadTest : public HandoffTest {
 protected:
  ClickNLoadTest() {
    server.Page("/jdcheck.js", "jdownloader=true;\r\nvar version='x';\r\n", "text/javascript");
    server.Handle("/flash/add", [](const httplib::Request&, httplib::Response& res) {
      res.set_content("success\r\n", "text/plain");
    });
    addresses.clickNLoadUrl = server.Url("");
  }

  // The form fields of every POST to /flash/add, in arrival order.
  std::vector<httplib::Params> Posts() const {
    std::vector<httplib::Params> posts;
    for (const auto& r : server.Requests()) {
      if (r.path != "/flash/add") continue;
      EXPECT_EQ(r.method, "POST");
      EXPECT_EQ(r.Header("Content-Type"), "application/x-www-form-urlencoded");
      httplib::Params params;
      httplib::detail::parse_query_text(r.body, params);
      posts.push_back(params);
    }
    return posts;
  }
  static std::string Field(const httplib::Params& p, const std::string& name) {
    EXPECT_EQ(p.count(name), 1u) << name;
    auto it = p.find(name);
    return it == p.end() ? "" : it->second;
  }

  HttpTestServer server;
  ManagerAddresses addresses;
};

TEST_F(ClickNLoadTest, FoundOnlyWhereTheCheckAnswersAsAListener) {
  EXPECT_TRUE(FindClickNLoad(server.Url("")));
  EXPECT_TRUE(FindClickNLoad(server.Url("/")));  // a trailing slash in the setting
  server.Page("/jdcheck.js", "var other=1;", "text/javascript");
  EXPECT_FALSE(FindClickNLoad(server.Url("")));
  server.Handle("/jdcheck.js", [](const httplib::Request&, httplib::Response& res) {
    res.status = 404;
    res.set_content("jdownloader=true;", "text/plain");  // a 404 page that happens to say so
  });
  EXPECT_FALSE(FindClickNLoad(server.Url("")));
  EXPECT_FALSE(FindClickNLoad(RefusingPort().Url()));
}

TEST_F(ClickNLoadTest, OnePostPerPageWithEveryCheckedRowOnce) {
  AddRows();
  ASSERT_EQ(SendToRunningManager(form, kSave, RunningManager::ClickNLoad, addresses, nullptr),
            HandOffResult::Done);
  const auto posts = Posts();
  ASSERT_EQ(posts.size(), 2u);
  // Page one's package: rows 1 and 4, Japanese and blanks as they are in the list.
  EXPECT_EQ(Field(posts[0], "urls"), std::string(kJapanese) + "\r\nhttp://127.0.0.1:9/x%20y.zip");
  EXPECT_EQ(Field(posts[0], "source"), kPage);
  EXPECT_EQ(Field(posts[0], "package"), "page one");
  // The row without a referer: its own package, named after its host.
  EXPECT_EQ(Field(posts[1], "urls"), "http://127.0.0.1:9/b.zip");
  EXPECT_EQ(Field(posts[1], "source"), "");
  EXPECT_EQ(Field(posts[1], "package"), "127.0.0.1");
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_EQ(ui.messages[0].text, "3 個のURLを送りました。");
  EXPECT_EQ(ui.messages[0].style, vb::OKOnly | vb::Information);

  // A profile's name names every package.
  server.ClearRequests();
  addresses.packageName = "週刊 まとめ";
  SendToRunningManager(form, kSave, RunningManager::ClickNLoad, addresses, nullptr);
  for (const auto& p : Posts()) EXPECT_EQ(Field(p, "package"), "週刊 まとめ");
}

TEST_F(ClickNLoadTest, ALineBreakInAUrlNeverMakesASecondUrl) {
  Add(true, "http://127.0.0.1:9/a\r\nhttp://127.0.0.1:9/injected&urls=x;\"q\" -o", kPage);
  Add(true, "http://127.0.0.1:9/b\nc", kPage);
  SendToRunningManager(form, kSave, RunningManager::ClickNLoad, addresses, nullptr);
  const auto posts = Posts();
  ASSERT_EQ(posts.size(), 1u);
  EXPECT_EQ(Field(posts[0], "urls"),
            "http://127.0.0.1:9/a%0D%0Ahttp://127.0.0.1:9/injected&urls=x;\"q\" -o\r\n"
            "http://127.0.0.1:9/b%0Ac");
  // The field encodes a line break itself too, for rows that did not come through the list.
  EXPECT_EQ(ClickNLoadUrlsField({"http://127.0.0.1:9/a\r\nb", "c\nd"}),
            "http://127.0.0.1:9/a%0D%0Ab\r\nc%0Ad");
  EXPECT_EQ(ClickNLoadUrlsField({"", "a"}), "\r\na");  // one line per URL, even an empty one
}

TEST_F(ClickNLoadTest, ARefusedPackageIsCountedOut) {
  AddRows();
  server.Handle("/flash/add", [](const httplib::Request& req, httplib::Response& res) {
    const bool pageOne = req.body.find("source=&") == std::string::npos &&
                         req.body.find("source=http") != std::string::npos;
    res.status = pageOne ? 200 : 500;
    res.set_content(pageOne ? "success" : "failed", "text/plain");
  });
  EXPECT_EQ(SendToRunningManager(form, kSave, RunningManager::ClickNLoad, addresses, nullptr),
            HandOffResult::Failed);
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_EQ(ui.messages[0].text,
            "3 個のうち 2 個のURLを送りました。残りの 1 個はClick'n'Loadが受け付けませんでした。"
            "\r\nHTTP 500");
  EXPECT_EQ(ui.messages[0].style, vb::OKOnly | vb::Exclamation);
}

TEST_F(ClickNLoadTest, NobodyListeningSaysSoAndAnEmptyListSaysNoData) {
  EXPECT_EQ(SendToRunningManager(form, kSave, RunningManager::ClickNLoad, addresses, nullptr),
            HandOffResult::NoData);
  EXPECT_EQ(ui.messages.at(0).text, "データがありません。");
  AddRows();
  RefusingPort nobody;
  addresses.clickNLoadUrl = nobody.Url();
  EXPECT_EQ(SendToRunningManager(form, kSave, RunningManager::ClickNLoad, addresses, nullptr),
            HandOffResult::Failed);
  ASSERT_EQ(ui.messages.size(), 2u);
  EXPECT_EQ(ui.messages[1].text.rfind(
                "Click'n'Loadが起動していません。\r\n" + addresses.clickNLoadUrl, 0),
            0u)
      << ui.messages[1].text;
}

}  // namespace
}  // namespace vendil::test
