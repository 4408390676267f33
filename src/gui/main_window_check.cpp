// The window's part of checking links: the Go menu items and toolbar key that run the
// check command, and the status bar's total of the checked rows.
#include <QGuiApplication>
#include <QLabel>
#include <QMenu>
#include <QStatusBar>
#include <QToolBar>

#include "gui/jp_text.h"
#include "gui/link_list_model.h"
#include "gui/link_list_view.h"
#include "gui/main_window.h"

namespace vendil::gui {
namespace {

// Changes to the list come in bursts (a search, a check): the label is set at most once per
// this delay while they last, not once per row.
constexpr int kTotalDelayMs = 100;

}  // namespace

void MainWindow::BuildCheck(QMenu* go) {
  go->addSeparator();
  AddItem(go, "mnuGo_CheckLinks", "リンクの確認(&K)", [this] { CheckRows(RowsToCheck::Checked); });
  AddItem(go, "mnuGo_CheckAllLinks", "すべてのリンクの確認(&H)",
          [this] { CheckRows(RowsToCheck::All); });

  auto* key = new QAction(QIcon(QStringLiteral(":/icons/check.svg")), Jp("リンクの確認"), toolbar_);
  key->setObjectName(QStringLiteral("Toolbar1_check"));
  key->setToolTip(
      Jp("チェックしたリンクのサイズ・種類・状態を確認 (Shift を押しながら: すべてのリンク)"));
  key->setData(QStringLiteral("check"));
  actions_[key->objectName()] = key;
  connect(key, &QAction::triggered, this, [this] {
    const bool all = QGuiApplication::keyboardModifiers() & Qt::ShiftModifier;
    RunCommand([this, all] { CheckRows(all ? RowsToCheck::All : RowsToCheck::Checked); });
  });
  toolbar_->addAction(key);
}

void MainWindow::CheckRows(RowsToCheck which) {
  if (!checkColumnsShown_) {
    checkColumnsShown_ = true;
    for (int c = LinkListModel::kSizeColumn; c <= LinkListModel::kStateColumn; ++c)
      list_->setColumnHidden(c, false);
  }
  CheckListRows(form_, which);
}

void MainWindow::BuildCheckedTotal() {
  checkedTotal_ = new QLabel(this);
  checkedTotal_->setObjectName(QStringLiteral("CheckedTotal"));
  checkedTotal_->setTextFormat(Qt::PlainText);
  statusBar()->addPermanentWidget(checkedTotal_);
  totalTimer_.setSingleShot(true);
  totalTimer_.setInterval(kTotalDelayMs);
  connect(&totalTimer_, &QTimer::timeout, this, &MainWindow::UpdateCheckedTotal);
  auto later = [this] {
    if (!totalTimer_.isActive()) totalTimer_.start();
  };
  connect(model_, &QAbstractItemModel::dataChanged, this, later);
  connect(model_, &QAbstractItemModel::rowsInserted, this, later);
  connect(model_, &QAbstractItemModel::rowsRemoved, this, later);
  connect(model_, &QAbstractItemModel::modelReset, this, later);
  connect(model_, &QAbstractItemModel::layoutChanged, this, later);
  UpdateCheckedTotal();
}

void MainWindow::UpdateCheckedTotal() {
  const LinkList::CheckedTotals totals = form_.lvwUrls.CheckedRowTotals();
  checkedTotal_->setText(QString::fromStdString(
      CheckedTotalText(totals.rows, totals.knownBytes, totals.unknownSizes)));
}

}  // namespace vendil::gui
