// The record of links a search did not read as a table model: リンク, 参照元, 理由. It holds
// the record it was given, which the core replaces but never changes, so the rows stay as
// they were shown while a later search runs.
#pragma once

#include <QAbstractTableModel>
#include <memory>

#include "state/skipped_links.h"

namespace vendil::gui {

class SkippedLinksModel : public QAbstractTableModel {
  Q_OBJECT

 public:
  static constexpr int kColumnCount = 3;

  explicit SkippedLinksModel(std::shared_ptr<const SkippedLinks> record, QObject* parent = nullptr);

  int rowCount(const QModelIndex& parent = QModelIndex()) const override;
  int columnCount(const QModelIndex& parent = QModelIndex()) const override;
  QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
  QVariant headerData(int section, Qt::Orientation orientation,
                      int role = Qt::DisplayRole) const override;

  const SkippedLinks& Record() const { return *record_; }

 private:
  std::shared_ptr<const SkippedLinks> record_;
};

}  // namespace vendil::gui
