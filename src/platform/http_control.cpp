// The HTTP transfer control over one libcurl multi handle. Cookies, DNS answers, TLS
// sessions and open connections are kept for every request of the run; each request gets
// a fresh easy handle so no option of one request leaks into the next.
#include "platform/http_control.h"

#include <curl/curl.h>

#include <algorithm>
#include <map>
#include <string_view>
#include <unordered_map>
#include <utility>

#include "platform/casefold.h"
#include "platform/http_transfer.h"

namespace vendil {
namespace {

constexpr int kPollMilliseconds = 5;
constexpr size_t kDefaultBackgroundBudget = size_t{32} * 1024 * 1024;

struct GlobalCurl {
  GlobalCurl() { curl_global_init(CURL_GLOBAL_DEFAULT); }
};

void EnsureGlobalInit() { static GlobalCurl once; }

struct MultiDeleter {
  void operator()(CURLM* multi) const { curl_multi_cleanup(multi); }
};
struct ShareDeleter {
  void operator()(CURLSH* share) const { curl_share_cleanup(share); }
};
struct UrlDeleter {
  void operator()(CURLU* url) const { curl_url_cleanup(url); }
};

char LowerAsciiChar(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; }

// What curl's own parser accepts as a URL.
bool IsWellFormed(const std::string& url) {
  std::unique_ptr<CURLU, UrlDeleter> handle(curl_url());
  return handle && curl_url_set(handle.get(), CURLUPART_URL, url.c_str(), 0) == CURLUE_OK;
}

}  // namespace

struct HttpControl::Impl final : TransferOwner {
  std::unique_ptr<CURLM, MultiDeleter> multi;
  std::unique_ptr<CURLSH, ShareDeleter> share;
  std::map<TransferId, std::unique_ptr<Transfer>> transfers;
  TransferId nextId = 1;
  TransferId current = 0;
  std::function<bool(const HttpControl&)> currentGate;

  TransferSettings settings;
  InternetOptions options;
  // Per server: the transfers running (and those of them fetched ahead), the last start.
  struct Server {
    size_t running = 0;
    size_t background = 0;
    std::chrono::steady_clock::time_point lastStart;
  };
  std::unordered_map<std::string, Server> servers;
  StartObserver startObserver;

  size_t budget = kDefaultBackgroundBudget;
  size_t held = 0;
  size_t peak = 0;

  // TransferOwner: the background budget, asked and told by the transfers' callbacks.
  bool BackgroundFits(size_t bytes) const override { return held + bytes <= budget; }
  void BackgroundGained(size_t bytes) override {
    held += bytes;
    peak = std::max(peak, held);
  }
  void BackgroundReleased(size_t bytes) { held -= std::min(held, bytes); }

  Transfer* Get(TransferId id) const {
    auto it = transfers.find(id);
    return it == transfers.end() ? nullptr : it->second.get();
  }
  const Transfer* Current() const { return Get(current); }

  // A transfer stops running (it ended, or it is dropped before it did).
  void Stopped(const Transfer& t) {
    Server& server = servers[t.ServerKey()];
    server.running -= std::min<size_t>(server.running, 1);
    if (t.Background()) server.background -= std::min<size_t>(server.background, 1);
  }

  void Remove(TransferId id) {
    auto it = transfers.find(id);
    if (it == transfers.end()) return;
    Transfer& t = *it->second;
    if (t.Background()) BackgroundReleased(t.BodyBytes());
    if (!t.Done()) {
      curl_multi_remove_handle(multi.get(), t.Easy());
      Stopped(t);
    }
    transfers.erase(it);
    if (id == current) current = 0;
  }

  // Transfers waiting for the budget go on while it has room; older ones first.
  void ResumePaused() {
    for (auto& [id, t] : transfers) {
      if (!t->Paused() || (t->Background() && held >= budget)) continue;
      t->Resume();
    }
  }

  // The transfers that ended, finished; how many there were.
  int ReadMessages() {
    int finished = 0;
    int queued = 0;
    while (CURLMsg* msg = curl_multi_info_read(multi.get(), &queued)) {
      if (msg->msg != CURLMSG_DONE) continue;
      CURL* easy = msg->easy_handle;
      const CURLcode code = msg->data.result;
      curl_multi_remove_handle(multi.get(), easy);
      if (Transfer* t = Transfer::FromEasy(easy)) {
        t->Finish(code);
        // A redirect accepted by the caller: the same transfer goes on at the next place.
        if (t->HopPending() && t->StartHop()) {
          if (curl_multi_add_handle(multi.get(), t->Easy()) == CURLM_OK) continue;
          t->Fail(CURLE_FAILED_INIT, "the redirect could not be followed");
        }
        Stopped(*t);
      }
      ++finished;
    }
    return finished;
  }

  void FailAll(const std::string& info) {
    for (auto& [id, t] : transfers) {
      if (t->Done()) continue;
      curl_multi_remove_handle(multi.get(), t->Easy());
      t->Fail(CURLE_FAILED_INIT, info);
      Stopped(*t);
    }
  }

