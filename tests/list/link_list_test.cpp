// The link list: adding with the duplicate test and the mask, lookup by URL after rows
// move, bulk removal, the edit commands, the shared sort order and observer notices.
#include "list/link_list.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

namespace vendil {
namespace {

struct RecordingObserver : LinkListObserver {
  std::vector<std::string> events;
  void RowsInserted(size_t first, size_t count) override {
    events.push_back("ins " + std::to_string(first) + " " + std::to_string(count));
  }
  void RowsRemoved(size_t first, size_t count) override {
    events.push_back("rem " + std::to_string(first) + " " + std::to_string(count));
  }
  void RowsChanged(size_t first, size_t last) override {
    events.push_back("chg " + std::to_string(first) + " " + std::to_string(last));
  }
  void ListReset() override { events.push_back("reset"); }
};

class LinkListTest : public ::testing::Test {
 protected:
  std::string mask;
  LinkList list{[this] { return mask; }};

  int16_t Add(const std::string& url, int16_t depth = 0) {
    return list.AddLink("f", url, "http://ref/", "t", "", "", depth);
  }
  std::vector<std::string> Urls() const {
    std::vector<std::string> urls;
    for (size_t i = 1; i <= list.Count(); ++i) urls.push_back(list.Row(i).Url);
    return urls;
  }
};

TEST_F(LinkListTest, AddFillsEveryColumnAndTheTag) {
  EXPECT_EQ(list.AddLink("a.zip", "http://h/a.zip", "http://h/", "Title", "sub\\", "C:\\dl", 3),
            -1);
  const LinkRow& row = list.Row(1);
  EXPECT_EQ(row.FileName, "a.zip");
  EXPECT_EQ(row.Url, "http://h/a.zip");
  EXPECT_EQ(row.Referer, "http://h/");
  EXPECT_EQ(row.Title, "Title");
  EXPECT_EQ(row.Folder, "sub\\");
  EXPECT_EQ(row.DownloadFolder, "C:\\dl");
  EXPECT_EQ(row.Depth, "3");
  EXPECT_EQ(row.Tag, "http://h/a.zip");
  Add("http://h/neg", -32768);
  EXPECT_EQ(list.Row(2).Depth, "-32768");
}

TEST_F(LinkListTest, DuplicateLeavesTheFirstRowUnchanged) {
  mask = "*.zip";
  EXPECT_EQ(Add("http://h/a.zip"), 1);
  list.SetChecked(1, false);
  mask = "";
  EXPECT_EQ(list.AddLink("other", "http://h/a.zip", "r", "t", "", "", 5), 0);
  EXPECT_EQ(list.Count(), 1u);
  EXPECT_FALSE(list.Checked(1));
  EXPECT_EQ(list.Row(1).FileName, "f");
  // The comparison is exact: letter case counts.
  EXPECT_EQ(Add("http://h/A.zip"), -1);
  EXPECT_EQ(list.Count(), 2u);
}

TEST_F(LinkListTest, ControlCharactersNeverEnterARow) {
  const std::string nul(1, '\0');
  EXPECT_EQ(list.AddLink("a" + nul + ".zip", "http://h/a" + nul + "\r\n[x]\x7f.zip",
                         "http://h/r\x01", "T" + nul + "i\r\nt\tle", "f\n\\", "d\x1f", 0),
            -1);
  const LinkRow& row = list.Row(1);
  EXPECT_EQ(row.Url, "http://h/a%00%0D%0A[x]%7F.zip");
  EXPECT_EQ(row.Tag, row.Url);
  EXPECT_EQ(row.FileName, "a%00.zip");
  EXPECT_EQ(row.Referer, "http://h/r%01");
  EXPECT_EQ(row.Title, "T i  t\tle");
  EXPECT_EQ(row.Folder, "f \\");
  EXPECT_EQ(row.DownloadFolder, "d ");
  // The same link with its characters written encoded is the same row.
  EXPECT_EQ(Add("http://h/a%00%0D%0A[x]%7F.zip"), 0);
  EXPECT_TRUE(list.IsUrlListed("http://h/a%00%0D%0A[x]%7F.zip"));
}

TEST_F(LinkListTest, SharedTextsStayWithTheirRows) {
  // Runs of rows that repeat a referer or folder share it; a change starts a new run, and a
  // text met again after another one is still the row's own.
  const char* referers[] = {"http://p/1", "http://p/1", "http://p/2", "http://p/1", "", "x"};
  for (int i = 0; i < 6; ++i) {
    const std::string n = std::to_string(i);
    list.AddLink("f" + n, "http://h/" + n, referers[i], "t" + n, i % 2 ? "sub\\" : "",
                 i < 3 ? "/dl" : "", static_cast<int16_t>(i / 2));
  }
  for (size_t i = 1; i <= 6; ++i) {
    const LinkRow row = list.Row(i);
    const std::string n = std::to_string(i - 1);
    EXPECT_EQ(row.Referer, referers[i - 1]);
    EXPECT_EQ(row.FileName, "f" + n);
    EXPECT_EQ(row.Title, "t" + n);
    EXPECT_EQ(row.Folder, (i - 1) % 2 ? "sub\\" : "");
    EXPECT_EQ(row.DownloadFolder, i <= 3 ? "/dl" : "");
    EXPECT_EQ(row.Depth, std::to_string((i - 1) / 2));
    // The views give the same texts as the copies.
    EXPECT_EQ(list.Text(i, LinkColumn::Url), row.Url);
    EXPECT_EQ(list.Text(i, LinkColumn::Referer), row.Referer);
    EXPECT_EQ(list.Text(i, LinkColumn::Depth), row.Depth);
  }
  EXPECT_THROW(list.Text(7, LinkColumn::Url), std::out_of_range);
  // After Clear the store starts again: old texts do not leak into new rows.
  list.Clear();
  list.AddLink("g", "http://h/0", "http://p/1", "", "", "", 0);
  EXPECT_EQ(list.Row(1).Referer, "http://p/1");
  EXPECT_EQ(list.Row(1).FileName, "g");
}

TEST_F(LinkListTest, LongTextsAndManyRowsKeepTheirBytes) {
  const std::string longTitle(700000, 'x');  // more than a block of the store
  list.AddLink("f", "http://h/long", "r", longTitle, "", "", 0);
  for (int i = 0; i < 20000; ++i) Add("http://host.example/dir/" + std::to_string(i) + ".zip");
  EXPECT_EQ(list.Row(1).Title, longTitle);
  EXPECT_EQ(list.Row(20001).Url, "http://host.example/dir/19999.zip");
  EXPECT_EQ(list.FindUrl("http://host.example/dir/777.zip"), 779u);
  // A row holds its texts and little else: no string objects per field, no second URL.
  const size_t perRow = (list.BytesHeld() - longTitle.size()) / list.Count();
  EXPECT_LT(perRow, 200u);
}

TEST_F(LinkListTest, MaskDecidesTheCheckMark) {
  EXPECT_EQ(Add("http://h/1.zip"), -1);  // empty mask: no pattern
  mask = "*";
  EXPECT_EQ(Add("http://h/2.txt"), 1);
  mask = "*.ZIP";
  EXPECT_EQ(Add("http://h/3.zip"), 1);
  mask = "*.zip;";
  EXPECT_EQ(Add("http://h/4.lzh"), -1);
  EXPECT_EQ(Add(""), 1);  // the empty second pattern matches only an empty URL
  mask = "[a";
  EXPECT_EQ(Add("http://h/5.zip"), -1);
  mask = "*.zip;[a";
  EXPECT_EQ(Add("http://h/6.zip"), 1);
  EXPECT_EQ(list.Count(), 7u);
}

TEST_F(LinkListTest, SelectMatchingItemsCountsAndStopsAtAMalformedMask) {
  Add("http://h/a.zip");
  Add("http://h/b.lzh");
  Add("http://h/c.zip");
  mask = "*.zip";
  EXPECT_EQ(list.SelectMatchingItems(), 2u);
  EXPECT_TRUE(list.Checked(1));
  EXPECT_FALSE(list.Checked(2));
  mask = "";
  EXPECT_EQ(list.SelectMatchingItems(), 0u);
  EXPECT_FALSE(list.Checked(1));
  // The first row matches before the malformed pattern is reached; the second does not.
  mask = "*a.zip;[b";
  list.SetChecked(2, true);
  list.SetChecked(3, true);
  EXPECT_EQ(list.SelectMatchingItems(), std::nullopt);
  EXPECT_TRUE(list.Checked(1));
  EXPECT_TRUE(list.Checked(2));
  EXPECT_TRUE(list.Checked(3));
}

TEST_F(LinkListTest, LookupFollowsRowsThatMove) {
  for (int i = 1; i <= 5; ++i) Add("http://h/" + std::to_string(i));
  EXPECT_EQ(list.FindUrl("http://h/4"), 4u);
  EXPECT_EQ(list.FindUrl("http://h/4", 4), 4u);
  EXPECT_EQ(list.FindUrl("http://h/4", 5), 0u);
  EXPECT_EQ(list.FindUrl("http://h/9"), 0u);
  list.Remove(2);
  EXPECT_FALSE(list.IsUrlListed("http://h/2"));
  EXPECT_EQ(list.FindUrl("http://h/4"), 3u);
  EXPECT_EQ(Add("http://h/2"), -1);
  EXPECT_EQ(list.FindUrl("http://h/2"), 5u);
  list.SortByColumn(LinkColumn::Url);  // descending
  EXPECT_EQ(list.FindUrl("http://h/5"), 1u);
  EXPECT_EQ(Add("http://h/5"), 0);
  EXPECT_THROW(list.Remove(0), std::out_of_range);
  EXPECT_THROW(list.Row(list.Count() + 1), std::out_of_range);
}

TEST_F(LinkListTest, RemoveUrlsAfterTakesOnlyLaterRows) {
  for (int i = 1; i <= 6; ++i) Add("http://h/" + std::to_string(i));
  EXPECT_EQ(list.RemoveUrlsAfter(2, {"http://h/1", "http://h/3", "http://h/5", "http://x"}), 2u);
  EXPECT_EQ(Urls(),
            (std::vector<std::string>{"http://h/1", "http://h/2", "http://h/4", "http://h/6"}));
  EXPECT_EQ(list.FindUrl("http://h/6"), 4u);
  EXPECT_FALSE(list.IsUrlListed("http://h/5"));
  EXPECT_EQ(list.RemoveUrlsAfter(10, {"http://h/1"}), 0u);
}

TEST_F(LinkListTest, RemoveUrlsAfterHandlesLargeListsInOnePass) {
  std::vector<std::string> stored;
  for (int i = 0; i < 20000; ++i) {
    Add("http://h/" + std::to_string(i));
    if (i % 2 == 0) stored.push_back("http://h/" + std::to_string(i));
  }
  EXPECT_EQ(list.RemoveUrlsAfter(0, stored), 10000u);
  ASSERT_EQ(list.Count(), 10000u);
  EXPECT_EQ(list.Row(1).Url, "http://h/1");
  EXPECT_EQ(list.FindUrl("http://h/19999"), 10000u);
}

TEST_F(LinkListTest, InvertAndRemoveUnchecked) {
  list.InvertCheck();
  EXPECT_EQ(list.Count(), 0u);
  Add("http://h/1");
  Add("http://h/2");
  Add("http://h/3");
  list.SetChecked(2, true);
  list.InvertCheck();
  EXPECT_TRUE(list.Checked(1));
  EXPECT_FALSE(list.Checked(2));
  list.RemoveUnchecked();
  EXPECT_EQ(Urls(), (std::vector<std::string>{"http://h/1", "http://h/3"}));
  list.InvertCheck();
  list.RemoveUnchecked();
  EXPECT_EQ(list.Count(), 0u);
  EXPECT_EQ(Add("http://h/1"), -1);
}

TEST_F(LinkListTest, SharedSortOrderFlipsOnEveryHeaderAndIsStable) {
  list.AddLink("b", "http://h/1", "", "", "", "", 2);
  list.AddLink("a", "http://h/2", "", "", "", "", 10);
  list.AddLink("B", "http://h/3", "", "", "", "", 1);
  EXPECT_TRUE(list.SortAscending());
  list.SortByColumn(LinkColumn::FileName);
  EXPECT_FALSE(list.SortAscending());
  EXPECT_EQ(Urls(), (std::vector<std::string>{"http://h/1", "http://h/3", "http://h/2"}));
  list.SortByColumn(LinkColumn::FileName);
  EXPECT_EQ(Urls(), (std::vector<std::string>{"http://h/2", "http://h/1", "http://h/3"}));
  // Depth sorts as text: "10" before "2"; the order is shared, so this one is descending.
  list.SortByColumn(LinkColumn::Depth);
  EXPECT_EQ(Urls(), (std::vector<std::string>{"http://h/1", "http://h/2", "http://h/3"}));
  list.SortByColumn(LinkColumn::Depth);
  EXPECT_EQ(Urls(), (std::vector<std::string>{"http://h/3", "http://h/2", "http://h/1"}));
  list.Clear();
  EXPECT_TRUE(list.SortAscending());
  EXPECT_FALSE(list.IsUrlListed("http://h/1"));
}

TEST_F(LinkListTest, ObserverHearsOfEveryChange) {
  RecordingObserver observer;
  list.SetObserver(&observer);
  Add("http://h/1");
  Add("http://h/2");
  Add("http://h/3");
  Add("http://h/1");
  list.SetChecked(2, true);
  list.InvertCheck();
  list.RemoveUnchecked();
  list.SortByColumn(LinkColumn::Url);
  list.RemoveUrlsAfter(0, {"http://h/1", "http://h/3"});
  list.Clear();
  list.SetObserver(nullptr);
  Add("http://h/9");
  EXPECT_EQ(observer.events,
            (std::vector<std::string>{"ins 1 1", "ins 2 1", "ins 3 1", "chg 2 2", "chg 1 3",
                                      "rem 2 1", "chg 1 2", "rem 1 2", "reset"}));
}

}  // namespace
}  // namespace vendil
