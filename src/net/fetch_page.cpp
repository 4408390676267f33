// Fetching one page: its attempts driven while the window stays responsive, Stop honoured
// at every turn, the status texts of failed attempts and of waits a server asked for, in
// order, and the body decoded.
#include "net/fetch_page.h"

#include <chrono>
#include <exception>
#include <memory>
#include <optional>
#include <string_view>

#include "net/fetch_ahead.h"
#include "net/slow_down_retries.h"
#include "parse/wildcard.h"
#include "platform/casefold.h"
#include "platform/codec.h"

namespace vendil {
namespace {

// How long one turn of the wait may block in the HTTP control before the event loop runs.
constexpr int kWaitMilliseconds = 5;

// A long body is decoded in pieces of about this size, with a look at the event queue
// between them, so Stop is honoured while a page of many megabytes becomes text.
constexpr size_t kDecodePiece = size_t{1} << 20;

// Charsets in which a line feed is always a character of its own and nothing carries over
// from one line to the next, so a body may be decoded line-aligned piece by piece.
bool DecodesByPieces(const std::string& charset) {
  static const char* const kNames[] = {"utf-8",      "utf8",         "shift_jis", "shift-jis",
                                       "sjis",       "x-sjis",       "cp932",     "windows-31j",
                                       "ms_kanji",   "csshiftjis",   "euc-jp",    "x-euc-jp",
                                       "iso-8859-1", "windows-1252", "us-ascii"};
  for (const char* name : kNames) {
    if (EqualsNoCase(charset, name)) return true;
  }
  return false;
}

// DecodeBody, in pieces for a long body; nullopt when Stop was pressed meanwhile.
std::optional<std::string> DecodeAsStopAllows(SearchRun& run, const std::string& bytes,
                                              const std::string& contentType,
                                              std::string* charsetUsed) {
  if (bytes.size() <= kDecodePiece) {
    return DecodeBody(bytes, contentType, run.m_lngSite, charsetUsed);
  }
  std::string charset = CharsetFromContentType(contentType);
  if (charset.empty()) charset = CharsetFromMeta(bytes);
  const bool declared = !charset.empty();
  if (declared && !DecodesByPieces(charset)) {
    return DecodeBody(bytes, contentType, run.m_lngSite, charsetUsed);
  }
  const bool eucJp = run.m_lngSite == 2;
  std::string text;
  text.reserve(bytes.size());
  const std::string_view all(bytes);
  for (size_t at = 0; at < all.size();) {
    size_t end = all.size();
    if (at + kDecodePiece < all.size()) {
      const size_t lineEnd = all.find('\n', at + kDecodePiece);
      end = lineEnd == std::string_view::npos ? all.size() : lineEnd + 1;
    }
    const std::string_view piece = all.substr(at, end - at);
    text += declared ? DecodeCharset(piece, charset)
            : eucJp  ? EucJpToUtf8(piece)
                     : AnsiToUtf8(piece);
    at = end;
    run.ui().Yield();
    if (run.Stopped()) return std::nullopt;
  }
  if (charsetUsed) *charsetUsed = declared ? charset : eucJp ? "EUC-JP" : "Shift_JIS";
  return text;
}

// While the page's server has the search wait, the status says so, once for each wait.
void ShowServerWait(SearchRun& run, const std::string& serverKey,
                    ServerThrottle::Clock::time_point& shownUntil) {
  const ServerThrottle::Clock::time_point until = run.throttle.WaitUntil(serverKey);
  const ServerThrottle::Clock::time_point now = ServerThrottle::Clock::now();
  if (until <= now || until == shownUntil) return;
  shownUntil = until;
  run.SetStatusText(SlowDownWaitText(
      serverKey, std::chrono::duration_cast<std::chrono::milliseconds>(until - now)));
}

// Takes what the attempts left into the search; true for a page read.
bool Conclude(SearchRun& run, PageFetch& fetch) {
  if (!fetch.HasBody()) return false;
  const bool read = fetch.Result() == PageFetch::Outcome::Succeeded;
  run.m_strHtml.clear();
  const std::string bytes = fetch.TakeBody();
  std::string charset;
  std::optional<std::string> text = DecodeAsStopAllows(run, bytes, fetch.ContentType(), &charset);
  if (!text) return false;  // stopped: the page is not read
  run.m_strHtml = std::move(*text);
  if (read) {
    run.lastFetchedUrl = fetch.FinalUrl().empty() ? fetch.Request().url : fetch.FinalUrl();
    run.lastFetchedCharset = charset;
    // The page goes on being read as far as it came; the user learns it was not all.
    if (fetch.BodyCut())
      run.SetStatusText(PageCutText(fetch.Request().url, run.Inet1.MaxBodyBytes()));
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
    auto showGetting = [&run, &pageRequest] {
      if (pageRequest.postData.empty()) run.SetStatusText("Getting " + pageRequest.url + "...");
    };
    showGetting();
    run.ui().Yield();

    std::unique_ptr<PageFetch> fetch = ahead ? ahead->Take(position, pageRequest) : nullptr;
    if (!fetch) fetch = std::make_unique<PageFetch>(run, pageRequest, false);
    ServerThrottle::Clock::time_point waitShown{};  // the end of the server's wait shown last
    for (;;) {
      fetch->Update();
      for (std::string& text : fetch->TakeStatusTexts()) run.SetStatusText(std::move(text));
      // Stop ends the wait whatever the server does (silent, stalled, dripping, or asking
      // for time): no turn blocks longer than kWaitMilliseconds.
      if (run.Stopped()) return false;  // the transfer goes with `fetch`
      if (fetch->Finished()) break;
      if (fetch->WantsAttempt()) {
        if (ReadyToStart(run, *fetch, ahead)) {
          if (waitShown != ServerThrottle::Clock::time_point{}) showGetting();
          waitShown = {};
          if (!fetch->StartAttempt()) {
            run.pageNotRead = fetch->WhyNotRead();
            return false;
          }
          continue;
        }
        ShowServerWait(run, fetch->ServerKey(), waitShown);
      }
      run.Inet1.Drive(kWaitMilliseconds);
      if (ahead) ahead->Pump();
      run.ui().Yield();
    }
    if (ahead) ahead->Pump();
    if (fetch->Result() != PageFetch::Outcome::Succeeded) run.pageNotRead = fetch->WhyNotRead();
    return Conclude(run, *fetch);
  } catch (const std::exception& e) {
    // The page is not read; the status says why before the search reports the failure.
    run.SetStatusText(std::string(kFetchFailedText) + " " + e.what());
    return false;
  }
}

const std::string& LastFetchedUrl(const SearchRun& run) { return run.lastFetchedUrl; }

std::string PageCutText(const std::string& url, size_t bound) {
  const std::string size = bound >= 1024 * 1024 ? std::to_string(bound / (1024 * 1024)) + " MiB"
                                                : std::to_string(bound) + " バイト";
  return "ページが大きすぎるため、先頭の " + size + " だけを読みました: " + url;
}

}  // namespace vendil
