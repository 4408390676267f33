// The link list model: rows in display order, a hash index from URL to position, the add
// operation with its mask test, and the list commands.
//
// A row is a few pointers into the list's text store: its URL, file name and title are
// copied there once, and the texts that a page's rows share (referer, folders, depth) are
// kept once for a run of rows that repeat them. The URL is the row's tag as well.
//
// The duplicate test compares URLs exactly, letter case included: two URLs that differ in
// case may name different files on most servers, so both are listed.
#include "list/link_list.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <deque>
#include <stdexcept>
#include <unordered_map>
#include <unordered_set>

#include "list/text_store.h"
#include "list/url_index.h"
#include "parse/mod_url.h"
#include "parse/wildcard.h"
#include "platform/casefold.h"

namespace vendil {
namespace {

struct StoredRow {
  const char* url;
  const char* fileName;
  const char* title;
  uint32_t urlSize;
  uint32_t fileNameSize;
  uint32_t titleSize;
  // Numbers of shared texts: the referer, the two folders and the depth.
  uint32_t referer;
  uint32_t folder;
  uint32_t downloadFolder;
  uint32_t depth;
  bool checked;

  std::string_view Url() const { return {url, urlSize}; }
};

// The texts that rows share, each kept once while consecutive rows repeat it.
enum SharedField { kReferer, kFolder, kDownloadFolder, kDepth, kSharedFields };

// Control characters never enter a row, so no list file, profile or clipboard text ever
// holds a NUL or a line break it did not write itself: in the URL-like fields they are
// percent-encoded (as a browser sends them), in the texts they become blanks.
std::string_view CleanUrlField(std::string_view text, std::string& scratch) {
  if (!HasControlCharacter(text)) return text;
  scratch = EncodeControlCharacters(text);
  return scratch;
}

bool IsTextControl(char ch) {
  const auto byte = static_cast<unsigned char>(ch);
  return (byte < 0x20 && ch != '\t') || byte == 0x7F;
}

void BlankControls(char* text, size_t size) {
  for (size_t i = 0; i < size; ++i) {
    if (IsTextControl(text[i])) text[i] = ' ';
  }
}

std::string_view CleanTextField(std::string_view text, std::string& scratch) {
  if (std::none_of(text.begin(), text.end(), IsTextControl)) return text;
  scratch.assign(text);
  BlankControls(scratch.data(), scratch.size());
  return scratch;
}

}  // namespace

// Lookup of checks by a row's URL without building a string for it.
struct TextHash {
  using is_transparent = void;
  size_t operator()(std::string_view text) const { return std::hash<std::string_view>{}(text); }
};

struct LinkList::Impl {
  std::function<std::string()> mask;
  // Checks by the URL of their row: a check survives sorts and removals of other rows.
  std::unordered_map<std::string, RowCheck, TextHash, std::equal_to<>> checks;
  std::deque<StoredRow> rows;
  TextStore texts;
  // Shared texts by number; number 0 is the empty text.
  std::vector<TextRef> shared{TextRef{}};
  std::array<uint32_t, kSharedFields> lastShared{};
  // URL -> 0-based row index. Removals and sorts move rows and so mark it stale; it is
  // rebuilt at the next lookup.
  mutable UrlIndex index;
  mutable bool indexStale = false;
  CheckedTotals checkedTotals;
  bool ascending = true;
  LinkListObserver* observer = nullptr;
  // The mask text read last time and its patterns, so that a search adding many links
  // does not compile the same mask for every one.
  std::string compiledMaskText;
  std::optional<PatternList> compiledMask;

  std::string_view UrlOf(size_t row) const { return rows[row].Url(); }

  size_t FindRow(uint32_t hash, std::string_view url) const {
    RebuildIndexIfStale();
    return index.Find(hash, url, [this](size_t row) { return UrlOf(row); });
  }

  void RebuildIndexIfStale() const {
    if (!indexStale) return;
    index.Clear();
    for (size_t i = 0; i < rows.size(); ++i) index.Insert(UrlIndex::Hash(UrlOf(i)), i);
    indexStale = false;
  }

