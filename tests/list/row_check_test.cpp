// Checks kept beside the rows: found by URL whatever moves the rows, sorting by size as
// numbers, the checked total, and the texts the window and the command line show.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "list/link_list.h"

namespace vendil {
namespace {

RowCheck Sized(int64_t size, int status = 200) {
  RowCheck check;
  check.size = size;
  check.status = status;
  check.type = "application/zip";
  return check;
}

class RowCheckTest : public ::testing::Test {
 protected:
  void SetUp() override {
    for (const char* url : {"http://h/a", "http://h/b", "http://h/c", "http://h/d"})
      list.AddLink("f", url, "", "t", "", "", 0);
  }
  std::vector<std::string> Urls() const {
    std::vector<std::string> urls;
    for (size_t i = 1; i <= list.Count(); ++i) urls.emplace_back(list.Text(i, LinkColumn::Url));
    return urls;
  }

  std::string mask = "*";
  LinkList list{[this] { return mask; }};
};

TEST_F(RowCheckTest, AChecksStaysWithItsRowThroughSortsRemovalsAndGoesWithClear) {
  EXPECT_FALSE(list.SetRowCheck("http://h/none", Sized(1)));
  ASSERT_TRUE(list.SetRowCheck("http://h/b", Sized(2048)));
  ASSERT_TRUE(list.SetRowCheck("http://h/d", Sized(10)));
  EXPECT_EQ(list.Check(1), nullptr);
  ASSERT_NE(list.Check(2), nullptr);
  EXPECT_EQ(list.Check(2)->size, 2048);
  EXPECT_EQ(list.Text(2, LinkColumn::Type), "application/zip");
  EXPECT_EQ(list.Text(1, LinkColumn::Type), "");

  // By size, as numbers (2048 above 10): descending at the first click, the unknown sizes
  // last; ascending at the next, the unknown sizes first.
  list.SortByColumn(LinkColumn::Size);
  ASSERT_FALSE(list.SortAscending());
  EXPECT_EQ(Urls(),
            (std::vector<std::string>{"http://h/b", "http://h/d", "http://h/a", "http://h/c"}));
  EXPECT_EQ(list.Check(1)->size, 2048);
  list.SortByColumn(LinkColumn::Size);
  EXPECT_EQ(Urls(),
            (std::vector<std::string>{"http://h/a", "http://h/c", "http://h/d", "http://h/b"}));

  list.Remove(4);  // b
  EXPECT_EQ(list.Check(3)->size, 10);
  // A later check replaces the earlier one.
  ASSERT_TRUE(list.SetRowCheck("http://h/d", Sized(-1, 404)));
  EXPECT_EQ(list.Check(3)->status, 404);

  list.Clear();
  list.AddLink("f", "http://h/d", "", "t", "", "", 0);
  EXPECT_EQ(list.Check(1), nullptr);  // a new list knows nothing of the old checks
}

TEST_F(RowCheckTest, TheCheckedTotalCountsMarkedRowsAndTheSizesKnown) {
  list.SetChecked(3, false);
  list.SetRowCheck("http://h/a", Sized(3 * 1024 * 1024));
  list.SetRowCheck("http://h/b", Sized(1024 * 1024));
  list.SetRowCheck("http://h/c", Sized(5));  // not marked: not counted
  const LinkList::CheckedTotals totals = list.CheckedRowTotals();
  EXPECT_EQ(totals.rows, 3u);
  EXPECT_EQ(totals.knownBytes, 4 * 1024 * 1024);
  EXPECT_EQ(totals.unknownSizes, 1u);
  EXPECT_EQ(CheckedTotalText(totals.rows, totals.knownBytes, totals.unknownSizes),
            "チェック 3 個・4.0 MB (サイズ不明 1 個)");
  EXPECT_EQ(CheckedTotalText(120, int64_t{3650722202}, 0), "チェック 120 個・3.40 GB");
  EXPECT_EQ(CheckedTotalText(7, 0, 7), "チェック 7 個");
  EXPECT_EQ(CheckedTotalText(0, 0, 0), "チェック 0 個");
}

// The totals are kept as the list changes; after each kind of change they must equal a
// count made afresh from the rows.
TEST_F(RowCheckTest, TheCheckedTotalFollowsEveryChangeOfTheList) {
  const auto expectCounted = [this](const char* after) {
    LinkList::CheckedTotals counted;
    for (size_t i = 1; i <= list.Count(); ++i) {
      if (!list.Checked(i)) continue;
      ++counted.rows;
      const RowCheck* check = list.Check(i);
      if (check != nullptr && check->size >= 0) {
        counted.knownBytes += check->size;
      } else {
        ++counted.unknownSizes;
      }
    }
    const LinkList::CheckedTotals kept = list.CheckedRowTotals();
    EXPECT_EQ(kept.rows, counted.rows) << after;
    EXPECT_EQ(kept.knownBytes, counted.knownBytes) << after;
    EXPECT_EQ(kept.unknownSizes, counted.unknownSizes) << after;
  };
  list.SetRowCheck("http://h/a", Sized(100));
  list.SetRowCheck("http://h/b", Sized(20));
  list.SetRowCheck("http://h/a", Sized(-1, 404));
  list.SetRowCheck("http://h/a", Sized(7));
  expectCounted("checks set and replaced");
  list.SetChecked(2, false);
  list.SetChecked(2, false);
  expectCounted("a mark taken off twice");
  list.InvertCheck();
  expectCounted("marks inverted");
  list.SortByColumn(LinkColumn::Size);
  list.Remove(1);
  expectCounted("a sort and a removal");
  mask = "*/a";
  list.SelectMatchingItems();
  expectCounted("marks by the mask");
  list.RemoveUnchecked();
  list.AddLink("f", "http://h/b", "", "t", "", "", 0);  // its old check comes back with it
  expectCounted("unmarked rows removed, one added again");
  list.RemoveUrlsAfter(0, {"http://h/a"});
  expectCounted("rows removed by URL");
  list.Clear();
  EXPECT_EQ(list.CheckedRowTotals().rows, 0u);
}

TEST(RowCheckTextTest, StatesAsTheCommandLineAndTheWindowSayThem) {
  RowCheck ok = Sized(1);
  EXPECT_EQ(CheckStateWord(ok), "200");
  EXPECT_EQ(CheckStateText(ok), "200 OK");
  RowCheck missing = Sized(-1, 404);
  EXPECT_EQ(CheckStateWord(missing), "404");
  EXPECT_EQ(CheckStateText(missing), "404 Not Found");
  EXPECT_EQ(CheckStateText(Sized(-1, 599)), "599");
  RowCheck moved = Sized(5);
  moved.finalUrl = "http://h/new";
  EXPECT_EQ(CheckStateWord(moved), "http://h/new");
  EXPECT_EQ(CheckStateText(moved), "移動 → http://h/new");
  moved.status = 404;
  EXPECT_EQ(CheckStateText(moved), "移動 → http://h/new (404 Not Found)");
  RowCheck refused = Sized(-1, 302);
  refused.refusedHop = "http://other/x";
  EXPECT_EQ(CheckStateWord(refused), "redirect-refused");
  EXPECT_NE(CheckStateText(refused).find("http://other/x"), std::string::npos);
  RowCheck failed;
  failed.errorWord = "timeout";
  failed.errorText = "Operation timed out after 5000 milliseconds";
  EXPECT_EQ(CheckStateWord(failed), "timeout");
  EXPECT_EQ(CheckStateText(failed), "エラー: Operation timed out after 5000 milliseconds");
}

}  // namespace
}  // namespace vendil
