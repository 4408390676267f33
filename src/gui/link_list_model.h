// The link list as a table model: the seven columns of a row over Form1's LinkList (a check
// box in the first), then the size, type and state a check of the links learnt. It follows the list
// through LinkListObserver; rows added one by one during a search are published in batches (one
// beginInsertRows per batch), so a crawl of many thousand links never repaints per row.
#pragma once

#include <QAbstractTableModel>
#include <QTimer>
#include <functional>
#include <string>
#include <vector>

#include "list/link_list.h"
#include "settings/settings_keys.h"

namespace vendil::gui {

class LinkListModel : public QAbstractTableModel, public LinkListObserver {
  Q_OBJECT

 public:
  static constexpr int kColumnCount = setting::kColumnCount;
  static constexpr int kDepthColumn = 6;
  static constexpr int kSizeColumn = 7;
  static constexpr int kTypeColumn = 8;
  static constexpr int kStateColumn = 9;
  static QString ColumnCaption(int column);

  explicit LinkListModel(LinkList& list, QObject* parent = nullptr);
  ~LinkListModel() override;

  int rowCount(const QModelIndex& parent = QModelIndex()) const override;
  int columnCount(const QModelIndex& parent = QModelIndex()) const override;
  QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
  bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;
  QVariant headerData(int section, Qt::Orientation orientation,
                      int role = Qt::DisplayRole) const override;

  // Publishes the rows added since the last batch now.
  void FlushInsertedRows();
  // How long added rows may wait before they are shown.
  void SetBatchInterval(int milliseconds) { flushTimer_.setInterval(milliseconds); }

  // The download-state column after the others, shown from the first download on;
  // `text` gives a row's state by its 1-based position (empty: none).
  static constexpr int kDownloadColumn = kColumnCount;
  void ShowDownloadColumn(std::function<std::string(size_t position)> text);
  bool DownloadColumnShown() const { return static_cast<bool>(downloadText_); }
  // The states of these rows (1-based positions) changed: one repaint of the column.
  void DownloadStatesChanged(const std::vector<size_t>& positions);

  // LinkListObserver.
  void RowsInserted(size_t first, size_t count) override;
  void RowsRemoved(size_t first, size_t count) override;
  void RowsChanged(size_t first, size_t last) override;
  void ListReset() override;
  void RowsReordered(const std::vector<size_t>& oldPositions) override;

 signals:
  // Rows were published at the end (for a view that follows the newest rows).
  void RowsAppended();

 private:
  QVariant CheckData(size_t position, int column, int role) const;

  LinkList& list_;
  size_t published_ = 0;  // rows the view knows of; the list may hold more
  QTimer flushTimer_;
  std::function<std::string(size_t)> downloadText_;
};

}  // namespace vendil::gui
