// The link list model: rows in display order, a hash index from tag to position, the add
// operation with its mask test, and the list commands.
//
// The duplicate test compares URLs exactly, letter case included: two URLs that differ in
// case may name different files on most servers, so both are listed.
#include "list/link_list.h"

#include <algorithm>
#include <deque>
#include <stdexcept>
#include <string_view>
#include <unordered_set>

#include "list/url_index.h"
#include "parse/mod_url.h"
#include "parse/wildcard.h"
#include "platform/casefold.h"

namespace vendil {

struct LinkList::Impl {
  std::function<std::string()> mask;
  // A deque: appending never moves the rows already there, so the index can point at
  // their tags.
  std::deque<LinkRow> rows;
  // Tag -> 0-based row index. Removals and sorts move rows and so mark it stale; it is
  // rebuilt at the next lookup.
  mutable UrlIndex index;
  mutable bool indexStale = false;
  bool ascending = true;
  LinkListObserver* observer = nullptr;
  // The mask text read last time and its patterns, so that a search adding many links
  // does not compile the same mask for every one.
  std::string compiledMaskText;
  std::optional<PatternList> compiledMask;

  void RebuildIndexIfStale() const {
    if (!indexStale) return;
    index.Clear();
    for (size_t i = 0; i < rows.size(); ++i) index.Insert(rows[i].Tag, i);
    indexStale = false;
  }

  const PatternList& Mask() {
    std::string text = mask ? mask() : std::string();
    if (!compiledMask || text != compiledMaskText) {
      compiledMask.emplace(SplitPatterns(text));
      compiledMaskText = std::move(text);
    }
    return *compiledMask;
  }

