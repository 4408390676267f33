// Checking links before they are downloaded: a HEAD for each (a GET of one byte where a
// server refuses HEAD or gives no length), through the search's HTTP control with its
// connections and delay per server, redirects judged by the caller's rule before they are
// requested, and Stop honoured at every turn. Nothing of a body is read.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

#include "list/row_check.h"
#include "state/search_run.h"

namespace vendil {

struct LinkToCheck {
  std::string url;
  std::string referer;  // sent as Referer, and the page a redirect is judged against
};

struct LinkCheckCallbacks {
  // Asked before a redirect is requested: may the link at `index` be followed to `nextUrl`?
  // Null: every redirect to a web URL is followed.
  std::function<bool(size_t index, const std::string& nextUrl)> redirectAllowed;
  // Told of each link's check as it ends (in the order they end).
  std::function<void(size_t index, RowCheck check)> checked;
  // Told now and then (at most a few times a second) how many have ended.
  std::function<void(size_t ended, size_t total)> progress;
};

// Checks every link; false when Stop ended it first (the links not yet checked are not
// reported).
bool CheckLinks(SearchRun& run, const std::vector<LinkToCheck>& links,
                const LinkCheckCallbacks& callbacks);

// A short word for a transfer that got no answer ("timeout", "refused", ...), from the
// transfer's error number.
std::string TransferErrorWord(int responseCode);

// The size a response tells: Content-Range's total for a partial answer, else its
// Content-Length; -1 when it tells none.
int64_t ResponseSize(int httpStatus, const std::string& contentLength,
                     const std::string& contentRange);

}  // namespace vendil