  uint32_t Share(SharedField field, std::string_view text) {
    if (text.empty()) return 0;
    uint32_t& last = lastShared[field];
    if (shared[last].View() == text) return last;
    last = static_cast<uint32_t>(shared.size());
    shared.push_back(texts.Add(text));
    return last;
  }

  std::string_view Shared(uint32_t number) const { return shared[number].View(); }

  std::string_view Column(const StoredRow& row, LinkColumn column) const {
    switch (column) {
      case LinkColumn::FileName:
        return {row.fileName, row.fileNameSize};
      case LinkColumn::Url:
        return row.Url();
      case LinkColumn::Referer:
        return Shared(row.referer);
      case LinkColumn::Title:
        return {row.title, row.titleSize};
      case LinkColumn::Folder:
        return Shared(row.folder);
      case LinkColumn::DownloadFolder:
        return Shared(row.downloadFolder);
      case LinkColumn::Type:
        if (const RowCheck* check = CheckOf(row)) return check->type;
        return {};
      case LinkColumn::Depth:
      case LinkColumn::Size:
      case LinkColumn::State:
        break;
    }
    return Shared(row.depth);
  }

  const RowCheck* CheckOf(const StoredRow& row) const {
    if (checks.empty()) return nullptr;
    const auto found = checks.find(row.Url());
    return found == checks.end() ? nullptr : &found->second;
  }

  // A checked row's part of the totals, added or taken away as the row comes, goes or
  // changes: the status bar asks for them after every change, and counting a list of a
  // million rows each time would cost the window more than the change did.
  void Tally(const StoredRow& row, bool add) {
    if (!row.checked) return;
    const RowCheck* check = CheckOf(row);
    const bool known = check != nullptr && check->size >= 0;
    if (add) {
      ++checkedTotals.rows;
      if (known) checkedTotals.knownBytes += check->size;
      if (!known) ++checkedTotals.unknownSizes;
    } else {
      --checkedTotals.rows;
      if (known) checkedTotals.knownBytes -= check->size;
      if (!known) --checkedTotals.unknownSizes;
    }
  }

  void Recount() {
    checkedTotals = {};
    for (const StoredRow& row : rows) Tally(row, true);
  }

  // The text a column sorts by, folded for an order without regard to letter case.
  std::string SortKey(const StoredRow& row, LinkColumn column) const {
    if (column == LinkColumn::Size) {
      // Unknown sizes first, then by number: a fixed-width text sorts as the numbers do.
      const RowCheck* check = CheckOf(row);
      const int64_t size = check ? check->size : -1;
      char key[24];
      std::snprintf(key, sizeof key, "%020lld", static_cast<long long>(size + 1));
      return key;
    }
    if (column == LinkColumn::State) {
      const RowCheck* check = CheckOf(row);
      return check ? FoldCase(CheckStateText(*check)) : std::string();
    }
    return FoldCase(Column(row, column));
  }

  const PatternList& Mask() {
    std::string text = mask ? mask() : std::string();
    if (!compiledMask || text != compiledMaskText) {
      compiledMask.emplace(SplitPatterns(text));
      compiledMaskText = std::move(text);
    }
    return *compiledMask;
  }

  const StoredRow& At(size_t position) const {
    if (position < 1 || position > rows.size()) {
      throw std::out_of_range("link list position out of range");
    }
    return rows[position - 1];
  }