  // Removes, in one pass from the 0-based index `from`, the rows for which `drop` holds.
  template <typename Drop>
  size_t RemoveWhere(size_t from, Drop drop) {
    size_t write = from;
    size_t removed = 0;
    size_t firstRemoved = 0;
    bool contiguous = true;
    for (size_t read = from; read < rows.size(); ++read) {
      if (drop(rows[read])) {
        if (removed == 0) firstRemoved = read;
        if (read != firstRemoved + removed) contiguous = false;
        ++removed;
      } else {
        if (write != read) rows[write] = std::move(rows[read]);
        ++write;
      }
    }
    if (removed == 0) return 0;
    rows.resize(write);
    indexStale = true;
    if (observer != nullptr) {
      if (contiguous) {
        observer->RowsRemoved(firstRemoved + 1, removed);
      } else {
        observer->ListReset();
      }
    }
    return removed;
  }
};

LinkList::LinkList(std::function<std::string()> mask) : impl_(std::make_unique<Impl>()) {
  impl_->mask = std::move(mask);
}

LinkList::~LinkList() = default;

namespace {

// Control characters never enter a row, so no list file, profile or clipboard text ever
// holds a NUL or a line break it did not write itself: in the URL-like fields they are
// percent-encoded (as a browser sends them), in the texts they become blanks.
void CleanUrlField(std::string& text) {
  if (HasControlCharacter(text)) text = EncodeControlCharacters(text);
}
void CleanTextField(std::string& text) {
  for (char& ch : text) {
    const auto byte = static_cast<unsigned char>(ch);
    if ((byte < 0x20 && ch != '\t') || byte == 0x7F) ch = ' ';
  }
}

}  // namespace

int16_t LinkList::AddLink(std::string strFileName, std::string strUrl, std::string strReferer,
                          std::string strTitle, std::string strFolder,
                          std::string strDownloadFolder, int16_t intDepth) {
  CleanUrlField(strUrl);
  impl_->RebuildIndexIfStale();
  const uint64_t hash = UrlIndex::Hash(strUrl);
  if (impl_->index.FindHashed(hash, strUrl, impl_->rows) != UrlIndex::kNone) return 0;
  CleanUrlField(strFileName);
  CleanUrlField(strReferer);
  CleanTextField(strTitle);
  CleanTextField(strFolder);
  CleanTextField(strDownloadFolder);
  LinkRow row;
  // A malformed pattern ends the matching: the row stays unchecked.
  row.Checked = impl_->Mask().MatchesAny(strUrl).value_or(false);
  row.Tag = strUrl;
  row.FileName = std::move(strFileName);
  row.Url = std::move(strUrl);
  row.Referer = std::move(strReferer);
  row.Title = std::move(strTitle);
  row.Folder = std::move(strFolder);
  row.DownloadFolder = std::move(strDownloadFolder);
  row.Depth = std::to_string(intDepth);
  const bool checked = row.Checked;
  impl_->rows.push_back(std::move(row));
  impl_->index.InsertHashed(hash, impl_->rows.size() - 1);
  if (impl_->observer != nullptr) impl_->observer->RowsInserted(impl_->rows.size(), 1);
  return checked ? 1 : -1;
}

size_t LinkList::Count() const { return impl_->rows.size(); }

const LinkRow& LinkList::Row(size_t position) const {
  if (position < 1 || position > impl_->rows.size()) {
    throw std::out_of_range("link list position out of range");
  }
  return impl_->rows[position - 1];
}

bool LinkList::Checked(size_t position) const { return Row(position).Checked; }

void LinkList::SetChecked(size_t position, bool checked) {
  if (position < 1 || position > impl_->rows.size()) {
    throw std::out_of_range("link list position out of range");
  }
  impl_->rows[position - 1].Checked = checked;
  if (impl_->observer != nullptr) impl_->observer->RowsChanged(position, position);
}

bool LinkList::IsUrlListed(const std::string& strUrl) const { return FindUrl(strUrl, 1) != 0; }

size_t LinkList::FindUrl(const std::string& url, size_t startPosition) const {
  impl_->RebuildIndexIfStale();
  const size_t found = impl_->index.Find(url, impl_->rows);
  if (found == UrlIndex::kNone) return 0;
  // Tags are unique, so the one row with this tag is the first at or after any start.
  const size_t position = found + 1;
  return position >= std::max<size_t>(startPosition, 1) ? position : 0;
}

void LinkList::Clear() {
  impl_->rows.clear();
  impl_->index.Clear();
  impl_->indexStale = false;
  if (impl_->observer != nullptr) impl_->observer->ListReset();
}

void LinkList::Remove(size_t position) {
  if (position < 1 || position > impl_->rows.size()) {
    throw std::out_of_range("link list position out of range");
  }
  impl_->rows.erase(impl_->rows.begin() + static_cast<std::ptrdiff_t>(position - 1));
  impl_->indexStale = true;
  if (impl_->observer != nullptr) impl_->observer->RowsRemoved(position, 1);
}

size_t LinkList::RemoveUrlsAfter(size_t afterPosition, const std::vector<std::string>& urls) {
  if (urls.empty() || afterPosition >= impl_->rows.size()) return 0;
  const std::unordered_set<std::string> known(urls.begin(), urls.end());
  return impl_->RemoveWhere(afterPosition,
                            [&known](const LinkRow& row) { return known.contains(row.Tag); });
}

std::optional<size_t> LinkList::SelectMatchingItems() {
  const PatternList& patterns = impl_->Mask();
  size_t matched = 0;
  size_t processed = 0;
  std::optional<size_t> result;
  for (LinkRow& row : impl_->rows) {
    const std::optional<bool> match = patterns.MatchesAny(row.Url);
    if (!match) break;
    row.Checked = *match;
    if (*match) ++matched;
    ++processed;
  }
  if (processed == impl_->rows.size()) result = matched;
  if (impl_->observer != nullptr && processed > 0) impl_->observer->RowsChanged(1, processed);
  return result;
}

void LinkList::InvertCheck() {
  for (LinkRow& row : impl_->rows) row.Checked = !row.Checked;
  if (impl_->observer != nullptr && !impl_->rows.empty()) {
    impl_->observer->RowsChanged(1, impl_->rows.size());
  }
}

void LinkList::RemoveUnchecked() {
  // One forward pass removes the same rows as the walk from the last position back to the
  // first, without moving the later rows once for every removal.
  impl_->RemoveWhere(0, [](const LinkRow& row) { return !row.Checked; });
}

namespace {

const std::string& ColumnText(const LinkRow& row, LinkColumn column) {
  switch (column) {
    case LinkColumn::FileName:
      return row.FileName;
    case LinkColumn::Url:
      return row.Url;
    case LinkColumn::Referer:
      return row.Referer;
    case LinkColumn::Title:
      return row.Title;
    case LinkColumn::Folder:
      return row.Folder;
    case LinkColumn::DownloadFolder:
      return row.DownloadFolder;
    case LinkColumn::Depth:
      break;
  }
  return row.Depth;
}

}  // namespace

void LinkList::SortByColumn(LinkColumn column) {
  impl_->ascending = !impl_->ascending;
  auto& rows = impl_->rows;
  if (rows.size() < 2) {
    if (impl_->observer != nullptr && !rows.empty()) impl_->observer->RowsReordered({0});
    return;
  }
  // Text order without regard to letter case, as the list view sorts; equal texts keep
  // their order (a stable sort in either direction).
  std::vector<std::pair<std::string, size_t>> keys;
  keys.reserve(rows.size());
  for (size_t i = 0; i < rows.size(); ++i)
    keys.emplace_back(FoldCase(ColumnText(rows[i], column)), i);
  if (impl_->ascending) {
    std::stable_sort(keys.begin(), keys.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
  } else {
    std::stable_sort(keys.begin(), keys.end(),
                     [](const auto& a, const auto& b) { return b.first < a.first; });
  }
  std::deque<LinkRow> sorted;
  std::vector<size_t> oldPositions;
  oldPositions.reserve(keys.size());
  for (const auto& key : keys) {
    sorted.push_back(std::move(rows[key.second]));
    oldPositions.push_back(key.second);
  }
  rows = std::move(sorted);
  impl_->indexStale = true;
  if (impl_->observer != nullptr) impl_->observer->RowsReordered(oldPositions);
}

bool LinkList::SortAscending() const { return impl_->ascending; }

void LinkList::SetObserver(LinkListObserver* observer) { impl_->observer = observer; }

}  // namespace vendil
