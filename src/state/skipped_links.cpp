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
  entries_.push_back(SkippedLink{std::string(link), static_cast<uint32_t>(referers_.size() - 1),
                                 reason, std::string(detail)});
}

void SkippedLinks::Append(const SkippedLinks& later) {
  for (const SkippedLink& entry : later.entries_)
    Add(entry.link, later.RefererOf(entry), entry.reason, entry.detail);
  notKept_ += later.notKept_;
}

std::string SkipReasonWords(const SkippedLink& entry) {
  std::string words = NamesOf(entry.reason).word;
  if (!entry.detail.empty()) words += " " + entry.detail;
  return words;
}

std::string SkipReasonText(const SkippedLink& entry) {
  std::string text = NamesOf(entry.reason).text;
  if (!entry.detail.empty()) text += " (" + entry.detail + ")";
  return text;
}

}  // namespace vendil
