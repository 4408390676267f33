// The breadth-first link crawl: reads the start page, lists every link of the chosen tags,
// and follows the links that pass the filter, server and directory rules down to the depth
// limit.
#include "crawl/crawl_links.h"

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <deque>
#include <limits>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

#include "crawl/add_link_class.h"
#include "crawl/add_url_script.h"
#include "crawl/depth_value.h"
#include "crawl/link_queue.h"
#include "net/fetch_ahead.h"
#include "net/fetch_page.h"
#include "parse/c_get_html_tag.h"
#include "parse/decoded_name.h"
#include "parse/mod_string.h"
#include "parse/mod_url.h"
#include "parse/wildcard.h"

namespace vendil {

namespace {

const char kCancelled[] = "キャンセルされました。";
const char kFoundSuffix[] = " 個のリンクが見つかりました。";

std::string HeaderText(const SearchRun& run, const std::string& pageUrl) {
  return run.form.userAgent + "\r\nReferer: " + pageUrl + "\r\n";
}

std::string RemoveCrLfPairs(const std::string& text) {
  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
      ++i;
      continue;
    }
    out.push_back(text[i]);
  }
  return out;
}

// The list takes a 16-bit depth; deeper levels are shown at its largest value.
int16_t ListDepth(int32_t level) {
  return static_cast<int16_t>(std::min<int32_t>(level, std::numeric_limits<int16_t>::max()));
}

// The server and folder of the page whose links are judged, worked out once per page.
struct PageBase {
  std::string host;
  std::string directory;
  std::string charset;  // the page's own, in which its links' queries are sent
};

PageBase PageBaseOf(const std::string& baseUrl, std::string charset = {}) {
  return {CanonicalHost(baseUrl), CanonicalDirectory(baseUrl), std::move(charset)};
}

// The server or folder rule that keeps a link found on the page of `base` from being
// followed, if any. Hosts and folders are compared as a browser reads them, so "HOST",
// "host:80" and "0x7f.1" are not told apart from "host" and "127.0.0.1", nor "/a/./b/" from
// "/a/b/".
std::optional<SkipReason> ServerOrFolderRuleAgainst(const SearchRun& run, const std::string& strUrl,
                                                    const PageBase& base) {
  if (CanonicalHost(strUrl) != base.host) {
    if (run.form.mnuOption_DifferentServer.Checked()) return std::nullopt;
    return SkipReason::kOtherServer;
  }
  if (!run.form.mnuOption_ParentDirectory.Checked()) {
    const std::string dir = CanonicalDirectory(strUrl);
    if (dir.compare(0, base.directory.size(), base.directory) != 0) return SkipReason::kUpperFolder;
  }
  return std::nullopt;
}

// The rule that keeps a link found on the page of `base` from being followed, if any.
std::optional<SkipReason> RuleAgainst(SearchRun& run, const std::string& strUrl,
                                      const PageBase& base) {
  if (!run.form.txtGetUrls.Text().empty()) {
    // A malformed pattern counts as no match.
    if (MatchesAny(run.m_astrUrlFilters, strUrl).value_or(false) == false)
      return SkipReason::kUrlFilter;
  }
  return ServerOrFolderRuleAgainst(run, strUrl, base);
}

// The request for a queued page. A redirect is judged as a link to the place it leads
// would be on the page that linked it: to another server or above the start folder it is
// not read unless the options allow it.
PageSpec QueuedPageSpec(const SearchRun& run, const cLinkQue& entry, const PageBase& linkedFrom) {
  PageSpec pageRequest;
  pageRequest.url = entry.Url;
  pageRequest.headers = HeaderText(run, entry.Url);
  pageRequest.queryCharset = linkedFrom.charset;
  // The bases live as long as the crawl, longer than any request of it.
  pageRequest.redirectRule = [&run, base = &linkedFrom](const std::string& finalUrl) {
    return !ServerOrFolderRuleAgainst(run, finalUrl, *base);
  };
  return pageRequest;
}

// Links handled between two looks at the event queue: Stop is honoured within a page of a
// million links too. While links are found, the queue is looked at by the clock, as a page
// may hold long stretches between its links.
constexpr size_t kLinksPerYield = 4096;
constexpr size_t kLinksPerClockLook = 64;
constexpr auto kFindingYield = std::chrono::milliseconds(20);

// Lets the event loop run and tells whether Stop was pressed meanwhile.
bool StopPressed(SearchRun& run) {
  run.ui().Yield();
  return run.Stopped();
}

