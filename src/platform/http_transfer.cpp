// One transfer: the easy handle's options (time-outs, proxy, cookies, redirects, the
// connect-to map), the header gate at the final response, the body kept in pieces, and the
// pause while a transfer fetched ahead has no room in the background budget.
#include "platform/http_transfer.h"

#include <strings.h>

#include <algorithm>
#include <utility>

namespace vendil {

static_assert(kTransferTimedOut == CURLE_OPERATION_TIMEDOUT);
namespace {

constexpr long kMaxRedirects = 20;

bool IsPost(const std::string& operation) { return strcasecmp(operation.c_str(), "POST") == 0; }

// A list that only grows: curl_slist_append returns nullptr on failure and keeps the list.
bool Append(curl_slist*& list, const std::string& item) {
  curl_slist* grown = curl_slist_append(list, item.c_str());
  if (grown == nullptr) return false;
  list = grown;
  return true;
}

}  // namespace

Transfer::Transfer(TransferOwner& owner, std::string serverKey, HttpRequest request)
    : owner_(owner),
      serverKey_(std::move(serverKey)),
      request_(std::move(request)),
      background_(request_.background) {}

Transfer::~Transfer() {
  if (easy_ != nullptr) curl_easy_cleanup(easy_);
  curl_slist_free_all(headerList_);
  curl_slist_free_all(connectList_);
}

std::unique_ptr<Transfer> Transfer::Create(TransferOwner& owner, std::string serverKey,
                                           HttpRequest request, const TransferSettings& settings,
                                           CURLSH* share) {
  if (!IsPost(request.operation) && strcasecmp(request.operation.c_str(), "GET") != 0)
    return nullptr;
  std::unique_ptr<Transfer> t(new Transfer(owner, std::move(serverKey), std::move(request)));
  if (!t->Configure(settings, share)) return nullptr;
  return t;
}

Transfer* Transfer::FromEasy(CURL* easy) {
  char* self = nullptr;
  if (curl_easy_getinfo(easy, CURLINFO_PRIVATE, &self) != CURLE_OK) return nullptr;
  return reinterpret_cast<Transfer*>(self);
}

bool Transfer::Configure(const TransferSettings& settings, CURLSH* share) {
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
  set(curl_easy_setopt(e, CURLOPT_REDIR_PROTOCOLS_STR, "http,https"));
  set(curl_easy_setopt(e, CURLOPT_NOSIGNAL, 1L));
  set(curl_easy_setopt(e, CURLOPT_FOLLOWLOCATION, 1L));
  set(curl_easy_setopt(e, CURLOPT_MAXREDIRS, kMaxRedirects));
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
  } else {
    set(curl_easy_setopt(e, CURLOPT_HTTPGET, 1L));
  }
  return ok;
}

void Transfer::Finish(CURLcode code) {
  long status = 0;
  curl_easy_getinfo(easy_, CURLINFO_RESPONSE_CODE, &status);
  httpStatus_ = static_cast<int>(status);
  char* url = nullptr;
  if (curl_easy_getinfo(easy_, CURLINFO_EFFECTIVE_URL, &url) == CURLE_OK && url)
    effectiveUrl_ = url;
  // Stopping at the header gate or at the body limit is our own doing, not a failure.
  if (code == CURLE_WRITE_ERROR && (gateRefused_ || bodyCut_)) code = CURLE_OK;
  responseCode_ = static_cast<int>(code);
  if (code != CURLE_OK) {
    responseInfo_ = errorText_[0] != '\0' ? errorText_ : curl_easy_strerror(code);
  }
  done_ = true;
  paused_ = false;
  curl_easy_cleanup(easy_);
  easy_ = nullptr;
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
  if (!self->headers_.IsFinal()) return bytes;
  self->headersComplete_ = true;
  if (!self->request_.gate) return bytes;
  ResponseHead head{self->headers_, {}, 0};
  char* url = nullptr;
  if (curl_easy_getinfo(self->easy_, CURLINFO_EFFECTIVE_URL, &url) == CURLE_OK && url)
    head.effectiveUrl = url;
  curl_easy_getinfo(self->easy_, CURLINFO_REDIRECT_COUNT, &head.redirects);
  if (!self->request_.gate(head)) {
    self->gateRefused_ = true;
    return 0;  // stops the transfer before any body byte is read
  }
  return bytes;
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
