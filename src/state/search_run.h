// The state of one search: made by the command that starts a search, handed to the fetcher,
// the crawl, the folder scan and the script host, and gone when the search ends, however it
// ends. Nothing one search prepares (filters, content types, the page text, the site kind)
// can leak into the next one. What the user sets and sees stays in Form1, read at the time
// of use.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "state/form1.h"
#include "state/server_throttle.h"
#include "state/skipped_links.h"

namespace vendil {

class SearchRun {
 public:
  explicit SearchRun(Form1& window) : form(window), Inet1(window.Inet1) {}
  SearchRun(const SearchRun&) = delete;
  SearchRun& operator=(const SearchRun&) = delete;

  Ui& ui() { return form.ui(); }
  // Stop as the search sees it: the window's Stop command sets the flag the search polls.
  bool Stopped() const { return form.m_blnStop; }
  void SetStatusText(std::string text) { form.SetStatusText(std::move(text)); }

  // The fields, options and list the search reads and fills.
  Form1& form;
  // The program's HTTP control: it outlives a search because its cookies keep a sign-in
  // from one search to the next.
  HttpControl& Inet1;

  // The text of the page read last.
  std::string m_strHtml;
  // 0: a crawl of ordinary pages; 1 or 2: the international or Japanese briefcase site.
  int32_t m_lngSite = 0;
  // The URL filter and the content types, split once when the crawl starts.
  std::vector<std::string> m_astrUrlFilters;
  std::vector<std::string> m_astrContentTypes;
  bool m_blnContentTypesPrepared = false;
  // The URL the last successful fetch finally read, after redirects, and the charset its
  // body was read in.
  std::string lastFetchedUrl;
  std::string lastFetchedCharset;
  // The start page could not be read: an unreachable page is not an empty one.
  bool startPageFailed = false;
  // Servers that asked this search to slow down; the next search starts with none.
  ServerThrottle throttle;
  // Every link the crawl met and did not read, with the rule that dropped it.
  SkippedLinks skipped;
  // Why the page fetched last was not read, as the fetcher tells it when the fetch ends.
  std::optional<SkipCause> pageNotRead;
};

}  // namespace vendil
