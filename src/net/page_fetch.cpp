// One page's attempts: each attempt's outcome read from its transfer, the retry rules (five
// attempts for errors a retry can cure, one quick attempt after a time-out; 429 and 503
// waited out as the server asks), and what the page leaves for the fetcher.
#include "net/page_fetch.h"

#include <algorithm>
#include <utility>

#include "net/fetch_page.h"
#include "parse/mod_url.h"
#include "parse/request_url.h"

namespace vendil {
namespace {

// The retry after a time-out asks a server that kept silent once more, not for long.
constexpr long kQuickRetryMs = 5000;

}  // namespace

namespace {

// A query goes in the charset of the page that gave the link; the briefcase scan and the
// start URL name none: EUC-JP on the Japanese briefcase site, else UTF-8.
std::string QueryCharset(const SearchRun& run, const PageSpec& pageRequest) {
  if (!pageRequest.queryCharset.empty()) return pageRequest.queryCharset;
  return run.m_lngSite == 2 ? "EUC-JP" : "";
}

}  // namespace

PageFetch::PageFetch(SearchRun& run, PageSpec pageRequest, bool background)
    : run_(run),
      spec_(std::move(pageRequest)),
      requestUrl_(RequestUrl(spec_.url, QueryCharset(run, spec_))),
      serverKey_(HttpControl::ServerKey(requestUrl_)),
      background_(background),
      allowedAttempts_(1 + std::max(0, run.Inet1.Options().retries)) {}

PageFetch::~PageFetch() {
  if (transfer_ != 0) run_.Inet1.Drop(transfer_);
}

bool PageFetch::StartAttempt() {
  HttpControl& inet = run_.Inet1;
  if (transfer_ != 0) inet.Drop(transfer_);
  transfer_ = 0;
  HttpRequest request;
  request.url = requestUrl_;
  request.serverKey = serverKey_;
  const bool post = !spec_.postData.empty();
  request.operation = post ? "POST" : "GET";
  request.inputData = spec_.postData;
  request.headers = spec_.headers;
  request.background = background_;
  if (timedOut_) {
    const long total = inet.TotalTimeoutMs() > 0 ? inet.TotalTimeoutMs() : kQuickRetryMs;
    request.totalMs = std::min(total, kQuickRetryMs);
    request.connectMs = std::min(inet.ConnectTimeoutMs(), request.totalMs);
  }
  contentAccepted_ = false;
  redirectRefused_ = false;
  hopUrl_ = spec_.url;
  request.gate = [this](const ResponseHead& head) {
    // A server asking to slow down is heard whatever its body is; the body is not needed.
    if (SlowDownRetries::IsSlowDown(head.headers.Status())) return false;
    contentAccepted_ = IsContentTypeAccepted(run_, head.headers.Get("Content-Type"));
    return contentAccepted_;
  };
  // Each redirect is read as a browser reads its Location and judged before anything is
  // sent to the place it names; one that is refused, or leads to no web page, ends the
  // page as not read.
  request.redirect = [this](const std::string& location, const std::string&) -> std::string {
    const std::string next = UrlWithoutFragment(CombineUrl(hopUrl_, location));
    if (HttpControl::ServerKey(next).empty() || (spec_.redirectRule && !spec_.redirectRule(next))) {
      redirectRefused_ = true;
      refusedHop_ = next;
      return {};
    }
    hopUrl_ = next;
    return RequestUrl(next, "");  // a Location is read as UTF-8
  };
  transfer_ = inet.Start(std::move(request));
  if (transfer_ == 0) {
    outcome_ = Outcome::NotStarted;
    return false;
  }
  ++attempts_;
  return true;
}

void PageFetch::Update() {
  if (Finished() || transfer_ == 0) return;
  const HttpTransfer* t = run_.Inet1.Find(transfer_);
  if (t == nullptr) {  // dropped by a Cancel from elsewhere: the page is not read
    transfer_ = 0;
    lastError_ = "cancelled";
    outcome_ = Outcome::Failed;
    return;
  }
  if (t->Done()) AttemptEnded(*t);
}

void PageFetch::AttemptEnded(const HttpTransfer& t) {
  HttpControl& inet = run_.Inet1;
  // A transfer fetched ahead that ran out of time while it waited for the budget says
  // nothing about the server: it never happened.
  if (background_ && t.WasPaused() && t.ResponseCode() == kTransferTimedOut) {
    Abandon();
    return;
  }
  if (t.HeadersComplete() && !redirectRefused_ && SlowDownRetries::IsSlowDown(t.HttpStatus())) {
    SlowedDown(t);
    return;
  }
  // The content type is tested only on a response that has headers.
  if (t.HeadersComplete() || t.ResponseCode() == 0) {
    const bool accepted = t.HeadersComplete()
                              ? contentAccepted_
                              : IsContentTypeAccepted(run_, t.Header("Content-Type"));
    if (!accepted || redirectRefused_) {
      if (!redirectRefused_) refusedType_ = t.Header("Content-Type");
      inet.Drop(transfer_);
      transfer_ = 0;
      outcome_ = Outcome::Refused;
      return;
    }
    contentType_ = t.Header("Content-Type");
    finalUrl_ = hopUrl_;
    bodyCut_ = t.BodyCut();
    if (t.ResponseCode() == 0) {
      outcome_ = Outcome::Succeeded;  // the body stays in the transfer until taken
      return;
    }
    failedBody_ = inet.TakeBody(transfer_);
    hasFailedBody_ = true;
  }
  const int code = t.ResponseCode();
  const std::string info = t.ResponseInfo();
  inet.Drop(transfer_);
  transfer_ = 0;
  Failure(code, info);
}

void PageFetch::Failure(int code, const std::string& info) {
  lastError_ = info.empty() ? "error " + std::to_string(code) : info;
  statusTexts_.push_back("ErrorCode: " + std::to_string(code) + " : " + info);
  statusTexts_.push_back("Retry:" + spec_.url);
  // A server that does not answer in time will not answer a second later either: one
  // quick attempt more, whatever attempts are left.
  if (code == kTransferTimedOut && !timedOut_) {
    timedOut_ = true;
    allowedAttempts_ = std::min(allowedAttempts_, attempts_ + 1);
  }
  if (attempts_ >= allowedAttempts_) outcome_ = Outcome::Failed;
}

// Every request of the search to that server waits as long as it asked; this page tries
// again once the wait is over (whoever reads it next), or has failed.
void PageFetch::SlowedDown(const HttpTransfer& t) {
  const SlowDownRetries::Decision decision = slowDown_.Answer(t.Header("Retry-After"));
  run_.throttle.RecordSlowDown(serverKey_, t.HttpStatus(), decision.wait);
  run_.Inet1.Drop(transfer_);
  transfer_ = 0;
  if (!decision.retry) {
    outcome_ = Outcome::Failed;
    return;
  }
  ++allowedAttempts_;  // not one of the attempts kept for errors
}

void PageFetch::MakeForeground() {
  background_ = false;
  if (transfer_ != 0) run_.Inet1.MakeForeground(transfer_);
}

void PageFetch::Abandon() {
  if (transfer_ != 0) run_.Inet1.Drop(transfer_);
  transfer_ = 0;
  outcome_ = Outcome::Pending;
  attempts_ = 0;
  timedOut_ = false;
  slowDown_.Reset();
  allowedAttempts_ = 1 + std::max(0, run_.Inet1.Options().retries);
  statusTexts_.clear();
  failedBody_.clear();
  hasFailedBody_ = false;
  contentType_.clear();
  finalUrl_.clear();
}

SkipCause PageFetch::WhyNotRead() const {
  if (outcome_ == Outcome::Refused) {
    if (redirectRefused_) return {SkipReason::kRedirectRefused, refusedHop_};
    return {SkipReason::kContentType, refusedType_};
  }
  if (outcome_ == Outcome::NotStarted) return {SkipReason::kFetchFailed, "not a web address"};
  return {SkipReason::kFetchFailed, lastError_};
}

std::vector<std::string> PageFetch::TakeStatusTexts() { return std::exchange(statusTexts_, {}); }

bool PageFetch::HasBody() const { return outcome_ == Outcome::Succeeded || hasFailedBody_; }

std::string PageFetch::TakeBody() {
  if (outcome_ == Outcome::Succeeded && transfer_ != 0) {
    std::string body = run_.Inet1.TakeBody(transfer_);
    run_.Inet1.Drop(transfer_);
    transfer_ = 0;
    return body;
  }
  hasFailedBody_ = false;
  return std::exchange(failedBody_, {});
}

}  // namespace vendil
