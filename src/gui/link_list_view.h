// lvwUrls: the report view of the link list. Uniform row heights, no per-row sizing, and the
// context menu on the release of the right button.
#pragma once

#include <QTableView>

namespace vendil::gui {

class LinkListView : public QTableView {
  Q_OBJECT

 public:
  explicit LinkListView(QWidget* parent = nullptr);

  // The selected row, 1-based as the list counts: the current row when it is selected,
  // else the first selected one; 0 when no row is selected.
  size_t SelectedPosition() const;

 signals:
  // The right button was released over the list, at this global position.
  void ContextMenuRequested(const QPoint& globalPos);

 protected:
  void mouseReleaseEvent(QMouseEvent* event) override;
  void changeEvent(QEvent* event) override;

 private:
  void ApplyRowHeight();
};

}  // namespace vendil::gui
