// Fetching one page: its attempts driven while the window stays responsive, Stop honoured
// at every turn, the status texts of failed attempts in order, and the body decoded.
#include "net/fetch_page.h"

#include <exception>
#include <memory>

#include "net/fetch_ahead.h"
#include "parse/wildcard.h"
#include "platform/casefold.h"
#include "platform/codec.h"

namespace vendil {
namespace {

// How long one turn of the wait may block in the HTTP control before the event loop runs.
constexpr int kWaitMilliseconds = 5;

// Takes what the attempts left into the form; true for a page read.
bool Conclude(SearchRun& run, PageFetch& fetch) {
  if (!fetch.HasBody()) return false;
  const bool read = fetch.Result() == PageFetch::Outcome::Succeeded;
  run.m_strHtml.clear();
  const std::string bytes = fetch.TakeBody();
  std::string charset;
  run.m_strHtml = DecodeBody(bytes, fetch.ContentType(), run.m_lngSite, &charset);
  if (read) {
    run.lastFetchedUrl = fetch.FinalUrl().empty() ? fetch.Request().url : fetch.FinalUrl();
    run.lastFetchedCharset = charset;
  }
  return read;
}

}  // namespace

bool IsContentTypeAccepted(const SearchRun& run, const std::string& contentType) {
  const std::string& filter = run.form.txtContentType.Text();
  if (filter.empty()) return ContainsNoCase(contentType, "text");
  // A malformed pattern met before a match refuses, as no match does.
  if (run.m_blnContentTypesPrepared)
    return MatchesAny(run.m_astrContentTypes, contentType).value_or(false);
  return MatchesAny(SplitPatterns(filter), contentType).value_or(false);
}

std::string DecodeBody(const std::string& bytes, const std::string& contentType, int32_t site,
                       std::string* charsetUsed) {
  std::string charset = CharsetFromContentType(contentType);
  if (charset.empty()) charset = CharsetFromMeta(bytes);
  if (!charset.empty()) {
    std::string text = DecodeCharset(bytes, charset);
    if (charsetUsed) *charsetUsed = std::move(charset);
    return text;
  }
  if (charsetUsed) *charsetUsed = site == 2 ? "EUC-JP" : "Shift_JIS";
  if (site == 2) return EucJpToUtf8(bytes);
  return AnsiToUtf8(bytes);
}

bool FetchPage(SearchRun& run, const std::string& strUrl, const std::string& strHeaders,
               const std::string& strPostData) {
  PageSpec pageRequest;
  pageRequest.url = strUrl;
  pageRequest.headers = strHeaders;
  pageRequest.postData = strPostData;
  return FetchPage(run, pageRequest, nullptr, 0);
}

bool FetchPage(SearchRun& run, const PageSpec& pageRequest, FetchAhead* ahead, size_t position) {
  try {
    if (pageRequest.postData.empty()) run.SetStatusText("Getting " + pageRequest.url + "...");
    run.ui().Yield();

    std::unique_ptr<PageFetch> fetch = ahead ? ahead->Take(position, pageRequest) : nullptr;
    if (!fetch) fetch = std::make_unique<PageFetch>(run, pageRequest, false);
    for (;;) {
      fetch->Update();
      for (std::string& text : fetch->TakeStatusTexts()) run.SetStatusText(std::move(text));
      // Stop ends the wait whatever the server does (silent, stalled, dripping).
      if (run.Stopped()) return false;  // the transfer goes with `fetch`
      if (fetch->Finished()) break;
      if (fetch->WantsAttempt() && ReadyToStart(run, *fetch, ahead)) {
        if (!fetch->StartAttempt()) return false;
        continue;
      }
      run.Inet1.Drive(kWaitMilliseconds);
      if (ahead) ahead->Pump();
      run.ui().Yield();
    }
    if (ahead) ahead->Pump();
    return Conclude(run, *fetch);
  } catch (const std::exception& e) {
    // The page is not read; the status says why before the search reports the failure.
    run.SetStatusText(std::string(kFetchFailedText) + " " + e.what());
    return false;
  }
}

const std::string& LastFetchedUrl(const SearchRun& run) { return run.lastFetchedUrl; }

}  // namespace vendil
