// The link list that every search fills: rows, the one add operation with its duplicate
// test and mask, lookup by URL through a hash index, and the list commands. Rows keep
// their texts compactly; readers get them as a LinkRow of strings.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "list/row_check.h"

namespace vendil {

// A row as its readers see it: a copy of its texts.
struct LinkRow {
  std::string FileName;
  std::string Url;
  std::string Referer;
  std::string Title;
  std::string Folder;
  std::string DownloadFolder;
  std::string Depth;
  bool Checked = false;
  std::string Tag;  // the URL exactly as it was passed to AddLink
};

// Column numbers in display order (1-based, as the list shows them).
enum class LinkColumn {
  FileName = 1,
  Url = 2,
  Referer = 3,
  Title = 4,
  Folder = 5,
  DownloadFolder = 6,
  Depth = 7,
  // What a check of the rows learnt (empty until then).
  Size = 8,
  Type = 9,
  State = 10
};

// Told about every change so a view can follow the rows. Positions are 1-based.
class LinkListObserver {
 public:
  virtual ~LinkListObserver() = default;
  virtual void RowsInserted(size_t first, size_t count) = 0;
  virtual void RowsRemoved(size_t first, size_t count) = 0;
  virtual void RowsChanged(size_t first, size_t last) = 0;  // check marks
  virtual void ListReset() = 0;
  // The rows were put in a new order: row i (0-based) is now the row that stood at
  // `oldPositions[i]`. An observer that tracks no positions may treat it as a change of all.
  virtual void RowsReordered(const std::vector<size_t>& oldPositions) {
    if (!oldPositions.empty()) RowsChanged(1, oldPositions.size());
  }
};

class LinkList {
 public:
  // `mask` gives the text of the file-name mask at the moment of use.
  explicit LinkList(std::function<std::string()> mask);
  ~LinkList();
  LinkList(const LinkList&) = delete;
  LinkList& operator=(const LinkList&) = delete;

  // 0: URL already listed, nothing changed; 1: added and checked; -1: added unchecked.
  // The texts are copied into the list's own store.
  int16_t AddLink(std::string_view strFileName, std::string_view strUrl,
                  std::string_view strReferer, std::string_view strTitle,
                  std::string_view strFolder, std::string_view strDownloadFolder, int16_t intDepth);

  size_t Count() const;
  LinkRow Row(size_t position) const;  // 1-based
  // One text of a row without a copy; valid until the list changes.
  std::string_view Text(size_t position, LinkColumn column) const;
  bool Checked(size_t position) const;
  void SetChecked(size_t position, bool checked);

  // What a check learnt of the row listing `url`; false (nothing kept) when no row lists
  // it. The row is told to its observer as changed.
  bool SetRowCheck(std::string_view url, RowCheck check);
  // The check of a row; null when it was never checked.
  const RowCheck* Check(size_t position) const;
  struct CheckedTotals {
    size_t rows = 0;          // rows with a check mark
    int64_t knownBytes = 0;   // the sum of their sizes that a check learnt
    size_t unknownSizes = 0;  // those of them whose size is not known
  };
  CheckedTotals CheckedRowTotals() const;

  bool IsUrlListed(const std::string& strUrl) const;
  // The first row at or after `startPosition` whose tag equals `url`; 0 when none.
  size_t FindUrl(const std::string& url, size_t startPosition = 1) const;

  void Clear();
  void Remove(size_t position);
  // Removes every row after `afterPosition` whose tag is in `urls`; returns how many.
  size_t RemoveUrlsAfter(size_t afterPosition, const std::vector<std::string>& urls);

  // Re-applies the mask to every row; the number of rows that matched, or nullopt when the
  // mask is malformed (rows before the fault keep their new marks).
  std::optional<size_t> SelectMatchingItems();
  void InvertCheck();
  void RemoveUnchecked();
  // Flips the shared sort order, then sorts once by the column's text (by the number for
  // the size).
  void SortByColumn(LinkColumn column);
  bool SortAscending() const;

  void SetObserver(LinkListObserver* observer);
  // What the rows, their texts and the index take in memory, in bytes.
  size_t BytesHeld() const;

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

}  // namespace vendil
