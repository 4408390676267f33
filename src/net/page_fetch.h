// One page's request with its attempts, run through Form1's HTTP control: the content-type
// and redirect tests at the headers, the retry rules (errors, and servers that ask to slow
// down), and the status texts of each failed attempt, kept until the one who reads the page shows
// them. Used for the page being read and for pages fetched ahead of it alike, so both behave the
// same.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "net/slow_down_retries.h"
#include "state/search_run.h"

namespace vendil {

// What to fetch. Two specs with the same URL, headers and post data ask for the same thing.
struct PageSpec {
  std::string url;
  std::string headers;  // extra header lines, each ended by CR LF
  std::string postData;
  // The charset a non-ASCII query is sent in (the charset of the page that linked it);
  // empty: EUC-JP while the Japanese briefcase site is read, else UTF-8.
  std::string queryCharset;
  // Asked for each place a redirect leads before it is requested; false: the page is not
  // read (as a refused content type). Null: every redirect is read.
  std::function<bool(const std::string& finalUrl)> redirectRule;

  bool SameRequest(const PageSpec& other) const {
    return url == other.url && headers == other.headers && postData == other.postData &&
           queryCharset == other.queryCharset;
  }
};

class PageFetch {
 public:
  enum class Outcome { Pending, Succeeded, Refused, Failed, NotStarted };

  PageFetch(SearchRun& run, PageSpec pageRequest, bool background);
  ~PageFetch();  // drops the transfer in flight
  PageFetch(const PageFetch&) = delete;
  PageFetch& operator=(const PageFetch&) = delete;

  const PageSpec& Request() const { return spec_; }
  const std::string& ServerKey() const { return serverKey_; }
  Outcome Result() const { return outcome_; }
  bool Finished() const { return outcome_ != Outcome::Pending; }
  // No attempt in flight and another one is due.
  bool WantsAttempt() const { return !Finished() && transfer_ == 0; }
  bool InFlight() const { return transfer_ != 0 && !Finished(); }
  int AttemptsMade() const { return attempts_; }

  // Starts the next attempt now; false (and NotStarted) when the request cannot start.
  bool StartAttempt();
  // Looks at the attempt in flight after the control has been driven.
  void Update();
  // Fetched ahead and now read: the transfer becomes an ordinary one.
  void MakeForeground();
  // Forgets the attempt in flight as if it had never been made (a slot is needed for the
  // page being read). Only for a page fetched ahead on its first attempt.
  void Abandon();
  // Status texts of failed attempts not yet shown, in order.
  std::vector<std::string> TakeStatusTexts();

  // After Succeeded: the body, its Content-Type and the URL that answered. After a failure:
  // the body of the last attempt whose headers were accepted, if any (HasBody).
  bool HasBody() const;
  std::string TakeBody();
  const std::string& ContentType() const { return contentType_; }
  const std::string& FinalUrl() const { return finalUrl_; }
  // The body reached the control's bound and was read only that far.
  bool BodyCut() const { return bodyCut_; }
  // Bytes a failed attempt left here (the control holds the rest).
  size_t HeldBytes() const { return failedBody_.size(); }
  // Why a finished fetch was not read: the content type refused, the hop a redirect was
  // refused at, or the error of the last attempt.
  SkipCause WhyNotRead() const;

 private:
  void AttemptEnded(const HttpTransfer& t);
  void Failure(int code, const std::string& info);
  void SlowedDown(const HttpTransfer& t);

  SearchRun& run_;
  PageSpec spec_;
  std::string requestUrl_;  // as the request line carries it
  std::string hopUrl_;      // the URL of the attempt's latest hop, as a row would carry it
  std::string serverKey_;
  bool background_;
  TransferId transfer_ = 0;
  Outcome outcome_ = Outcome::Pending;
  int attempts_ = 0;
  int allowedAttempts_;
  bool timedOut_ = false;  // an attempt ran out of time: the next one is the last, and quick
  bool contentAccepted_ = false;
  bool redirectRefused_ = false;
  SlowDownRetries slowDown_;
  std::vector<std::string> statusTexts_;
  std::string failedBody_, contentType_, finalUrl_;
  std::string refusedType_, refusedHop_, lastError_;
  bool hasFailedBody_ = false;
  bool bodyCut_ = false;
};

}  // namespace vendil
