// lvwUrls: the report view of the link list. Uniform row heights, no per-row sizing, the
// context menu on the release of the right button or on the Menu key and Shift+F10, Space
// toggling the check of the current row in any column, and a frame that shows focus.
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
  bool event(QEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void focusInEvent(QFocusEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;
  void changeEvent(QEvent* event) override;

 private:
  void ApplyRowHeight();
  void ToggleCurrentCheck();
};

}  // namespace vendil::gui
