// The link checker: a queue per server, as many requests in flight to each as the options
// allow, started no sooner than the delay after the last one, and each answer read from its
// headers alone.
#include "net/link_check.h"

#include <algorithm>
#include <charconv>
#include <chrono>
#include <deque>
#include <map>
#include <optional>

#include "net/slow_down_retries.h"
#include "parse/mod_url.h"
#include "parse/request_url.h"
#include "platform/casefold.h"
#include "platform/http_headers.h"

namespace vendil {
namespace {

// How long one turn may wait in the HTTP control before the event loop runs.
constexpr int kWaitMilliseconds = 5;
constexpr auto kProgressEvery = std::chrono::milliseconds(250);

// A number made of digits only; -1 for anything else (a length a server garbled tells no
// size).
int64_t DigitsValue(std::string_view text) {
  text = TrimHeaderBlanks(text);
  if (text.empty()) return -1;
  int64_t value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size() || value < 0) return -1;
  return value;
}

// The complete length of "bytes 0-0/12345" or "bytes */12345"; -1 for "*" or anything else.
int64_t ContentRangeTotal(const std::string& contentRange) {
  const size_t slash = contentRange.rfind('/');
  if (slash == std::string::npos || !StartsWithNoCase(contentRange, "bytes")) return -1;
  return DigitsValue(std::string_view(contentRange).substr(slash + 1));
}

bool IsSuccess(int status) { return status >= 200 && status <= 299; }

struct Item {
  enum class Phase { Head, RangeGet };
  Phase phase = Phase::Head;
  int headStatus = 0;
  TransferId transfer = 0;
  std::string requestUrl;
  std::string serverKey;
  std::string hopUrl;  // the latest place the redirects led, as a row would carry it
  std::string refusedHop;
  SlowDownRetries slowDown;
};

class Checker {
 public:
  Checker(SearchRun& run, const std::vector<LinkToCheck>& links,
          const LinkCheckCallbacks& callbacks)
      : run_(run),
        inet_(run.Inet1),
        links_(links),
        callbacks_(callbacks),
        items_(links.size()),
        connections_(static_cast<size_t>(std::max(1, inet_.Options().connections))) {}

  ~Checker() {
    for (Item& item : items_) {
      if (item.transfer != 0) inet_.Drop(item.transfer);
    }
  }
  Checker(const Checker&) = delete;
  Checker& operator=(const Checker&) = delete;

  bool Run() {
    for (size_t i = 0; i < items_.size(); ++i) {
      Item& item = items_[i];
      item.requestUrl = RequestUrl(links_[i].url, "");
      item.serverKey = HttpControl::ServerKey(item.requestUrl);
      if (item.serverKey.empty()) {
        RowCheck check;
        check.errorWord = "unsupported";
        check.errorText = "HTTP の URL ではありません";
        Report(i, std::move(check));
        continue;
      }
      queues_[item.serverKey].push_back(i);
    }
    auto nextProgress = std::chrono::steady_clock::now();
    while (ended_ < items_.size()) {
      if (run_.Stopped()) return false;
      CollectEnded();
      StartWhatMayStart();
      const auto now = std::chrono::steady_clock::now();
      SayWhatIsWaitedFor(now);
      if (callbacks_.progress && now >= nextProgress) {
        callbacks_.progress(ended_, items_.size());
        nextProgress = now + kProgressEvery;
      }
      if (ended_ == items_.size()) break;
      inet_.Drive(kWaitMilliseconds);
      run_.ui().Yield();
    }
    if (callbacks_.progress) callbacks_.progress(ended_, items_.size());
    return true;
  }

 private:
  void StartWhatMayStart() {
    const auto now = std::chrono::steady_clock::now();
    for (auto it = queues_.begin(); it != queues_.end();) {
      const std::string& key = it->first;
      std::deque<size_t>& waiting = it->second;
      while (!waiting.empty() && inet_.RunningFor(key) < connections_ &&
             now >= inet_.NextStartAt(key) &&
             run_.throttle.MayStart(key, inet_.RunningFor(key), now)) {
        const size_t index = waiting.front();
        waiting.pop_front();
        Start(index);
      }
      it = waiting.empty() ? queues_.erase(it) : std::next(it);
    }
  }

  // A server that asked to be left alone is named in the status bar once per wait.
  void SayWhatIsWaitedFor(std::chrono::steady_clock::time_point now) {
    const std::optional<ServerThrottle::Wait> wait = run_.throttle.LongestWait(now);
    if (!wait || wait->until == announcedUntil_) return;
    announcedUntil_ = wait->until;
    run_.SetStatusText(SlowDownWaitText(
        wait->serverKey, std::chrono::ceil<std::chrono::milliseconds>(wait->until - now)));
  }

