// The skipped-links dialog: empty before any search, then the rows of the last search's
// record as the core holds them.
#include <QAbstractItemModelTester>
#include <QLabel>
#include <QLineEdit>
#include <QTableView>

#include "gui/skipped_links_dialog.h"
#include "gui/skipped_links_model.h"
#include "gui/window_fixture.h"
#include "support/http_test_server.h"

namespace vendil::test {
namespace {

struct Shown {
  QString summary;
  std::vector<std::vector<QString>> rows;
};

class SkippedLinksWindowTest : public WindowFixture {
 protected:
  // Opens the dialog from the menu and reads what it shows.
  Shown OpenDialog() {
    Shown shown;
    OnModal(QStringLiteral("frmSkippedLinks"), [&shown](QWidget* w) {
      auto* dialog = qobject_cast<gui::SkippedLinksDialog*>(w);
      ASSERT_NE(dialog, nullptr);
      const QAbstractItemModel& model = *dialog->Table()->model();
      QAbstractItemModelTester tester(dialog->Model());
      shown.summary = dialog->Summary()->text();
      for (int row = 0; row < model.rowCount(); ++row) {
        shown.rows.emplace_back();
        for (int column = 0; column < model.columnCount(); ++column)
          shown.rows.back().push_back(model.data(model.index(row, column)).toString());
      }
      dialog->reject();
    });
    Trigger("mnuGo_SkippedLinks");
    return shown;
  }
  HttpTestServer site;
};

TEST_F(SkippedLinksWindowTest, ShowsTheLastSearchsLinksNotReadInJapanese) {
  OpenWindow();
  const Shown before = OpenDialog();
  EXPECT_TRUE(before.rows.empty());
  EXPECT_EQ(before.summary, QString::fromUtf8("除外されたリンクはありません。"));

  site.Page("/d/index.html",
            "<a href=\"p.html\">P</a><a href=\"p.html#x\">P</a>"
            "<a href=\"../up.html\">Up</a><a href=\"a.zip\">A</a>");
  site.Page("/d/p.html", "<a href=\"q.html\">Q</a>");
  site.Page("/d/a.zip", "PK", "application/zip");
  window->findChild<QLineEdit*>(QStringLiteral("txtUrl"))
      ->setText(QString::fromStdString(site.Url("/d/index.html")));
  window->findChild<QLineEdit*>(QStringLiteral("txtDepth"))->setText(QStringLiteral("1"));
  AcceptNextMessageBox();
  Trigger("mnuGo_Start");

  const Shown after = OpenDialog();
  const QString index = QString::fromStdString(site.Url("/d/index.html"));
  const QString page = QString::fromStdString(site.Url("/d/p.html"));
  auto url = [this](const char* path) { return QString::fromStdString(site.Url(path)); };
  const std::vector<std::vector<QString>> expected = {
      {page + "#x", index, QString::fromUtf8("登録済み")},
      {url("/up.html"), index, QString::fromUtf8("上位のフォルダー")},
      {url("/d/q.html"), page, QString::fromUtf8("深さの制限")},
      {url("/d/a.zip"), index, QString::fromUtf8("種類を除外 (application/zip)")},
  };
  EXPECT_EQ(after.rows, expected);
  EXPECT_EQ(after.summary, QString::fromUtf8("除外されたリンク 4 件"));
}

TEST_F(SkippedLinksWindowTest, SaysHowManyWereOnlyCountedPastTheBound) {
  auto record = std::make_shared<SkippedLinks>(2);
  for (const char* link : {"http://h/a", "http://h/b", "http://h/c"})
    record->Add(link, "http://h/", SkipReason::kDepth);
  gui::SkippedLinksDialog dialog(record);
  EXPECT_EQ(dialog.Model()->rowCount(), 2);
  EXPECT_EQ(dialog.Summary()->text(),
            QString::fromUtf8("除外されたリンク 2 件（記録は最初の 2 件まで。ほかに 1 "
                              "件が除外されました）"));
}

}  // namespace
}  // namespace vendil::test
