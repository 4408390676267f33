// The HTTP transfer control over one libcurl multi handle. Cookies, DNS answers, TLS
// sessions and open connections are kept for every request of the run; each request gets
// a fresh easy handle so no option of one request leaks into the next.
#include "platform/http_control.h"

#include <curl/curl.h>

#include <algorithm>
#include <deque>
#include <utility>

#include "platform/casefold.h"
#include "platform/http_headers.h"

namespace vendil {
namespace {

constexpr long kMaxRedirects = 20;
constexpr int kPollMilliseconds = 5;

struct GlobalCurl {
  GlobalCurl() { curl_global_init(CURL_GLOBAL_DEFAULT); }
};

void EnsureGlobalInit() { static GlobalCurl once; }

struct EasyDeleter {
  void operator()(CURL* easy) const { curl_easy_cleanup(easy); }
};
struct MultiDeleter {
  void operator()(CURLM* multi) const { curl_multi_cleanup(multi); }
};
struct ShareDeleter {
  void operator()(CURLSH* share) const { curl_share_cleanup(share); }
};
struct ListDeleter {
  void operator()(curl_slist* list) const { curl_slist_free_all(list); }
};
struct UrlDeleter {
  void operator()(CURLU* url) const { curl_url_cleanup(url); }
};

using EasyPtr = std::unique_ptr<CURL, EasyDeleter>;
using ListPtr = std::unique_ptr<curl_slist, ListDeleter>;

// A list that only grows: curl_slist_append returns nullptr on failure and keeps the list.
bool Append(ListPtr& list, const std::string& item) {
  curl_slist* grown = curl_slist_append(list.get(), item.c_str());
  if (grown == nullptr) return false;
  (void)list.release();
  list.reset(grown);
  return true;
}

// Only web pages are fetched: a link or a redirect to file:, ftp: or any other scheme must
// not make the program read local files or speak other protocols.
bool IsWebUrl(const std::string& url) {
  std::unique_ptr<CURLU, UrlDeleter> handle(curl_url());
  if (!handle) return false;
  if (curl_url_set(handle.get(), CURLUPART_URL, url.c_str(), 0) != CURLUE_OK) return false;
  char* scheme = nullptr;
  if (curl_url_get(handle.get(), CURLUPART_SCHEME, &scheme, 0) != CURLUE_OK) return false;
  const bool web = EqualsNoCase(scheme, "http") || EqualsNoCase(scheme, "https");
  curl_free(scheme);
  return web;
}

}  // namespace

struct HttpControl::Impl {
  std::unique_ptr<CURLM, MultiDeleter> multi;
  std::unique_ptr<CURLSH, ShareDeleter> share;

  // Settings kept for every request.
  std::function<bool(const HttpControl&)> gate;
  std::vector<std::string> connectTo;
  long connectMs = 15000;
  long totalMs = 60000;
  size_t maxBodyBytes = size_t{256} * 1024 * 1024;

  // The request in progress (or the last one).
  EasyPtr easy;
  ListPtr requestHeaders;
  ListPtr connectList;
  bool running = false;
  char errorText[CURL_ERROR_SIZE] = {};
  ResponseHeaders headers;
  bool headersComplete = false;
  bool gateRefused = false;
  bool bodyCut = false;
  std::deque<std::string> body;  // pieces as received; freed as GetChunk hands them out
  size_t bodyOffset = 0;         // bytes of body.front() already handed out
  size_t bodyReceived = 0;
  int responseCode = 0;
  std::string responseInfo;
  int httpStatus = 0;
  std::string effectiveUrl;

  HttpControl* owner = nullptr;

  void ClearResult() {
    headers = ResponseHeaders();
    headersComplete = false;
    gateRefused = false;
    bodyCut = false;
    body.clear();
    bodyOffset = 0;
    bodyReceived = 0;
    responseCode = 0;
    responseInfo.clear();
    httpStatus = 0;
    effectiveUrl.clear();
    errorText[0] = '\0';
  }

  void Detach() {
    if (easy) curl_multi_remove_handle(multi.get(), easy.get());
    easy.reset();
    requestHeaders.reset();
    connectList.reset();
    running = false;
  }

