// The table model over the link list: rows added during a search are published in batches,
// removals and resets while a batch waits keep the model consistent, and the check column
// edits the list.
#include <gtest/gtest.h>

#include <QAbstractItemModelTester>
#include <QSignalSpy>
#include <QTest>

#include "gui/link_list_model.h"
#include "state/form1.h"
#include "support/fake_ui.h"

namespace vendil::test {
namespace {

class LinkListModelTest : public ::testing::Test {
 protected:
  void Add(int n, const char* prefix = "f") {
    for (int i = 0; i < n; ++i) {
      const std::string name = prefix + std::to_string(next_++);
      form.lvwUrls.AddLink(name + ".zip", "http://h/" + name + ".zip", "http://h/", "t", "", "", 2);
    }
  }
  QString Cell(int row, int column) const {
    return model.data(model.index(row, column)).toString();
  }

  FakeUi ui;
  Form1 form{ui};
  gui::LinkListModel model{form.lvwUrls};
  QAbstractItemModelTester tester{&model, QAbstractItemModelTester::FailureReportingMode::Fatal};
  int next_ = 0;
};

TEST_F(LinkListModelTest, RowsAddedOneByOneArePublishedInOneBatch) {
  form.txtMask.SetText("*.zip");
  QSignalSpy inserted(&model, &QAbstractItemModel::rowsInserted);
  Add(1000);
  EXPECT_EQ(model.rowCount(), 0);
  EXPECT_EQ(inserted.count(), 0);
  model.FlushInsertedRows();
  ASSERT_EQ(inserted.count(), 1);
  EXPECT_EQ(inserted[0][1].toInt(), 0);
  EXPECT_EQ(inserted[0][2].toInt(), 999);
  EXPECT_EQ(model.rowCount(), 1000);
  EXPECT_EQ(model.data(model.index(0, 0), Qt::CheckStateRole).toInt(), Qt::Checked);
  EXPECT_EQ(Cell(999, 1).toStdString(), "http://h/f999.zip");
  EXPECT_EQ(Cell(0, 6).toStdString(), "2");
  EXPECT_TRUE(model.data(model.index(0, 6), Qt::TextAlignmentRole).value<Qt::Alignment>() &
              Qt::AlignRight);
  // The batch also goes out by itself once the event loop runs.
  Add(5);
  EXPECT_TRUE(QTest::qWaitFor([this] { return model.rowCount() == 1005; }, 2000));
}

TEST_F(LinkListModelTest, RemovalsAndResetsWhileABatchWaitsStayConsistent) {
  form.txtMask.SetText("*a*");  // only URLs with an "a" after the host start checked
  Add(6, "b");
  model.FlushInsertedRows();
  Add(4, "a");  // waiting, not yet published
  ASSERT_EQ(model.rowCount(), 6);
  // Removes the six published rows and keeps the four waiting ones.
  form.lvwUrls.RemoveUnchecked();
  EXPECT_EQ(model.rowCount(), 0);
  model.FlushInsertedRows();
  EXPECT_EQ(model.rowCount(), 4);
  EXPECT_EQ(Cell(0, 0).toStdString(), "a6.zip");
  // A removal that reaches past what is published.
  Add(3, "c");
  form.lvwUrls.Remove(4);
  EXPECT_EQ(model.rowCount(), 3);
  model.FlushInsertedRows();
  EXPECT_EQ(model.rowCount(), 6);
  EXPECT_EQ(Cell(3, 0).toStdString(), "c10.zip");

  QSignalSpy reset(&model, &QAbstractItemModel::modelReset);
  Add(2);
  form.lvwUrls.Clear();
  EXPECT_EQ(reset.count(), 1);
  EXPECT_EQ(model.rowCount(), 0);
  model.FlushInsertedRows();
  EXPECT_EQ(model.rowCount(), 0);
}

TEST_F(LinkListModelTest, CheckColumnEditsTheListAndChangesShow) {
  Add(3);
  model.FlushInsertedRows();
  QSignalSpy changed(&model, &QAbstractItemModel::dataChanged);
  EXPECT_TRUE(model.setData(model.index(1, 0), Qt::Checked, Qt::CheckStateRole));
  EXPECT_TRUE(form.lvwUrls.Checked(2));
  EXPECT_EQ(changed.count(), 1);
  EXPECT_FALSE(model.setData(model.index(1, 1), Qt::Checked, Qt::CheckStateRole));
  EXPECT_TRUE(model.flags(model.index(0, 0)) & Qt::ItemIsUserCheckable);
  EXPECT_FALSE(model.flags(model.index(0, 1)) & Qt::ItemIsUserCheckable);

  form.lvwUrls.InvertCheck();
  EXPECT_EQ(model.data(model.index(1, 0), Qt::CheckStateRole).toInt(), Qt::Unchecked);
  EXPECT_EQ(model.data(model.index(0, 0), Qt::CheckStateRole).toInt(), Qt::Checked);
  // A change of many check marks is one range of the check column, not a new layout.
  Add(2000);
  model.FlushInsertedRows();
  QSignalSpy layout(&model, &QAbstractItemModel::layoutChanged);
  changed.clear();
  form.lvwUrls.InvertCheck();
  EXPECT_EQ(layout.count(), 0);
  ASSERT_EQ(changed.count(), 1);
  EXPECT_EQ(changed[0][0].value<QModelIndex>().row(), 0);
  EXPECT_EQ(changed[0][1].value<QModelIndex>().row(), 2002);
}

TEST_F(LinkListModelTest, ASortIsANewLayoutAndTheSelectedRowFollowsItsLink) {
  Add(2000);
  model.FlushInsertedRows();
  Add(3);  // still waiting for their batch when the sort comes
  const QPersistentModelIndex selected = model.index(5, 1);  // f5
  ASSERT_EQ(Cell(5, 1).toStdString(), "http://h/f5.zip");
  QSignalSpy layout(&model, &QAbstractItemModel::layoutChanged);
  QSignalSpy reset(&model, &QAbstractItemModel::modelReset);
  form.lvwUrls.SortByColumn(LinkColumn::FileName);  // descending text order
  EXPECT_EQ(layout.count(), 1);
  EXPECT_EQ(reset.count(), 0);
  EXPECT_EQ(model.rowCount(), 2003);
  EXPECT_EQ(Cell(0, 0).toStdString(), "f999.zip");
  ASSERT_TRUE(selected.isValid());
  EXPECT_EQ(model.data(selected).toString().toStdString(), "http://h/f5.zip");
  EXPECT_EQ(selected.column(), 1);
  EXPECT_NE(selected.row(), 5);
}

}  // namespace
}  // namespace vendil::test