// Calls `each(url, text)` for every link of the page, in page order, until Stop is pressed
// or `each` gives false. The scanner reads the page in place; `url` and `text` are reused
// from one link to the next.
template <typename Each>
void ScanLinks(SearchRun& run, const std::string& baseUrl, Each each) {
  cGetHtmlTag scanner;
  scanner.CustomTags(run.form.m_strCustomTags);
  std::string url, text;
  bool found = scanner.GetTagFromHtml(run.form.m_lngSearchTags, url, &text, run.m_strHtml, baseUrl);
  size_t scanned = 0;
  auto nextLook = std::chrono::steady_clock::now() + kFindingYield;
  for (; found; found = scanner.GetTagFromHtml(run.form.m_lngSearchTags, url, &text)) {
    if (++scanned % kLinksPerClockLook == 0 && std::chrono::steady_clock::now() >= nextLook) {
      if (StopPressed(run)) return;
      nextLook = std::chrono::steady_clock::now() + kFindingYield;
    }
    if (!each(url, text)) return;
  }
}

LinkCollection CollectLinks(SearchRun& run, const std::string& pageUrl,
                            const std::string& baseUrl) {
  LinkCollection links;
  // A link the page repeats becomes no second row or queue entry, so it is not collected
  // twice: a page of a million copies of one link costs one link, not a million.
  std::unordered_set<std::string_view> seen;
  ScanLinks(run, baseUrl, [&](const std::string& url, const std::string& text) {
    if (seen.contains(url)) return true;
    auto link = std::make_shared<AddLinkClass>();
    link->Url = url;
    link->UrlFromPage = true;
    link->Title = StripTags(text, true, true);
    link->Referer = pageUrl;
    seen.insert(link->Url);  // the object's own text: it stays put while the page is read
    links.push_back(std::move(link));
    return true;
  });
  return links;
}

}  // namespace

