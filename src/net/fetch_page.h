// The page fetcher: one request through Form1's HTTP control with retries, the content-type
// test, the body decoded into Form1::m_strHtml, progress in the status text.
#pragma once

#include <string>

#include "net/page_fetch.h"
#include "state/search_run.h"

namespace vendil {

class FetchAhead;

// The status text of a page that could not be read.
inline constexpr char kFetchFailedText[] = "ページの取得に失敗しました。";

bool FetchPage(SearchRun& run, const std::string& strUrl, const std::string& strHeaders,
               const std::string& strPostData);
// The same for a page a search reads at `position` of its order: taken over from `ahead`
// when it was fetched ahead, and `ahead` kept busy while this page is waited for. Stop
// (run.Stopped()) ends the wait at once: the transfer is dropped and the result is false.
bool FetchPage(SearchRun& run, const PageSpec& pageRequest, FetchAhead* ahead = nullptr,
               size_t position = 0);

// The status text of a page longer than what one page may hold, read only that far.
std::string PageCutText(const std::string& url, size_t bound);

// The URL the last successful FetchPage finally read (after redirects).
const std::string& LastFetchedUrl(const SearchRun& run);

// Whether a response of this Content-Type is read, by the content-type filter of `form`.
bool IsContentTypeAccepted(const SearchRun& run, const std::string& contentType);

// A whole body as text: the charset the Content-Type or the page's <meta> declares, else
// EUC-JP while the site kind is 2, else CP932; `charsetUsed` receives its name.
std::string DecodeBody(const std::string& bytes, const std::string& contentType, int32_t site,
                       std::string* charsetUsed = nullptr);

}  // namespace vendil
