// The record of links not read: entries up to the bound, a count past it, and the reasons
// in the words of the command line and the window.
#include "state/skipped_links.h"

#include <iterator>

namespace vendil {
namespace {

struct ReasonNames {
  const char* word;
  const char* text;
};

// In the order of SkipReason.
constexpr ReasonNames kNames[] = {
    {"depth", "深さの制限"},
    {"other-server", "別のサーバー"},
    {"upper-folder", "上位のフォルダー"},
    {"url-filter", "URL フィルター"},
    {"content-type", "種類を除外"},
    {"fetch-failed", "取得に失敗"},
    {"redirect-refused", "転送を拒否"},
    {"already-queued", "登録済み"},
};
static_assert(std::size(kNames) == static_cast<size_t>(SkipReason::kAlreadyQueued) + 1);

const ReasonNames& NamesOf(SkipReason reason) { return kNames[static_cast<size_t>(reason)]; }

}  // namespace

void SkippedLinks::Add(std::string_view link, std::string_view referer, SkipReason reason,
                       std::string_view detail) {
  if (entries_.size() >= bound_) {
    ++notKept_;
    return;
  }
  // The entries of one page come together: comparing with the last referer shares it.
  if (referers_.empty() || referers_.back() != referer) referers_.emplace_back(referer);
  uint32_t detailIndex = 0;
  if (!detail.empty()) {
    detailIndex = static_cast<uint32_t>(details_.size());
    details_.emplace_back(detail);
  }
  links_ += link;
  entries_.push_back(
      Entry{links_.size(), static_cast<uint32_t>(referers_.size() - 1), detailIndex, reason});
}

SkippedLink SkippedLinks::At(size_t index) const {
  const Entry& entry = entries_[index];
  const size_t start = index == 0 ? 0 : entries_[index - 1].linkEnd;
  return {std::string_view(links_).substr(start, entry.linkEnd - start), referers_[entry.referer],
          entry.reason, details_[entry.detail]};
}

void SkippedLinks::Append(const SkippedLinks& later) {
  for (size_t i = 0; i < later.Count(); ++i) {
    const SkippedLink entry = later.At(i);
    Add(entry.link, entry.referer, entry.reason, entry.detail);
  }
  notKept_ += later.notKept_;
}

std::string SkipReasonWords(const SkippedLink& entry) {
  std::string words = NamesOf(entry.reason).word;
  if (!entry.detail.empty()) {
    words += ' ';
    words += entry.detail;
  }
  return words;
}

std::string SkipReasonText(const SkippedLink& entry) {
  std::string text = NamesOf(entry.reason).text;
  if (!entry.detail.empty()) {
    text += " (";
    text += entry.detail;
    text += ')';
  }
  return text;
}

}  // namespace vendil