  void Start(size_t index) {
    Item& item = items_[index];
    HttpRequest request;
    request.url = item.requestUrl;
    request.serverKey = item.serverKey;
    request.operation = item.phase == Item::Phase::Head ? "HEAD" : "GET";
    request.headers = run_.form.userAgent + "\r\n";
    if (!links_[index].referer.empty())
      request.headers += "Referer: " + links_[index].referer + "\r\n";
    // The size wanted is the file's, not that of a compressed transfer of it.
    request.headers += "Accept-Encoding: identity\r\n";
    if (item.phase == Item::Phase::RangeGet) {
      request.headers += "Range: bytes=0-0\r\n";
      // The headers tell all that is wanted; a server that ignores the range would send
      // the whole file.
      request.gate = [](const ResponseHead&) { return false; };
    }
    item.hopUrl = links_[index].url;
    item.refusedHop.clear();
    request.redirect = [this, index](const std::string& location,
                                     const std::string&) -> std::string {
      Item& hop = items_[index];
      const std::string next = UrlWithoutFragment(CombineUrl(hop.hopUrl, location));
      if (HttpControl::ServerKey(next).empty() ||
          (callbacks_.redirectAllowed && !callbacks_.redirectAllowed(index, next))) {
        hop.refusedHop = next;
        return {};
      }
      hop.hopUrl = next;
      return RequestUrl(next, "");
    };
    item.transfer = inet_.Start(std::move(request));
    if (item.transfer == 0) {
      RowCheck check;
      check.errorWord = "error";
      check.errorText = "要求を開始できません";
      Report(index, std::move(check));
      return;
    }
    active_.push_back(index);
  }

  void CollectEnded() {
    for (size_t k = 0; k < active_.size();) {
      const size_t index = active_[k];
      Item& item = items_[index];
      const HttpTransfer* t = inet_.Find(item.transfer);
      if (t != nullptr && !t->Done()) {
        ++k;
        continue;
      }
      active_[k] = active_.back();
      active_.pop_back();
      if (t == nullptr) {  // dropped by a Cancel from elsewhere
        item.transfer = 0;
        RowCheck check;
        check.errorWord = "error";
        check.errorText = "中止されました";
        Report(index, std::move(check));
        continue;
      }
      Ended(index, *t);
    }
  }

  void Ended(size_t index, const HttpTransfer& t) {
    Item& item = items_[index];
    RowCheck check;
    if (item.hopUrl != links_[index].url) check.finalUrl = item.hopUrl;
    const int status = t.HttpStatus();
    if (!item.refusedHop.empty()) {
      check.status = status;
      check.refusedHop = item.refusedHop;
    } else if (t.ResponseCode() != 0) {
      check.errorWord = TransferErrorWord(t.ResponseCode());
      check.errorText = t.ResponseInfo();
    } else if (SlowDownRetries::IsSlowDown(status) && AskedToWait(index, t)) {
      return;
    } else {
      const std::string length = t.Header("Content-Length");
      if (item.phase == Item::Phase::Head &&
          (status == 405 || status == 501 || (IsSuccess(status) && DigitsValue(length) < 0))) {
        // HEAD refused, or no length told: one byte asked for instead.
        Retire(item);
        item.phase = Item::Phase::RangeGet;
        item.headStatus = status;
        queues_[item.serverKey].push_front(index);
        return;
      }
      check.status = status;
      check.type = t.Header("Content-Type");
      const std::string range = t.Header("Content-Range");
      if (status == 416 && ContentRangeTotal(range) >= 0) {
        // An empty file has no first byte to give: its size is still told.
        check.size = ContentRangeTotal(range);
        if (IsSuccess(item.headStatus)) check.status = item.headStatus;
      } else if (IsSuccess(status)) {
        check.size = ResponseSize(status, length, range);
      }
    }
    Retire(item);
    Report(index, std::move(check));
  }

  // A 429 or 503: the server's wait kept for every request to it, and this one asked again
  // after it while retries are left (true); else the answer stands as the row's state.
  bool AskedToWait(size_t index, const HttpTransfer& t) {
    Item& item = items_[index];
    const SlowDownRetries::Decision decision = item.slowDown.Answer(t.Header("Retry-After"));
    run_.throttle.RecordSlowDown(item.serverKey, t.HttpStatus(), decision.wait);
    if (!decision.retry) return false;
    Retire(item);
    queues_[item.serverKey].push_front(index);
    return true;
  }

  void Retire(Item& item) {
    if (item.transfer != 0) inet_.Drop(item.transfer);
    item.transfer = 0;
  }

  void Report(size_t index, RowCheck check) {
    ++ended_;
    if (callbacks_.checked) callbacks_.checked(index, std::move(check));
  }

  SearchRun& run_;
  HttpControl& inet_;
  const std::vector<LinkToCheck>& links_;
  const LinkCheckCallbacks& callbacks_;
  std::vector<Item> items_;  // never resized: redirect callbacks hold indexes into it
  size_t connections_;
  std::map<std::string, std::deque<size_t>> queues_;  // by server, in list order
  std::vector<size_t> active_;
  size_t ended_ = 0;
  ServerThrottle::Clock::time_point announcedUntil_{};
};

}  // namespace

std::string TransferErrorWord(int responseCode) {
  switch (responseCode) {
    case 0:
      return "";
    case 1:
      return "unsupported";  // not a scheme the control speaks
    case 5:
    case 6:
      return "dns";  // the name (or the proxy's) did not resolve
    case 7:
      return "refused";
    case kTransferTimedOut:
      return "timeout";
    case 35:
    case 51:
    case 53:
    case 54:
    case 58:
    case 59:
    case 60:
    case 77:
    case 80:
    case 83:
    case 90:
    case 91:
      return "tls";
    case 47:
      return "redirects";
    case 52:
    case 55:
    case 56:
      return "dropped";
    default:
      return "error";
  }
}

int64_t ResponseSize(int httpStatus, const std::string& contentLength,
                     const std::string& contentRange) {
  if (httpStatus == 206) return ContentRangeTotal(contentRange);
  return DigitsValue(contentLength);
}

bool CheckLinks(SearchRun& run, const std::vector<LinkToCheck>& links,
                const LinkCheckCallbacks& callbacks) {
  Checker checker(run, links, callbacks);
  return checker.Run();
}

}  // namespace vendil
