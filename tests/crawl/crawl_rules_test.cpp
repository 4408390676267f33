// The crawl's small rules: the depth field as a number, the queue keys, and which links
// are followed.
#include <gtest/gtest.h>

#include "crawl/crawl_links.h"
#include "crawl/depth_value.h"
#include "crawl/link_queue.h"
#include "state/search_run.h"
#include "support/fake_ui.h"

namespace vendil {
namespace {

TEST(DepthValue, ReadsTheNumberAtTheStartOfTheText) {
  const std::vector<std::pair<std::string, int32_t>> cases = {{"", 0},
                                                              {"abc", 0},
                                                              {"3", 3},
                                                              {" 3 ", 3},
                                                              {"1 2", 12},
                                                              {"\t1\n2", 12},
                                                              {"2abc", 2},
                                                              {"1.5", 2},
                                                              {"2.5", 2},
                                                              {"0.5", 0},
                                                              {"3.5", 4},
                                                              {"-1", -1},
                                                              {"+4", 4},
                                                              {"1e1", 10},
                                                              {"1E+1x", 10},
                                                              {"2d1", 20},
                                                              {"1e", 1},
                                                              {".5", 0},
                                                              {"1.49", 1},
                                                              {"&H10", 16},
                                                              {"&h1F", 31},
                                                              {"&O17", 15},
                                                              {"&HFFFF", -1},
                                                              {"&Hz", 0},
                                                              {"&", 0},
                                                              {"1e400", 2147483647},
                                                              {"-1e400", -2147483647 - 1},
                                                              {"99999999999", 2147483647}};
  for (const auto& [text, expected] : cases) {
    EXPECT_EQ(DepthLimitFromText(text), expected) << "'" << text << "'";
  }
}

TEST(LinkQueue, KeysIgnoreCaseAndKeepTheOrder) {
  LinkQueue q;
  EXPECT_TRUE(q.Add({"http://h/A.html", "r", "n", "A.html", 0}));
  EXPECT_FALSE(q.Add({"HTTP://H/a.HTML", "r2", "n2", "a.HTML", 1}));
  EXPECT_TRUE(q.Add({"http://h/b.html", "r", "n", "b.html", 1}));
  ASSERT_EQ(q.Count(), 2u);
  EXPECT_EQ(q.Item(1).Url, "http://h/A.html");
  EXPECT_EQ(q.Item(1).Referer, "r");
  EXPECT_EQ(q.Item(2).Lebel, 1);
  EXPECT_TRUE(q.Contains("http://H/B.HTML"));
  EXPECT_FALSE(q.Contains("http://h/c.html"));
}

class FollowRule : public ::testing::Test {
 protected:
  bool Follow(const std::string& url, const std::string& base = "http://h/a/b/page.html") {
    return IsUrlToFollow(run, url, base);
  }
  test::FakeUi ui;
  Form1 form{ui};
  SearchRun run{form};
};

TEST_F(FollowRule, DirectoriesBelowTheBasePageOnly) {
  EXPECT_TRUE(Follow("http://h/a/b/other.html"));
  EXPECT_TRUE(Follow("http://h/a/b/c/x.html"));
  EXPECT_FALSE(Follow("http://h/a/other.html"));
  EXPECT_FALSE(Follow("http://h/a/B/x.html"));  // directories compare with case
  form.mnuOption_ParentDirectory.SetChecked(true);
  EXPECT_TRUE(Follow("http://h/a/other.html"));
  EXPECT_TRUE(Follow("http://h/"));
}

TEST_F(FollowRule, OtherHostsOnlyWithTheOptionAndThenAnyDirectory) {
  EXPECT_FALSE(Follow("http://other/a/b/x.html"));
  form.mnuOption_DifferentServer.SetChecked(true);
  EXPECT_TRUE(Follow("http://other/x.html"));
  EXPECT_FALSE(Follow("http://h/x.html"));  // same host: the directory rule still holds
}

TEST_F(FollowRule, HostsAndFoldersCompareAsABrowserReadsThem) {
  // One server however its name is written; the folder rule then applies.
  for (const std::string url :
       {"http://H/a/b/x.html", "http://h:80/a/b/x.html", "http://h/a/b/../b/x.html",
        "http://h/a/b/./c\\x.html", "http://h/a/b/%2e/x.html"})
    EXPECT_TRUE(Follow(url)) << url;
  for (const std::string url :
       {"http://H/a/x.html", "http://h/a/b/%2e%2e/x.html", "http://h/a/b/..\\x.html"})
    EXPECT_FALSE(Follow(url)) << url;
  EXPECT_TRUE(Follow("http://0x7f.1/d/x.html", "http://127.0.0.1/d/page.html"));
  EXPECT_TRUE(Follow("http://XN--WGV71A119E.jp/x", "http://日本語.jp/"));
  EXPECT_TRUE(Follow("http://h/写真/x.html", "http://h/%E5%86%99%E7%9C%9F/page.html"));
  EXPECT_TRUE(Follow("http://h/%E5%86%99%E7%9C%9F/x.html", "http://h/写真/page.html"));
  EXPECT_FALSE(Follow("http://127.0.0.2/d/x.html", "http://127.0.0.1/d/page.html"));
}

TEST_F(FollowRule, UrlFilterMustMatchTheWholeUrl) {
  form.txtGetUrls.SetText("*.html;*/keep/*");
  run.m_astrUrlFilters = {"*.html", "*/keep/*"};
  EXPECT_TRUE(Follow("http://h/a/b/x.HTML"));
  EXPECT_TRUE(Follow("http://h/a/b/keep/x.zip"));
  EXPECT_FALSE(Follow("http://h/a/b/x.zip"));
  EXPECT_FALSE(Follow("http://h/a/b/x.html?q=1"));
  form.txtGetUrls.SetText("");
  EXPECT_TRUE(Follow("http://h/a/b/x.zip"));  // an empty field filters nothing
}

}  // namespace
}  // namespace vendil