  void Finish(CURLcode code) {
    long status = 0;
    curl_easy_getinfo(easy.get(), CURLINFO_RESPONSE_CODE, &status);
    httpStatus = static_cast<int>(status);
    char* url = nullptr;
    if (curl_easy_getinfo(easy.get(), CURLINFO_EFFECTIVE_URL, &url) == CURLE_OK && url)
      effectiveUrl = url;
    // Stopping at the header gate or at the body limit is our own doing, not a failure.
    if (code == CURLE_WRITE_ERROR && (gateRefused || bodyCut)) code = CURLE_OK;
    responseCode = static_cast<int>(code);
    if (code != CURLE_OK) {
      responseInfo = errorText[0] != '\0' ? errorText : curl_easy_strerror(code);
    }
    Detach();
  }

  static size_t OnHeader(char* data, size_t size, size_t count, void* user) {
    auto* self = static_cast<Impl*>(user);
    const size_t bytes = size * count;
    if (self->headers.Feed(std::string_view(data, bytes)) != ResponseHeaders::LineKind::End)
      return bytes;
    if (!self->headers.IsFinal()) return bytes;
    self->headersComplete = true;
    if (self->gate && !self->gate(*self->owner)) {
      self->gateRefused = true;
      return 0;  // stops the transfer before any body byte is read
    }
    return bytes;
  }