  void Drive(int waitMs) {
    int active = 0;
    CURLMcode mc = curl_multi_perform(multi.get(), &active);
    if (mc == CURLM_OK) {
      // A transfer that just ended is news for the caller: no waiting then.
      if (ReadMessages() == 0 && waitMs > 0) {
        curl_multi_poll(multi.get(), nullptr, 0, waitMs, nullptr);
        mc = curl_multi_perform(multi.get(), &active);
        if (mc == CURLM_OK) ReadMessages();
      }
    }
    if (mc != CURLM_OK) FailAll(curl_multi_strerror(mc));
  }
};

HttpControl::HttpControl() : impl_(std::make_unique<Impl>()) {
  EnsureGlobalInit();
  impl_->multi.reset(curl_multi_init());
  impl_->share.reset(curl_share_init());
  if (impl_->share) {
    // Open connections stay in the multi handle's own cache, which every request uses.
    for (curl_lock_data data :
         {CURL_LOCK_DATA_COOKIE, CURL_LOCK_DATA_DNS, CURL_LOCK_DATA_SSL_SESSION}) {
      curl_share_setopt(impl_->share.get(), CURLSHOPT_SHARE, data);
    }
  }
  SetOptions(InternetOptions{});
}

HttpControl::~HttpControl() {
  while (!impl_->transfers.empty()) impl_->Remove(impl_->transfers.begin()->first);
}

void HttpControl::Cancel() {
  std::vector<TransferId> dropped;
  for (const auto& [id, t] : impl_->transfers) {
    if (!t->Background()) dropped.push_back(id);
  }
  for (TransferId id : dropped) impl_->Remove(id);
  impl_->current = 0;
}

bool HttpControl::Execute(const std::string& url, const std::string& operation,
                          const std::string& inputData, const std::string& headers) {
  Cancel();
  HttpRequest request;
  request.url = url;
  request.operation = operation;
  request.inputData = inputData;
  request.headers = headers;
  request.gate = [this](const ResponseHead&) {
    return !impl_->currentGate || impl_->currentGate(*this);
  };
  impl_->current = Start(std::move(request));
  return impl_->current != 0;
}

bool HttpControl::StillExecuting() {
  const Transfer* t = impl_->Current();
  if (t == nullptr || t->Done()) return false;
  impl_->Drive(kPollMilliseconds);
  t = impl_->Current();
  return t != nullptr && !t->Done();
}

std::string HttpControl::GetHeader(const std::string& name) const {
  const Transfer* t = impl_->Current();
  return t ? t->Header(name) : std::string();
}

std::string HttpControl::GetChunk(size_t size) {
  Transfer* t = impl_->Get(impl_->current);
  return t ? t->TakeChunk(size) : std::string();
}

int HttpControl::ResponseCode() const {
  const Transfer* t = impl_->Current();
  return t ? t->ResponseCode() : 0;
}

std::string HttpControl::ResponseInfo() const {
  const Transfer* t = impl_->Current();
  return t ? t->ResponseInfo() : std::string();
}

int HttpControl::HttpStatus() const {
  const Transfer* t = impl_->Current();
  return t ? t->HttpStatus() : 0;
}

std::string HttpControl::EffectiveUrl() const {
  const Transfer* t = impl_->Current();
  return t ? t->EffectiveUrl() : std::string();
}

bool HttpControl::HeadersComplete() const {
  const Transfer* t = impl_->Current();
  return t != nullptr && t->HeadersComplete();
}

bool HttpControl::BodyCut() const {
  const Transfer* t = impl_->Current();
  return t != nullptr && t->BodyCut();
}

void HttpControl::SetHeaderGate(std::function<bool(const HttpControl&)> gate) {
  impl_->currentGate = std::move(gate);
}

TransferId HttpControl::Start(HttpRequest request) {
  Impl& s = *impl_;
  if (!s.multi) return 0;
  // Only web pages are fetched: a link or a redirect to file:, ftp: or any other scheme must
  // not make the program read local files or speak other protocols.
  const std::string key = request.serverKey.empty() ? ServerKey(request.url) : request.serverKey;
  if (key.empty() || !IsWellFormed(request.url)) return 0;
  const bool background = request.background;
  const TransferId id = s.nextId;
  auto transfer = Transfer::Create(s, key, std::move(request), s.settings, s.share.get());
  if (!transfer) return 0;
  if (curl_multi_add_handle(s.multi.get(), transfer->Easy()) != CURLM_OK) return 0;
  ++s.nextId;
  Impl::Server& server = s.servers[key];
  ++server.running;
  if (background) ++server.background;
  server.lastStart = std::chrono::steady_clock::now();
  if (s.startObserver) s.startObserver(key, server.lastStart);
  s.transfers.emplace(id, std::move(transfer));
  return id;
}

void HttpControl::Drive(int waitMs) { impl_->Drive(waitMs); }

const HttpTransfer* HttpControl::Find(TransferId id) const { return impl_->Get(id); }

std::string HttpControl::TakeBody(TransferId id) {
  Transfer* t = impl_->Get(id);
  if (t == nullptr) return {};
  const bool background = t->Background();
  const size_t bytes = t->BodyBytes();
  std::string body = t->TakeChunk(bytes);
  if (background) {
    impl_->BackgroundReleased(bytes);
    impl_->ResumePaused();
  }
  return body;
}

void HttpControl::Drop(TransferId id) {
  impl_->Remove(id);
  impl_->ResumePaused();
}

void HttpControl::MakeForeground(TransferId id) {
  Transfer* t = impl_->Get(id);
  if (t == nullptr || !t->Background()) return;
  impl_->BackgroundReleased(t->BodyBytes());
  if (!t->Done()) {
    Impl::Server& server = impl_->servers[t->ServerKey()];
    server.background -= std::min<size_t>(server.background, 1);
  }
  t->SetForeground();
  impl_->ResumePaused();
}

std::string HttpControl::ServerKey(const std::string& url) {
  // By hand, not by curl's parser: it runs for every page of a crawl.
  const size_t colon = url.find("://");
  if (colon != 4 && colon != 5) return {};
  std::string key;
  key.reserve(url.size() + 8);
  for (size_t i = 0; i < colon; ++i) key += LowerAsciiChar(url[i]);
  if (key != "http" && key != "https") return {};
  const bool https = key.size() == 5;
  const size_t hostStart = colon + 3;
  const size_t authorityEnd = std::min(url.find_first_of("/?#", hostStart), url.size());
  std::string_view authority = std::string_view(url).substr(hostStart, authorityEnd - hostStart);
  if (const size_t at = authority.rfind('@'); at != std::string_view::npos)
    authority.remove_prefix(at + 1);
  // "[::1]:8080", "host:8080", "host"
  const size_t bracket = authority.rfind(']');
  const size_t portColon = authority.rfind(':');
  std::string_view host = authority;
  std::string_view port;
  if (portColon != std::string_view::npos &&
      (bracket == std::string_view::npos || portColon > bracket)) {
    host = authority.substr(0, portColon);
    port = authority.substr(portColon + 1);
  }
  if (host.empty()) return {};
  for (const char c : port) {
    if (c < '0' || c > '9') return {};
  }
  while (port.size() > 1 && port.front() == '0') port.remove_prefix(1);
  if (port.empty()) port = https ? "443" : "80";
  key += "://";
  for (const char c : host) key += LowerAsciiChar(c);
  key += ':';
  key += port;
  return key;
}

size_t HttpControl::RunningFor(const std::string& serverKey) const {
  auto it = impl_->servers.find(serverKey);
  return it == impl_->servers.end() ? 0 : it->second.running;
}

size_t HttpControl::RunningInBackgroundFor(const std::string& serverKey) const {
  auto it = impl_->servers.find(serverKey);
  return it == impl_->servers.end() ? 0 : it->second.background;
}

std::chrono::steady_clock::time_point HttpControl::NextStartAt(const std::string& serverKey) const {
  auto it = impl_->servers.find(serverKey);
  if (it == impl_->servers.end() || impl_->options.delayMs <= 0) return {};
  return it->second.lastStart + std::chrono::milliseconds(impl_->options.delayMs);
}

void HttpControl::SetBackgroundBudget(size_t bytes) {
  impl_->budget = bytes;
  impl_->ResumePaused();
}

size_t HttpControl::BackgroundBudget() const { return impl_->budget; }

size_t HttpControl::BackgroundBytes() const { return impl_->held; }

size_t HttpControl::PeakBackgroundBytes() const { return impl_->peak; }

void HttpControl::OnTransferStarted(StartObserver observer) {
  impl_->startObserver = std::move(observer);
}

void HttpControl::SetOptions(const InternetOptions& options) {
  impl_->options = options;
  TransferSettings& s = impl_->settings;
  s.proxyMode = options.proxyMode;
  s.proxyHost = options.proxyHost;
  s.proxyPort = options.proxyPort;
  s.proxyUser = options.proxyUser;
  s.proxyPassword = options.proxyPassword;
  SetTimeouts(options.connectTimeoutSeconds, options.totalTimeoutSeconds);
}

const InternetOptions& HttpControl::Options() const { return impl_->options; }

void HttpControl::SetConnectTo(std::vector<std::string> entries) {
  impl_->settings.connectTo = std::move(entries);
}

void HttpControl::SetTimeouts(long connectSeconds, long totalSeconds) {
  SetTimeoutMilliseconds(connectSeconds * 1000, totalSeconds * 1000);
}

void HttpControl::SetTimeoutMilliseconds(long connectMs, long totalMs) {
  impl_->settings.connectMs = connectMs;
  impl_->settings.totalMs = totalMs;
}

long HttpControl::ConnectTimeoutMs() const { return impl_->settings.connectMs; }

long HttpControl::TotalTimeoutMs() const { return impl_->settings.totalMs; }

void HttpControl::SetMaxBodyBytes(size_t bytes) { impl_->settings.maxBodyBytes = bytes; }

size_t HttpControl::MaxBodyBytes() const { return impl_->settings.maxBodyBytes; }

}  // namespace vendil
