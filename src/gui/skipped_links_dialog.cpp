// The skipped-links dialog: a summary line over a table of the record.
#include "gui/skipped_links_dialog.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

#include "gui/jp_text.h"
#include "gui/skipped_links_model.h"
#include "gui/twips.h"

namespace vendil::gui {
namespace {

QString SummaryText(const SkippedLinks& record) {
  if (record.Empty()) return Jp("除外されたリンクはありません。");
  const QLocale numbers(QLocale::Japanese, QLocale::Japan);
  QString text = Jp("除外されたリンク %1 件").arg(numbers.toString(qulonglong{record.Count()}));
  if (record.NotKept() > 0)
    text += Jp("（記録は最初の %1 件まで。ほかに %2 件が除外されました）")
                .arg(numbers.toString(qulonglong{record.Count()}),
                     numbers.toString(qulonglong{record.NotKept()}));
  return text;
}

}  // namespace

SkippedLinksDialog::SkippedLinksDialog(std::shared_ptr<const SkippedLinks> record, QWidget* parent)
    : QDialog(parent) {
  setObjectName(QStringLiteral("frmSkippedLinks"));
  setWindowTitle(Jp("除外されたリンク"));

  model_ = new SkippedLinksModel(std::move(record), this);
  summary_ = new QLabel(SummaryText(model_->Record()), this);
  summary_->setObjectName(QStringLiteral("lblSummary"));

  table_ = new QTableView(this);
  table_->setObjectName(QStringLiteral("lvwSkipped"));
  table_->setModel(model_);
  table_->setSelectionBehavior(QAbstractItemView::SelectRows);
  table_->setWordWrap(false);
  table_->setTextElideMode(Qt::ElideMiddle);  // a long URL keeps its server and its file name
  table_->setAlternatingRowColors(true);
  table_->verticalHeader()->hide();
  // One height for every row: the view never measures 100,000 of them.
  table_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  table_->verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
  table_->horizontalHeader()->setStretchLastSection(true);
  // Room for an ordinary URL in the first two columns; the reason takes the rest, so all
  // three show without scrolling. Sized from the font, as the main list is.
  const int urlWidth =
      fontMetrics().horizontalAdvance(QStringLiteral("http://www.example.com/files/page-01.html"));
  table_->setColumnWidth(0, urlWidth);
  table_->setColumnWidth(1, urlWidth);

  auto* buttons = new QDialogButtonBox(this);
  buttons->addButton(Jp("閉じる"), QDialogButtonBox::RejectRole)->setDefault(true);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(summary_);
  layout->addWidget(table_, 1);
  layout->addWidget(buttons);
  resize(TwipsToPixels(12960, this), TwipsToPixels(6480, this));
}

}  // namespace vendil::gui
