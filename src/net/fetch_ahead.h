// Pages fetched ahead: while a search reads one page, the pages it will read next (as its
// planner names them by position) are requested in the background through the same HTTP
// control, at most "Connections" per server and with the delay between starts, and held
// until the search reaches them. Held responses are bounded in count and in bytes (the
// control's background budget); past the bound the prefetch waits.
#pragma once

#include <cstddef>
#include <deque>
#include <functional>
#include <memory>
#include <optional>

#include "net/page_fetch.h"

namespace vendil {

class FetchAhead {
 public:
  // The request of the page at a position (1, 2, ... in the order the search reads them),
  // or nullopt when there is none (yet).
  using Planner = std::function<std::optional<PageSpec>(size_t position)>;

  FetchAhead(SearchRun& run, Planner planner);
  ~FetchAhead();  // drops every request it holds
  FetchAhead(const FetchAhead&) = delete;
  FetchAhead& operator=(const FetchAhead&) = delete;

  // The page at `position` is read now: its request when fetched ahead for the same pageRequest,
  // else null. Requests for earlier positions are dropped.
  std::unique_ptr<PageFetch> Take(size_t position, const PageSpec& pageRequest);
  // Plans the next positions and starts what the limits allow.
  void Pump();
  // Forgets every request held (they were made before something that changes what a page
  // shows, such as a sign-in); planning starts again after the last position taken.
  void Clear();
  // Frees a slot on a server for the page being read, taking back requests fetched ahead
  // for the latest positions.
  void MakeRoom(const std::string& serverKey);

  size_t Held() const { return entries_.size(); }
  size_t MaxHeld() const { return maxEntries_; }

 private:
  struct Entry {
    size_t position;
    std::unique_ptr<PageFetch> fetch;
  };

  SearchRun& run_;
  Planner planner_;
  std::deque<Entry> entries_;
  size_t nextPosition_ = 1;
  size_t connections_;
  size_t maxEntries_;
};

// May the page being read start an attempt now: a free slot on its server (taking one back
// from `ahead` if need be; one slot after a 429), the delay since the last start there
// passed and any wait the server asked for over.
bool ReadyToStart(SearchRun& run, const PageFetch& fetch, FetchAhead* ahead);

}  // namespace vendil
