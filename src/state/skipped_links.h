// The links a search met and did not read, each with the rule that dropped it: kept in the
// order the search learnt why, up to a bound, then only counted. Referers are shared by all
// the entries of one page instead of copied per entry.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace vendil {

enum class SkipReason : uint8_t {
  kDepth,            // found on a page at the depth limit
  kOtherServer,      // on another server, and the option to follow those is off
  kUpperFolder,      // above the folder of the page that linked it
  kUrlFilter,        // the URL filter matched none of its patterns
  kContentType,      // requested, but the answer's content type is refused (detail: the type)
  kFetchFailed,      // requested, and no answer came (detail: the error)
  kRedirectRefused,  // requested, and redirected where the rules refuse (detail: the hop)
  kAlreadyQueued,    // the same page (letter case and fragment aside) is queued already
};

// Why one page was not read, with the detail its reason carries (empty where it has none).
struct SkipCause {
  SkipReason reason = SkipReason::kFetchFailed;
  std::string detail;
};

// One entry as the record hands it out: views into the record, valid while it lives.
struct SkippedLink {
  std::string_view link;  // as found on the page, fragment and all
  std::string_view referer;
  SkipReason reason = SkipReason::kDepth;
  std::string_view detail;
};

class SkippedLinks {
 public:
  static constexpr size_t kDefaultBound = 100000;

  explicit SkippedLinks(size_t bound = kDefaultBound) : bound_(bound) {}

  void Add(std::string_view link, std::string_view referer, SkipReason reason,
           std::string_view detail = {});
  void Add(std::string_view link, std::string_view referer, const SkipCause& cause) {
    Add(link, referer, cause.reason, cause.detail);
  }
  // The entries of `later` after these, under this record's bound.
  void Append(const SkippedLinks& later);

  // Entries kept, and entries met past the bound and only counted.
  size_t Count() const { return entries_.size(); }
  size_t NotKept() const { return notKept_; }
  bool Empty() const { return entries_.empty() && notKept_ == 0; }
  // 0-based.
  SkippedLink At(size_t index) const;

 private:
  // The links lie back to back in one text, so an entry costs no allocation of its own: a
  // page of a million links at the depth limit keeps its first 100,000 cheaply. Details are
  // rare (only pages requested) and have a list of their own; 0 is none.
  struct Entry {
    size_t linkEnd;
    uint32_t referer;
    uint32_t detail;
    SkipReason reason;
  };

  size_t bound_;
  std::string links_;
  std::vector<Entry> entries_;
  std::vector<std::string> referers_;
  std::vector<std::string> details_{std::string()};
  size_t notKept_ = 0;
};

// The reason as the command line writes it: a word per kind, then a blank and the detail
// where there is one ("depth", "content-type application/zip").
std::string SkipReasonWords(const SkippedLink& entry);
// The reason as the window shows it, in Japanese ("種類を除外 (application/zip)").
std::string SkipReasonText(const SkippedLink& entry);

}  // namespace vendil