  // Removes, in one pass from the 0-based index `from`, the rows for which `drop` holds.
  // Their texts stay in the store until the list is cleared.
  template <typename Drop>
  size_t RemoveWhere(size_t from, Drop drop) {
    size_t write = from;
    size_t removed = 0;
    size_t firstRemoved = 0;
    bool contiguous = true;
    for (size_t read = from; read < rows.size(); ++read) {
      if (drop(rows[read])) {
        Tally(rows[read], false);
        if (removed == 0) firstRemoved = read;
        if (read != firstRemoved + removed) contiguous = false;
        ++removed;
      } else {
        if (write != read) rows[write] = rows[read];
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

int16_t LinkList::AddLink(std::string_view strFileName, std::string_view strUrl,
                          std::string_view strReferer, std::string_view strTitle,
                          std::string_view strFolder, std::string_view strDownloadFolder,
                          int16_t intDepth) {
  Impl& impl = *impl_;
  std::string urlScratch;
  std::string scratch;
  const std::string_view url = CleanUrlField(strUrl, urlScratch);
  const uint32_t hash = UrlIndex::Hash(url);
  if (impl.FindRow(hash, url) != UrlIndex::kNone) return 0;
  StoredRow row{};
  // A malformed pattern ends the matching: the row stays unchecked.
  row.checked = impl.Mask().MatchesAny(url).value_or(false);
  TextRef ref = impl.texts.Add(url);
  row.url = ref.data;
  row.urlSize = ref.size;
  ref = impl.texts.Add(CleanUrlField(strFileName, scratch));
  row.fileName = ref.data;
  row.fileNameSize = ref.size;
  // The title is cleaned in the store, where it lands anyway.
  char* title = impl.texts.AddWritable(strTitle, ref);
  BlankControls(title, ref.size);
  row.title = ref.data;
  row.titleSize = ref.size;
  row.referer = impl.Share(kReferer, CleanUrlField(strReferer, scratch));
  row.folder = impl.Share(kFolder, CleanTextField(strFolder, scratch));
  row.downloadFolder = impl.Share(kDownloadFolder, CleanTextField(strDownloadFolder, scratch));
  row.depth = impl.Share(kDepth, std::to_string(intDepth));
  const bool checked = row.checked;
  impl.rows.push_back(row);
  impl.Tally(row, true);
  impl.index.Insert(hash, impl.rows.size() - 1);
  if (impl.observer != nullptr) impl.observer->RowsInserted(impl.rows.size(), 1);
  return checked ? 1 : -1;
}

size_t LinkList::Count() const { return impl_->rows.size(); }

LinkRow LinkList::Row(size_t position) const {
  const StoredRow& stored = impl_->At(position);
  LinkRow row;
  row.FileName = impl_->Column(stored, LinkColumn::FileName);
  row.Url = stored.Url();
  row.Referer = impl_->Column(stored, LinkColumn::Referer);
  row.Title = impl_->Column(stored, LinkColumn::Title);
  row.Folder = impl_->Column(stored, LinkColumn::Folder);
  row.DownloadFolder = impl_->Column(stored, LinkColumn::DownloadFolder);
  row.Depth = impl_->Column(stored, LinkColumn::Depth);
  row.Checked = stored.checked;
  row.Tag = row.Url;
  return row;
}

std::string_view LinkList::Text(size_t position, LinkColumn column) const {
  return impl_->Column(impl_->At(position), column);
}

bool LinkList::Checked(size_t position) const { return impl_->At(position).checked; }

void LinkList::SetChecked(size_t position, bool checked) {
  impl_->At(position);
  StoredRow& row = impl_->rows[position - 1];
  impl_->Tally(row, false);
  row.checked = checked;
  impl_->Tally(row, true);
  if (impl_->observer != nullptr) impl_->observer->RowsChanged(position, position);
}

bool LinkList::SetRowCheck(std::string_view url, RowCheck check) {
  const size_t found = impl_->FindRow(UrlIndex::Hash(url), url);
  if (found == UrlIndex::kNone) return false;
  const StoredRow& row = impl_->rows[found];
  impl_->Tally(row, false);
  auto slot = impl_->checks.find(url);
  if (slot == impl_->checks.end()) {
    impl_->checks.emplace(std::string(url), std::move(check));
  } else {
    slot->second = std::move(check);
  }
  impl_->Tally(row, true);
  if (impl_->observer != nullptr) impl_->observer->RowsChanged(found + 1, found + 1);
  return true;
}

const RowCheck* LinkList::Check(size_t position) const {
  return impl_->CheckOf(impl_->At(position));
}

LinkList::CheckedTotals LinkList::CheckedRowTotals() const { return impl_->checkedTotals; }

bool LinkList::IsUrlListed(const std::string& strUrl) const { return FindUrl(strUrl, 1) != 0; }

size_t LinkList::FindUrl(const std::string& url, size_t startPosition) const {
  const size_t found = impl_->FindRow(UrlIndex::Hash(url), url);
  if (found == UrlIndex::kNone) return 0;
  // URLs are unique, so the one row with this URL is the first at or after any start.
  const size_t position = found + 1;
  return position >= std::max<size_t>(startPosition, 1) ? position : 0;
}

void LinkList::Clear() {
  Impl& impl = *impl_;
  impl.rows.clear();
  impl.rows.shrink_to_fit();
  impl.texts.Clear();
  impl.shared.assign(1, TextRef{});
  impl.shared.shrink_to_fit();
  impl.lastShared.fill(0);
  impl.index.Clear();
  impl.indexStale = false;
  impl.checks.clear();
  impl.checkedTotals = {};
  if (impl.observer != nullptr) impl.observer->ListReset();
}

void LinkList::Remove(size_t position) {
  impl_->Tally(impl_->At(position), false);
  impl_->rows.erase(impl_->rows.begin() + static_cast<std::ptrdiff_t>(position - 1));
  impl_->indexStale = true;
  if (impl_->observer != nullptr) impl_->observer->RowsRemoved(position, 1);
}

size_t LinkList::RemoveUrlsAfter(size_t afterPosition, const std::vector<std::string>& urls) {
  if (urls.empty() || afterPosition >= impl_->rows.size()) return 0;
  const std::unordered_set<std::string_view> known(urls.begin(), urls.end());
  return impl_->RemoveWhere(afterPosition,
                            [&known](const StoredRow& row) { return known.contains(row.Url()); });
}

std::optional<size_t> LinkList::SelectMatchingItems() {
  const PatternList& patterns = impl_->Mask();
  size_t matched = 0;
  size_t processed = 0;
  std::optional<size_t> result;
  for (StoredRow& row : impl_->rows) {
    const std::optional<bool> match = patterns.MatchesAny(row.Url());
    if (!match) break;
    row.checked = *match;
    if (*match) ++matched;
    ++processed;
  }
  if (processed == impl_->rows.size()) result = matched;
  impl_->Recount();
  if (impl_->observer != nullptr && processed > 0) impl_->observer->RowsChanged(1, processed);
  return result;
}

void LinkList::InvertCheck() {
  for (StoredRow& row : impl_->rows) row.checked = !row.checked;
  impl_->Recount();
  if (impl_->observer != nullptr && !impl_->rows.empty()) {
    impl_->observer->RowsChanged(1, impl_->rows.size());
  }
}

void LinkList::RemoveUnchecked() {
  // One forward pass removes the same rows as the walk from the last position back to the
  // first, without moving the later rows once for every removal.
  impl_->RemoveWhere(0, [](const StoredRow& row) { return !row.checked; });
}

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
  for (size_t i = 0; i < rows.size(); ++i) keys.emplace_back(impl_->SortKey(rows[i], column), i);
  if (impl_->ascending) {
    std::stable_sort(keys.begin(), keys.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
  } else {
    std::stable_sort(keys.begin(), keys.end(),
                     [](const auto& a, const auto& b) { return b.first < a.first; });
  }
  std::deque<StoredRow> sorted;
  std::vector<size_t> oldPositions;
  oldPositions.reserve(keys.size());
  for (const auto& key : keys) {
    sorted.push_back(rows[key.second]);
    oldPositions.push_back(key.second);
  }
  rows = std::move(sorted);
  impl_->indexStale = true;
  if (impl_->observer != nullptr) impl_->observer->RowsReordered(oldPositions);
}

bool LinkList::SortAscending() const { return impl_->ascending; }

void LinkList::SetObserver(LinkListObserver* observer) { impl_->observer = observer; }

size_t LinkList::BytesHeld() const {
  const Impl& impl = *impl_;
  return impl.rows.size() * sizeof(StoredRow) + impl.texts.BytesHeld() + impl.index.BytesHeld() +
         impl.shared.capacity() * sizeof(TextRef);
}

}  // namespace vendil
