// Fetching one page: the request with its retries, the content-type test at the header
// gate, reading the body in chunks while the window stays responsive, and decoding it.
#include "net/fetch_page.h"

#include <exception>

#include "parse/wildcard.h"
#include "platform/casefold.h"
#include "platform/codec.h"

namespace vendil {
namespace {

constexpr int kAttempts = 5;
constexpr size_t kChunkBytes = 2048;

// Reads the body in chunks, yielding between them. A failing read ends the body with what
// was read so far.
std::string ReadBody(Form1& form) {
  std::string bytes;
  auto readChunk = [&form]() -> std::string {
    try {
      return form.Inet1.GetChunk(kChunkBytes);
    } catch (const std::exception&) {
      return {};
    }
  };
  std::string chunk = readChunk();
  form.ui().Yield();
  while (!chunk.empty()) {
    try {
      bytes += chunk;
    } catch (const std::exception&) {
      break;
    }
    form.ui().Yield();
    chunk = readChunk();
  }
  return bytes;
}

}  // namespace

bool IsContentTypeAccepted(const Form1& form, const std::string& contentType) {
  const std::string& filter = form.txtContentType.Text();
  if (filter.empty()) return ContainsNoCase(contentType, "text");
  // A malformed pattern met before a match refuses, as no match does.
  if (form.m_blnContentTypesPrepared)
    return MatchesAny(form.m_astrContentTypes, contentType).value_or(false);
  return MatchesAny(SplitPatterns(filter), contentType).value_or(false);
}

std::string DecodeBody(const std::string& bytes, const std::string& contentType, int32_t site) {
  std::string charset = CharsetFromContentType(contentType);
  if (charset.empty()) charset = CharsetFromMeta(bytes);
  if (!charset.empty()) return DecodeCharset(bytes, charset);
  if (site == 2) return EucJpToUtf8(bytes);
  return AnsiToUtf8(bytes);
}

bool FetchPage(Form1& form, const std::string& strUrl, const std::string& strHeaders,
               const std::string& strPostData) {
  try {
    if (strPostData.empty()) form.SetStatusText("Getting " + strUrl + "...");
    form.ui().Yield();

    HttpControl& inet = form.Inet1;
    bool accepted = false;
    for (int attempt = 0; attempt < kAttempts; ++attempt) {
      inet.Cancel();
      // Refusing at the headers means an unwanted (say, huge binary) body is never read.
      accepted = false;
      inet.SetHeaderGate([&form, &accepted](const HttpControl& control) {
        accepted = IsContentTypeAccepted(form, control.GetHeader("Content-Type"));
        return accepted;
      });
      const bool started = strPostData.empty()
                               ? inet.Execute(strUrl, "GET", "", strHeaders)
                               : inet.Execute(strUrl, "POST", strPostData, strHeaders);
      if (!started) {
        inet.SetHeaderGate(nullptr);
        return false;
      }
      while (inet.StillExecuting()) form.ui().Yield();
      inet.SetHeaderGate(nullptr);

      // A transfer that failed before any response headers is retried below; the content
      // type is tested only on a response that has headers.
      if (inet.HeadersComplete() || inet.ResponseCode() == 0) {
        if (!inet.HeadersComplete()) {
          accepted = IsContentTypeAccepted(form, inet.GetHeader("Content-Type"));
        }
        if (!accepted) return false;

        form.m_strHtml.clear();
        std::string bytes = ReadBody(form);
        form.m_strHtml = DecodeBody(bytes, inet.GetHeader("Content-Type"), form.m_lngSite);
        if (inet.ResponseCode() == 0) {
          form.lastFetchedUrl = inet.EffectiveUrl();
          if (form.lastFetchedUrl.empty()) form.lastFetchedUrl = strUrl;
          return true;
        }
      }

      form.SetStatusText("ErrorCode: " + std::to_string(inet.ResponseCode()) + " : " +
                         inet.ResponseInfo());
      form.SetStatusText("Retry:" + strUrl);
    }
    return false;
  } catch (const std::exception&) {
    form.Inet1.SetHeaderGate(nullptr);
    return false;
  }
}

const std::string& LastFetchedUrl(const Form1& form) { return form.lastFetchedUrl; }

}  // namespace vendil
