// frmSkippedLinks: the links the last search met and did not read, with the page that linked
// each and the rule that dropped it, and how many were only counted past the bound.
#pragma once

#include <QDialog>
#include <memory>

#include "state/skipped_links.h"

class QLabel;
class QTableView;

namespace vendil::gui {

class SkippedLinksModel;

class SkippedLinksDialog : public QDialog {
  Q_OBJECT

 public:
  explicit SkippedLinksDialog(std::shared_ptr<const SkippedLinks> record,
                              QWidget* parent = nullptr);

  QTableView* Table() const { return table_; }
  SkippedLinksModel* Model() const { return model_; }
  QLabel* Summary() const { return summary_; }

 private:
  QTableView* table_ = nullptr;
  SkippedLinksModel* model_ = nullptr;
  QLabel* summary_ = nullptr;
};

}  // namespace vendil::gui
