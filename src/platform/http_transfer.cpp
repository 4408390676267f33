// One transfer: the easy handle's options (time-outs, proxy, cookies, the connect-to map),
// its redirects followed one hop at a time once the caller accepts each, the header gate at
// the final response, the body kept in pieces, and the pause while a transfer fetched ahead
// has no room in the background budget.
#include "platform/http_transfer.h"

#include <strings.h>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <utility>

namespace vendil {

static_assert(kTransferTimedOut == CURLE_OPERATION_TIMEDOUT);
namespace {

bool IsPost(const std::string& operation) { return strcasecmp(operation.c_str(), "POST") == 0; }
bool IsHead(const std::string& operation) { return strcasecmp(operation.c_str(), "HEAD") == 0; }

// A list that only grows: curl_slist_append returns nullptr on failure and keeps the list.
bool Append(curl_slist*& list, const std::string& item) {
  curl_slist* grown = curl_slist_append(list, item.c_str());
  if (grown == nullptr) return false;
  list = grown;
  return true;
}

// The statuses browsers follow as redirects.
bool IsFollowedRedirect(int status) {
  return status == 301 || status == 302 || status == 303 || status == 307 || status == 308;
}

struct UrlDeleter {
  void operator()(CURLU* url) const { curl_url_cleanup(url); }
};
struct CurlTextDeleter {
  void operator()(char* text) const { curl_free(text); }
};

// A Location read against the URL that sent it, for callers that judge no redirect.
std::string ResolveLocation(const std::string& fromUrl, const std::string& location) {
  std::unique_ptr<CURLU, UrlDeleter> url(curl_url());
  if (!url || curl_url_set(url.get(), CURLUPART_URL, fromUrl.c_str(), 0) != CURLUE_OK ||
      curl_url_set(url.get(), CURLUPART_URL, location.c_str(), CURLU_URLENCODE) != CURLUE_OK)
    return {};
  char* text = nullptr;
  if (curl_url_get(url.get(), CURLUPART_URL, &text, 0) != CURLUE_OK) return {};
  std::unique_ptr<char, CurlTextDeleter> owned(text);
  return text;
}

bool IsWebUrl(const std::string& url) {
  return strncasecmp(url.c_str(), "http://", 7) == 0 ||
         strncasecmp(url.c_str(), "https://", 8) == 0;
}

}  // namespace

Transfer::Transfer(TransferOwner& owner, std::string serverKey, HttpRequest request,
                   TransferSettings settings, CURLSH* share)
    : owner_(owner),
      serverKey_(std::move(serverKey)),
      request_(std::move(request)),
      settings_(std::move(settings)),
      share_(share),
      background_(request_.background) {}

Transfer::~Transfer() {
  if (easy_ != nullptr) curl_easy_cleanup(easy_);
  curl_slist_free_all(headerList_);
  curl_slist_free_all(connectList_);
}

std::unique_ptr<Transfer> Transfer::Create(TransferOwner& owner, std::string serverKey,
                                           HttpRequest request, const TransferSettings& settings,
                                           CURLSH* share) {
  if (!IsPost(request.operation) && !IsHead(request.operation) &&
      strcasecmp(request.operation.c_str(), "GET") != 0)
    return nullptr;
  std::unique_ptr<Transfer> t(
      new Transfer(owner, std::move(serverKey), std::move(request), settings, share));
  if (!t->Configure()) return nullptr;
  return t;
}

Transfer* Transfer::FromEasy(CURL* easy) {
  char* self = nullptr;
  if (curl_easy_getinfo(easy, CURLINFO_PRIVATE, &self) != CURLE_OK) return nullptr;
  return reinterpret_cast<Transfer*>(self);
}

bool Transfer::Configure() {
  const TransferSettings& settings = settings_;
  CURLSH* share = share_;
  curl_slist_free_all(headerList_);
  curl_slist_free_all(connectList_);
  headerList_ = connectList_ = nullptr;
  easy_ = curl_easy_init();
  if (easy_ == nullptr) return false;
  CURL* e = easy_;
  const std::string& headers = request_.headers;
  size_t start = 0;
  while (start < headers.size()) {
    size_t end = headers.find("\r\n", start);
    if (end == std::string::npos) end = headers.size();
    const std::string line = headers.substr(start, end - start);
    if (!line.empty() && !Append(headerList_, line)) return false;
    start = end + 2;
  }
  for (const auto& entry : settings.connectTo) {
    if (!Append(connectList_, entry)) return false;
  }
  maxBodyBytes_ = settings.maxBodyBytes;
  const long connectMs = request_.connectMs > 0 ? request_.connectMs : settings.connectMs;
  const long totalMs = request_.totalMs > 0 ? request_.totalMs : settings.totalMs;

  bool ok = true;
  auto set = [&ok](CURLcode code) { ok = ok && code == CURLE_OK; };
  set(curl_easy_setopt(e, CURLOPT_URL, request_.url.c_str()));
  set(curl_easy_setopt(e, CURLOPT_PRIVATE, this));
  set(curl_easy_setopt(e, CURLOPT_PROTOCOLS_STR, "http,https"));
  set(curl_easy_setopt(e, CURLOPT_NOSIGNAL, 1L));
  // Redirects are followed here, hop by hop, so that each is judged before it is requested.
  set(curl_easy_setopt(e, CURLOPT_FOLLOWLOCATION, 0L));
  set(curl_easy_setopt(e, CURLOPT_CONNECTTIMEOUT_MS, connectMs));
  set(curl_easy_setopt(e, CURLOPT_TIMEOUT_MS, totalMs));
  set(curl_easy_setopt(e, CURLOPT_ACCEPT_ENCODING, ""));
  set(curl_easy_setopt(e, CURLOPT_ERRORBUFFER, errorText_));
  set(curl_easy_setopt(e, CURLOPT_HEADERFUNCTION, &Transfer::OnHeader));
  set(curl_easy_setopt(e, CURLOPT_HEADERDATA, this));
  set(curl_easy_setopt(e, CURLOPT_WRITEFUNCTION, &Transfer::OnBody));
  set(curl_easy_setopt(e, CURLOPT_WRITEDATA, this));
  // Several requests to one server share a connection where it speaks HTTP/2.
  if (serverKey_.rfind("https:", 0) == 0) set(curl_easy_setopt(e, CURLOPT_PIPEWAIT, 1L));
  if (share != nullptr) set(curl_easy_setopt(e, CURLOPT_SHARE, share));
  // An empty file name turns the cookie engine on without reading any file.
  set(curl_easy_setopt(e, CURLOPT_COOKIEFILE, ""));
  if (headerList_) set(curl_easy_setopt(e, CURLOPT_HTTPHEADER, headerList_));
  if (connectList_) set(curl_easy_setopt(e, CURLOPT_CONNECT_TO, connectList_));
  switch (settings.proxyMode) {
    case InternetOptions::ProxyMode::None:
      // An empty proxy turns off the proxy that http_proxy and the like would give.
      set(curl_easy_setopt(e, CURLOPT_PROXY, ""));
      break;
    case InternetOptions::ProxyMode::Environment:
      break;
    case InternetOptions::ProxyMode::Manual:
      set(curl_easy_setopt(e, CURLOPT_PROXY, settings.proxyHost.c_str()));
      set(curl_easy_setopt(e, CURLOPT_PROXYPORT, static_cast<long>(settings.proxyPort)));
      // The proxy the user named serves every host, whatever no_proxy says.
      set(curl_easy_setopt(e, CURLOPT_NOPROXY, ""));
      if (!settings.proxyUser.empty()) {
        set(curl_easy_setopt(e, CURLOPT_PROXYUSERNAME, settings.proxyUser.c_str()));
        set(curl_easy_setopt(e, CURLOPT_PROXYPASSWORD, settings.proxyPassword.c_str()));
      }
      break;
  }
  if (IsPost(request_.operation)) {
    set(curl_easy_setopt(e, CURLOPT_POSTFIELDSIZE_LARGE,
                         static_cast<curl_off_t>(request_.inputData.size())));
    set(curl_easy_setopt(e, CURLOPT_COPYPOSTFIELDS, request_.inputData.c_str()));
  } else if (IsHead(request_.operation)) {
    set(curl_easy_setopt(e, CURLOPT_NOBODY, 1L));
  } else {
    set(curl_easy_setopt(e, CURLOPT_HTTPGET, 1L));
  }
  return ok;
}

void Transfer::Finish(CURLcode code) {
  if (!nextUrl_.empty() && code == CURLE_WRITE_ERROR) {  // the redirect's own response
    curl_easy_cleanup(easy_);
    easy_ = nullptr;
    return;
  }
  nextUrl_.clear();
  if (easy_ == nullptr) {
    responseCode_ = static_cast<int>(code);
    responseInfo_ = curl_easy_strerror(code);
    done_ = true;
    paused_ = false;
    return;
  }
  long status = 0;
  curl_easy_getinfo(easy_, CURLINFO_RESPONSE_CODE, &status);
  httpStatus_ = static_cast<int>(status);
  char* url = nullptr;
  if (curl_easy_getinfo(easy_, CURLINFO_EFFECTIVE_URL, &url) == CURLE_OK && url)
    effectiveUrl_ = url;
  // Stopping at the header gate or at the body limit is our own doing, not a failure.
  if (code == CURLE_WRITE_ERROR && (gateRefused_ || bodyCut_)) code = CURLE_OK;
  if (code == CURLE_WRITE_ERROR && tooManyRedirects_) {
    code = CURLE_TOO_MANY_REDIRECTS;
    std::snprintf(errorText_, sizeof errorText_, "Maximum (%ld) redirects followed", kMaxRedirects);
  }
  responseCode_ = static_cast<int>(code);
  if (code != CURLE_OK) {
    responseInfo_ = errorText_[0] != '\0' ? errorText_ : curl_easy_strerror(code);
  }
  done_ = true;
  paused_ = false;
  curl_easy_cleanup(easy_);
  easy_ = nullptr;
}

bool Transfer::StartHop() {
  const int status = headers_.Status();
  request_.url = std::exchange(nextUrl_, {});
  ++hops_;
  // As browsers do: a POST answered by 301, 302 or 303 becomes a GET without its body.
  if (IsPost(request_.operation) && status != 307 && status != 308) {
    request_.operation = "GET";
    request_.inputData.clear();
  }
  headers_ = ResponseHeaders();
  errorText_[0] = '\0';
  if (!IsWebUrl(request_.url)) {
    Finish(CURLE_UNSUPPORTED_PROTOCOL);
    return false;
  }
  if (!Configure()) {
    Finish(CURLE_FAILED_INIT);
    return false;
  }
  return true;
}

void Transfer::Fail(CURLcode code, const std::string& info) {
  Finish(code);
  responseCode_ = static_cast<int>(code);
  responseInfo_ = info;
}

void Transfer::Resume() {
  if (!paused_ || easy_ == nullptr) return;
  paused_ = false;
  // May deliver the held data at once, through OnBody, which may pause again.
  curl_easy_pause(easy_, CURLPAUSE_CONT);
}

std::string Transfer::TakeChunk(size_t size) {
  std::string out;
  // A whole body taken at once is copied once, not grown piece by piece.
  if (!body_.empty() && body_.size() > 1) out.reserve(std::min(size, bodyBytes_));
  while (out.size() < size && !body_.empty()) {
    std::string& front = body_.front();
    const size_t available = front.size() - bodyOffset_;
    const size_t take = std::min(size - out.size(), available);
    if (out.empty() && bodyOffset_ == 0 && take == front.size()) {
      out = std::move(front);  // a whole piece: no copy
    } else {
      out.append(front, bodyOffset_, take);
    }
    if (take == available) {
      body_.pop_front();
      bodyOffset_ = 0;
    } else {
      bodyOffset_ += take;
    }
  }
  bodyBytes_ -= std::min(bodyBytes_, out.size());
  return out;
}

size_t Transfer::OnHeader(char* data, size_t size, size_t count, void* user) {
  auto* self = static_cast<Transfer*>(user);
  const size_t bytes = size * count;
  if (self->headers_.Feed(std::string_view(data, bytes)) != ResponseHeaders::LineKind::End)
    return bytes;
  if (IsFollowedRedirect(self->headers_.Status()) && self->headers_.Has("Location"))
    return self->OnRedirect(bytes);
  if (!self->headers_.IsFinal()) return bytes;
  self->headersComplete_ = true;
  if (!self->request_.gate) return bytes;
  const ResponseHead head{self->headers_, self->request_.url, self->hops_};
  if (!self->request_.gate(head)) {
    self->gateRefused_ = true;
    return 0;  // stops the transfer before any body byte is read
  }
  return bytes;
}

size_t Transfer::OnRedirect(size_t bytes) {
  if (hops_ >= kMaxRedirects) {
    tooManyRedirects_ = true;
    return 0;
  }
  const std::string location = headers_.Get("Location");
  std::string next = request_.redirect ? request_.redirect(location, request_.url)
                                       : ResolveLocation(request_.url, location);
  if (next.empty()) {
    // Refused (or no URL at all): nothing goes to the place it names.
    headersComplete_ = true;
    gateRefused_ = true;
    return 0;
  }
  nextUrl_ = std::move(next);
  (void)bytes;
  return 0;  // the redirect's body is not read; the next hop starts once this one is done
}

size_t Transfer::OnBody(char* data, size_t size, size_t count, void* user) {
  auto* self = static_cast<Transfer*>(user);
  const size_t bytes = size * count;
  const size_t room = self->maxBodyBytes_ - std::min(self->maxBodyBytes_, self->received_);
  const size_t taken = std::min(bytes, room);
  if (self->background_ && taken > 0 && !self->owner_.BackgroundFits(taken)) {
    self->paused_ = true;
    self->everPaused_ = true;
    return CURL_WRITEFUNC_PAUSE;  // the same bytes come again once resumed
  }
  if (taken > 0) {
    self->body_.emplace_back(data, taken);
    self->bodyBytes_ += taken;
    self->received_ += taken;
    if (self->background_) self->owner_.BackgroundGained(taken);
  }
  if (taken < bytes) {
    self->bodyCut_ = true;
    return 0;
  }
  return bytes;
}

}  // namespace vendil