bool CrawlLinks(SearchRun& run) {
  run.form.m_blnStop = false;
  int64_t linksAdded = 0;
  int64_t linksChecked = 0;
  size_t queueIndex = 0;
  int32_t level = 0;
  int pagesRead = 0;

  const int32_t depthLimit = DepthLimitFromText(run.form.txtDepth.Text());
  run.m_astrUrlFilters = SplitText(run.form.txtGetUrls.Text(), ";");
  run.m_astrContentTypes = SplitText(run.form.txtContentType.Text(), ";");
  run.m_blnContentTypesPrepared = true;

  LinkQueue queue;
  run.form.txtUrl.SetText(TrimBlanks(RemoveCrLfPairs(run.form.txtUrl.Text())));
  std::string pageUrl = run.form.txtUrl.Text();
  run.m_lngSite = 1;

  std::unique_ptr<PageScript> script = PrepareScript(run);
  // The base of every page read, and for each queued page the page that linked it.
  std::deque<PageBase> pageBases;  // a deque: growing never moves the bases
  std::vector<uint32_t> linkedFrom;
  PageSpec pageRequest;
  pageRequest.url = pageUrl;
  pageRequest.headers = HeaderText(run, pageUrl);
  // The pages queued after the one being read are fetched ahead; the loop still takes them
  // strictly in queue order, so what follows sees what one-at-a-time fetching gives.
  FetchAhead ahead(run, [&](size_t position) -> std::optional<PageSpec> {
    if (position > queue.Count()) return std::nullopt;
    return QueuedPageSpec(run, queue.Item(position), pageBases[linkedFrom[position - 1]]);
  });

  auto reportProgress = [&](size_t pagesLeft) {
    run.ui().Progress(
        pagesRead, static_cast<int>(std::min<size_t>(pagesLeft, std::numeric_limits<int>::max())),
        static_cast<int>(
            std::min<size_t>(run.form.lvwUrls.Count(), std::numeric_limits<int>::max())));
  };
  auto stopped = [&run] {
    run.Inet1.Cancel();
    run.SetStatusText(kCancelled);
    return false;
  };

  for (;;) {
    run.pageNotRead.reset();
    const bool fetched = FetchPage(run, pageRequest, &ahead, queueIndex);
    // A fetch ended by Stop fails: the crawl ends here as stopped, whatever the page did.
    if (run.Stopped()) return stopped();
    if (!fetched) {
      // An exception ends a fetch before the fetcher says why; the status text then does.
      run.skipped.Add(
          pageUrl, queueIndex == 0 ? std::string() : queue.Item(queueIndex).Referer,
          run.pageNotRead.value_or(SkipCause{SkipReason::kFetchFailed, run.form.StatusText()}));
      if (queueIndex == 0) run.startPageFailed = true;
      run.SetStatusText(kFetchFailedText);
      run.Inet1.Cancel();
    } else {
      ++pagesRead;
      // After a redirect the page's relative links belong to the URL finally read.
      std::string baseUrl = LastFetchedUrl(run);
      if (baseUrl.empty()) baseUrl = pageUrl;
      pageBases.push_back(PageBaseOf(baseUrl, run.lastFetchedCharset));
      const PageBase& base = pageBases.back();
      const auto baseIndex = static_cast<uint32_t>(pageBases.size() - 1);
      size_t handled = 0;
      // False once Stop was pressed: the rest of the page's links are not handled.
      auto handOver = [&](AddLinkClass& link) {
        if (++handled % kLinksPerYield == 0 && StopPressed(run)) return false;
        // "page.html#intro" and "page.html#usage" are one resource: one row, one fetch.
        // The record of links not read keeps the link as the page wrote it.
        std::string asFound;
        if (link.UrlFromPage && link.Url.find('#') != std::string::npos) {
          asFound = link.Url;
          link.Url = UrlWithoutFragment(link.Url);
        }
        auto skip = [&](SkipReason reason) {
          run.skipped.Add(asFound.empty() ? link.Url : asFound, link.Referer, reason);
        };
        if (link.Folder.empty())
          link.Folder = run.form.m_blnMultiCheck ? run.form.txtSaveFolder.Text() : "";
        // The name a person reads and a manager saves under; the URL stays encoded.
        if (link.FileName.empty()) link.FileName = DecodedFileName(GetUrlFileName(link.Url));
        // An entry queued at the depth limit would end the crawl when its turn came, never
        // read: links of such pages are not queued at all (same pages read, same rows).
        if (level >= depthLimit) {
          skip(SkipReason::kDepth);
        } else if (const std::optional<SkipReason> rule = RuleAgainst(run, link.Url, base)) {
          skip(*rule);
        } else if (queue.Add(link.Url, link.Referer, link.Title, link.FileName, level)) {
          linkedFrom.push_back(baseIndex);
        } else {
          skip(SkipReason::kAlreadyQueued);
        }
        const int16_t added = run.form.lvwUrls.AddLink(
            link.FileName, link.Url, link.Referer, link.Title, "", link.Folder, ListDepth(level));
        if (added == 1) {
          ++linksAdded;
          ++linksChecked;
        } else if (added == -1) {
          ++linksAdded;
        }
        return true;
      };
      if (script) {
        // The script sees all of the page's links at once and may change or add to them.
        LinkCollection links = CollectLinks(run, pageUrl, baseUrl);
        if (run.Stopped()) return stopped();
        script->RunOnPage(pageUrl, run.m_strHtml, links);
        const size_t count = links.size();
        for (size_t i = 0; i < count; ++i) {
          if (links[i] && !handOver(*links[i])) return stopped();
        }
      } else {
        // Without a script each link is handed over as it is found, through one reused
        // link: a page of a million links is never held as a million objects.
        AddLinkClass link;
        ScanLinks(run, baseUrl, [&](const std::string& url, const std::string& text) {
          link.Url = url;
          link.UrlFromPage = true;
          link.Title = StripTags(text, true, true);
          link.Referer = pageUrl;
          link.Folder.clear();
          link.FileName.clear();
          return handOver(link);
        });
        if (run.Stopped()) return stopped();
      }
    }
    // A page refused or failed is done as much as one read: the count left goes down.
    reportProgress(queue.Count() - std::min(queue.Count(), queueIndex));

    // A Stop pressed while the page was handled ends the crawl here, also after its last
    // page, when no further wait would notice it.
    if (StopPressed(run)) return stopped();
    ++queueIndex;
    if (queueIndex > queue.Count()) break;
    const cLinkQue& next = queue.Item(queueIndex);
    if (next.Lebel >= depthLimit) break;
    level = next.Lebel + 1;
    pageUrl = next.Url;
    pageRequest = QueuedPageSpec(run, next, pageBases[linkedFrom[queueIndex - 1]]);
  }

  // Whatever is still queued is below the depth limit and never read: nothing is left.
  reportProgress(0);
  run.SetStatusText(std::to_string(linksChecked) + "/" + std::to_string(linksAdded) + kFoundSuffix);
  run.Inet1.Cancel();
  return true;
}

bool IsUrlToFollow(SearchRun& run, const std::string& strUrl, const std::string& strBaseUrl) {
  return !RuleAgainst(run, strUrl, PageBaseOf(strBaseUrl));
}

bool IsRedirectAllowed(const SearchRun& run, const std::string& nextUrl,
                       const std::string& linkedFrom) {
  return !ServerOrFolderRuleAgainst(run, nextUrl, PageBaseOf(linkedFrom));
}

}  // namespace vendil