  static size_t OnBody(char* data, size_t size, size_t count, void* user) {
    auto* self = static_cast<Impl*>(user);
    const size_t bytes = size * count;
    const size_t room = self->maxBodyBytes - std::min(self->maxBodyBytes, self->bodyReceived);
    const size_t taken = std::min(bytes, room);
    if (taken > 0) {
      self->body.emplace_back(data, taken);
      self->bodyReceived += taken;
    }
    if (taken < bytes) {
      self->bodyCut = true;
      return 0;
    }
    return bytes;
  }
};

HttpControl::HttpControl() : impl_(std::make_unique<Impl>()) {
  EnsureGlobalInit();
  impl_->owner = this;
  impl_->multi.reset(curl_multi_init());
  impl_->share.reset(curl_share_init());
  if (impl_->share) {
    // Open connections stay in the multi handle's own cache, which every request uses.
    for (curl_lock_data data :
         {CURL_LOCK_DATA_COOKIE, CURL_LOCK_DATA_DNS, CURL_LOCK_DATA_SSL_SESSION}) {
      curl_share_setopt(impl_->share.get(), CURLSHOPT_SHARE, data);
    }
  }
}

HttpControl::~HttpControl() { impl_->Detach(); }

void HttpControl::Cancel() {
  impl_->Detach();
  impl_->ClearResult();
}

bool HttpControl::Execute(const std::string& url, const std::string& operation,
                          const std::string& inputData, const std::string& headers) {
  Impl& s = *impl_;
  Cancel();
  if (!s.multi || !IsWebUrl(url)) return false;
  const bool post = EqualsNoCase(operation, "POST");
  if (!post && !EqualsNoCase(operation, "GET")) return false;

  EasyPtr easy(curl_easy_init());
  if (!easy) return false;
  CURL* e = easy.get();

  ListPtr headerList;
  size_t start = 0;
  while (start < headers.size()) {
    size_t end = headers.find("\r\n", start);
    if (end == std::string::npos) end = headers.size();
    std::string line = headers.substr(start, end - start);
    if (!line.empty() && !Append(headerList, line)) return false;
    start = end + 2;
  }
  ListPtr connectList;
  for (const auto& entry : s.connectTo) {
    if (!Append(connectList, entry)) return false;
  }

  bool ok = true;
  auto set = [&ok](CURLcode code) { ok = ok && code == CURLE_OK; };
  set(curl_easy_setopt(e, CURLOPT_URL, url.c_str()));
  set(curl_easy_setopt(e, CURLOPT_PROTOCOLS_STR, "http,https"));
  set(curl_easy_setopt(e, CURLOPT_REDIR_PROTOCOLS_STR, "http,https"));
  set(curl_easy_setopt(e, CURLOPT_NOSIGNAL, 1L));
  set(curl_easy_setopt(e, CURLOPT_FOLLOWLOCATION, 1L));
  set(curl_easy_setopt(e, CURLOPT_MAXREDIRS, kMaxRedirects));
  set(curl_easy_setopt(e, CURLOPT_CONNECTTIMEOUT_MS, s.connectMs));
  set(curl_easy_setopt(e, CURLOPT_TIMEOUT_MS, s.totalMs));
  set(curl_easy_setopt(e, CURLOPT_ACCEPT_ENCODING, ""));
  set(curl_easy_setopt(e, CURLOPT_ERRORBUFFER, s.errorText));
  set(curl_easy_setopt(e, CURLOPT_HEADERFUNCTION, &Impl::OnHeader));
  set(curl_easy_setopt(e, CURLOPT_HEADERDATA, &s));
  set(curl_easy_setopt(e, CURLOPT_WRITEFUNCTION, &Impl::OnBody));
  set(curl_easy_setopt(e, CURLOPT_WRITEDATA, &s));
  if (s.share) set(curl_easy_setopt(e, CURLOPT_SHARE, s.share.get()));
  // An empty file name turns the cookie engine on without reading any file.
  set(curl_easy_setopt(e, CURLOPT_COOKIEFILE, ""));
  if (headerList) set(curl_easy_setopt(e, CURLOPT_HTTPHEADER, headerList.get()));
  if (connectList) set(curl_easy_setopt(e, CURLOPT_CONNECT_TO, connectList.get()));
  if (post) {
    set(curl_easy_setopt(e, CURLOPT_POSTFIELDSIZE_LARGE,
                         static_cast<curl_off_t>(inputData.size())));
    set(curl_easy_setopt(e, CURLOPT_COPYPOSTFIELDS, inputData.c_str()));
  } else {
    set(curl_easy_setopt(e, CURLOPT_HTTPGET, 1L));
  }
  if (!ok) return false;
  if (curl_multi_add_handle(s.multi.get(), e) != CURLM_OK) return false;

  s.easy = std::move(easy);
  s.requestHeaders = std::move(headerList);
  s.connectList = std::move(connectList);
  s.running = true;
  return true;
}

bool HttpControl::StillExecuting() {
  Impl& s = *impl_;
  if (!s.running) return false;
  int active = 0;
  CURLMcode mc = curl_multi_perform(s.multi.get(), &active);
  if (mc == CURLM_OK && active > 0) {
    // Waits at most a few milliseconds so the caller's event loop keeps running.
    curl_multi_poll(s.multi.get(), nullptr, 0, kPollMilliseconds, nullptr);
    mc = curl_multi_perform(s.multi.get(), &active);
  }
  if (mc != CURLM_OK) {
    s.responseInfo = curl_multi_strerror(mc);
    s.Detach();
    s.responseCode = static_cast<int>(CURLE_FAILED_INIT);
    return false;
  }
  int queued = 0;
  while (CURLMsg* msg = curl_multi_info_read(s.multi.get(), &queued)) {
    if (msg->msg == CURLMSG_DONE && s.easy && msg->easy_handle == s.easy.get()) {
      s.Finish(msg->data.result);
      return false;
    }
  }
  return s.running;
}

std::string HttpControl::GetHeader(const std::string& name) const {
  return impl_->headers.Get(name);
}

std::string HttpControl::GetChunk(size_t size) {
  Impl& s = *impl_;
  std::string out;
  while (out.size() < size && !s.body.empty()) {
    std::string& front = s.body.front();
    const size_t take = std::min(size - out.size(), front.size() - s.bodyOffset);
    out.append(front, s.bodyOffset, take);
    s.bodyOffset += take;
    if (s.bodyOffset == front.size()) {
      s.body.pop_front();
      s.bodyOffset = 0;
    }
  }
  return out;
}

int HttpControl::ResponseCode() const { return impl_->responseCode; }

std::string HttpControl::ResponseInfo() const { return impl_->responseInfo; }

int HttpControl::HttpStatus() const { return impl_->httpStatus; }

std::string HttpControl::EffectiveUrl() const { return impl_->effectiveUrl; }

bool HttpControl::HeadersComplete() const { return impl_->headersComplete; }

bool HttpControl::BodyCut() const { return impl_->bodyCut; }

void HttpControl::SetHeaderGate(std::function<bool(const HttpControl&)> gate) {
  impl_->gate = std::move(gate);
}

void HttpControl::SetConnectTo(std::vector<std::string> entries) {
  impl_->connectTo = std::move(entries);
}

void HttpControl::SetTimeouts(long connectSeconds, long totalSeconds) {
  SetTimeoutMilliseconds(connectSeconds * 1000, totalSeconds * 1000);
}

void HttpControl::SetTimeoutMilliseconds(long connectMs, long totalMs) {
  impl_->connectMs = connectMs;
  impl_->totalMs = totalMs;
}

void HttpControl::SetMaxBodyBytes(size_t bytes) { impl_->maxBodyBytes = bytes; }

}  // namespace vendil
