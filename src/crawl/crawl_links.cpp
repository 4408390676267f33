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
#include "parse/mod_string.h"
#include "parse/mod_url.h"
#include "parse/wildcard.h"

namespace vendil {

namespace {

const char kCancelled[] = "キャンセルされました。";
const char kFoundSuffix[] = " 個のリンクが見つかりました。";

std::string HeaderText(const Form1& form, const std::string& pageUrl) {
  return form.userAgent + "\r\nReferer: " + pageUrl + "\r\n";
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

// The server and folder rules of a link found on the page of `base`. Hosts and folders are
// compared as a browser reads them, so "HOST", "host:80" and "0x7f.1" are not told apart
// from "host" and "127.0.0.1", nor "/a/./b/" from "/a/b/".
bool FollowsServerAndFolderRules(const Form1& form, const std::string& strUrl,
                                 const PageBase& base) {
  if (CanonicalHost(strUrl) != base.host) return form.mnuOption_DifferentServer.Checked();
  if (!form.mnuOption_ParentDirectory.Checked()) {
    const std::string dir = CanonicalDirectory(strUrl);
    if (dir.compare(0, base.directory.size(), base.directory) != 0) return false;
  }
  return true;
}

bool IsUrlToFollowFrom(Form1& form, const std::string& strUrl, const PageBase& base) {
  if (!form.txtGetUrls.Text().empty()) {
    // A malformed pattern counts as no match.
    if (MatchesAny(form.m_astrUrlFilters, strUrl).value_or(false) == false) return false;
  }
  return FollowsServerAndFolderRules(form, strUrl, base);
}

// The request for a queued page. A redirect is judged as a link to the place it leads
// would be on the page that linked it: to another server or above the start folder it is
// not read unless the options allow it.
PageSpec QueuedPageSpec(const Form1& form, const cLinkQue& entry, const PageBase& linkedFrom) {
  PageSpec pageRequest;
  pageRequest.url = entry.Url;
  pageRequest.headers = HeaderText(form, entry.Url);
  pageRequest.queryCharset = linkedFrom.charset;
  // The bases live as long as the crawl, longer than any request of it.
  pageRequest.redirectRule = [&form, base = &linkedFrom](const std::string& finalUrl) {
    return FollowsServerAndFolderRules(form, finalUrl, *base);
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
bool StopPressed(Form1& form) {
  form.ui().Yield();
  return form.m_blnStop;
}

LinkCollection CollectLinks(Form1& form, const std::string& pageUrl, const std::string& baseUrl) {
  LinkCollection links;
  // A link the page repeats becomes no second row or queue entry, so it is not collected
  // twice: a page of a million copies of one link costs one link, not a million.
  std::unordered_set<std::string_view> seen;
  cGetHtmlTag scanner;
  scanner.CustomTags(form.m_strCustomTags);
  std::string url, text;
  bool found = scanner.GetTagFromHtml(form.m_lngSearchTags, url, &text, form.m_strHtml, baseUrl);
  size_t scanned = 0;
  auto nextLook = std::chrono::steady_clock::now() + kFindingYield;
  for (; found; found = scanner.GetTagFromHtml(form.m_lngSearchTags, url, &text)) {
    if (++scanned % kLinksPerClockLook == 0 && std::chrono::steady_clock::now() >= nextLook) {
      if (StopPressed(form)) break;
      nextLook = std::chrono::steady_clock::now() + kFindingYield;
    }
    if (seen.contains(url)) continue;
    auto link = std::make_shared<AddLinkClass>();
    link->Url = url;
    link->UrlFromPage = true;
    link->Title = StripTags(text, true, true);
    link->Referer = pageUrl;
    seen.insert(link->Url);  // the object's own text: it stays put while the page is read
    links.push_back(std::move(link));
  }
  return links;
}

}  // namespace

bool CrawlLinks(Form1& form) {
  form.m_blnStop = false;
  int64_t linksAdded = 0;
  int64_t linksChecked = 0;
  size_t queueIndex = 0;
  int32_t level = 0;
  int pagesRead = 0;

  const int32_t depthLimit = DepthLimitFromText(form.txtDepth.Text());
  form.m_astrUrlFilters = SplitText(form.txtGetUrls.Text(), ";");
  form.m_astrContentTypes = SplitText(form.txtContentType.Text(), ";");
  form.m_blnContentTypesPrepared = true;

  LinkQueue queue;
  form.txtUrl.SetText(TrimBlanks(RemoveCrLfPairs(form.txtUrl.Text())));
  std::string pageUrl = form.txtUrl.Text();
  form.m_lngSite = 1;

  std::unique_ptr<PageScript> script = PrepareScript(form);
  // The base of every page read, and for each queued page the page that linked it.
  std::deque<PageBase> pageBases;  // a deque: growing never moves the bases
  std::vector<uint32_t> linkedFrom;
  PageSpec pageRequest;
  pageRequest.url = pageUrl;
  pageRequest.headers = HeaderText(form, pageUrl);
  // The pages queued after the one being read are fetched ahead; the loop still takes them
  // strictly in queue order, so what follows sees what one-at-a-time fetching gives.
  FetchAhead ahead(form, [&](size_t position) -> std::optional<PageSpec> {
    if (position > queue.Count()) return std::nullopt;
    return QueuedPageSpec(form, queue.Item(position), pageBases[linkedFrom[position - 1]]);
  });

  auto stopped = [&form] {
    form.Inet1.Cancel();
    form.SetStatusText(kCancelled);
    return false;
  };
  for (;;) {
    const bool fetched = FetchPage(form, pageRequest, &ahead, queueIndex);
    // A fetch ended by Stop fails: the crawl ends here as stopped, whatever the page did.
    if (form.m_blnStop) return stopped();
    if (!fetched) {
      if (queueIndex == 0) form.startPageFailed = true;
      form.SetStatusText(kFetchFailedText);
      form.Inet1.Cancel();
    } else {
      ++pagesRead;
      // After a redirect the page's relative links belong to the URL finally read.
      std::string baseUrl = LastFetchedUrl(form);
      if (baseUrl.empty()) baseUrl = pageUrl;
      LinkCollection links = CollectLinks(form, pageUrl, baseUrl);
      if (form.m_blnStop) return stopped();
      pageBases.push_back(PageBaseOf(baseUrl, form.lastFetchedCharset));
      const PageBase& base = pageBases.back();
      const auto baseIndex = static_cast<uint32_t>(pageBases.size() - 1);
      if (script) script->RunOnPage(pageUrl, form.m_strHtml, links);

      const size_t count = links.size();
      for (size_t i = 0; i < count; ++i) {
        if ((i + 1) % kLinksPerYield == 0 && StopPressed(form)) return stopped();
        if (!links[i]) continue;
        AddLinkClass& link = *links[i];
        // "page.html#intro" and "page.html#usage" are one resource: one row, one fetch.
        if (link.UrlFromPage) link.Url = UrlWithoutFragment(link.Url);
        if (link.Folder.empty())
          link.Folder = form.m_blnMultiCheck ? form.txtSaveFolder.Text() : "";
        if (link.FileName.empty()) link.FileName = GetUrlFileName(link.Url);
        // An entry queued at the depth limit would end the crawl when its turn came, never
        // read: links of such pages are not queued at all (same pages read, same rows).
        if (level < depthLimit && IsUrlToFollowFrom(form, link.Url, base) &&
            queue.Add(link.Url, link.Referer, link.Title, link.FileName, level)) {
          linkedFrom.push_back(baseIndex);
        }
        // The row takes the link's texts; they are copied only while the script still holds
        // the link (a script variable may keep it for a later page).
        const bool sole = links[i].use_count() == 1;
        auto give = [sole](std::string& text) -> std::string {
          if (sole) return std::move(text);
          return text;
        };
        const int16_t added =
            form.lvwUrls.AddLink(give(link.FileName), give(link.Url), give(link.Referer),
                                 give(link.Title), "", give(link.Folder), ListDepth(level));
        if (added == 1) {
          ++linksAdded;
          ++linksChecked;
        } else if (added == -1) {
          ++linksAdded;
        }
      }
      form.ui().Progress(
          pagesRead,
          static_cast<int>(std::min<size_t>(queue.Count() - std::min(queue.Count(), queueIndex),
                                            std::numeric_limits<int>::max())),
          static_cast<int>(
              std::min<size_t>(form.lvwUrls.Count(), std::numeric_limits<int>::max())));
    }

    // A Stop pressed while the page was handled ends the crawl here, also after its last
    // page, when no further wait would notice it.
    if (StopPressed(form)) return stopped();
    ++queueIndex;
    if (queueIndex > queue.Count()) break;
    const cLinkQue& next = queue.Item(queueIndex);
    if (next.Lebel >= depthLimit) break;
    level = next.Lebel + 1;
    pageUrl = next.Url;
    pageRequest = QueuedPageSpec(form, next, pageBases[linkedFrom[queueIndex - 1]]);
  }

  form.SetStatusText(std::to_string(linksChecked) + "/" + std::to_string(linksAdded) +
                     kFoundSuffix);
  form.Inet1.Cancel();
  form.m_astrUrlFilters.clear();
  form.m_astrContentTypes.clear();
  form.m_blnContentTypesPrepared = false;
  return true;
}

bool IsUrlToFollow(Form1& form, const std::string& strUrl, const std::string& strBaseUrl) {
  return IsUrlToFollowFrom(form, strUrl, PageBaseOf(strBaseUrl));
}

}  // namespace vendil
