// The HTTP transfer control: the operations the page fetcher needs, over a libcurl multi
// handle. Several transfers may run at once (pages fetched ahead); no call blocks the caller
// for more than a few milliseconds. The single-request operations (Execute, StillExecuting,
// GetChunk, ...) work on the control's current request, as the fetcher of one page uses them.
#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/http_headers.h"
#include "platform/internet_options.h"

namespace vendil {

// The head of the final response as the header gate sees it.
struct ResponseHead {
  const ResponseHeaders& headers;
  std::string effectiveUrl;  // the URL that answered, after redirects
  long redirects = 0;        // redirects followed to get there
};

struct HttpRequest {
  std::string url;
  std::string serverKey;            // ServerKey(url), when the caller has it already
  std::string operation = "GET";    // or "POST" or "HEAD"
  std::string inputData;            // the body of a POST
  std::string headers;              // extra header lines, each ended by CR LF
  long connectMs = 0, totalMs = 0;  // 0: the control's own time-outs
  // Fetched ahead of need: its body counts against the background budget and the transfer
  // waits (paused) while the budget is spent.
  bool background = false;
  // Asked once the headers of the final response are in; false ends the transfer before its
  // body (not an error: the response code stays 0).
  std::function<bool(const ResponseHead&)> gate;
  // Asked for each redirect (301, 302, 303, 307, 308 with a Location) before anything is
  // sent to the place it names, with the Location as sent and the URL that answered; it
  // gives the URL to request next, or an empty text to refuse the redirect (the transfer
  // ends as at a refusing gate, GateRefused). Null: the Location is resolved as written and
  // followed. At most kMaxRedirects are followed; one more fails the transfer.
  std::function<std::string(const std::string& location, const std::string& fromUrl)> redirect;
};

inline constexpr long kMaxRedirects = 10;
inline constexpr size_t kDefaultMaxBodyBytes = size_t{64} * 1024 * 1024;

using TransferId = uint64_t;  // 0 is no transfer

// One transfer as its caller reads it. Valid until the transfer is dropped.
// The error number of a transfer that ran out of time (curl's own, which callers show).
inline constexpr int kTransferTimedOut = 28;

class HttpTransfer {
 public:
  virtual ~HttpTransfer() = default;
  virtual bool Done() const = 0;
  virtual bool HeadersComplete() const = 0;
  virtual bool GateRefused() const = 0;
  virtual bool BodyCut() const = 0;
  virtual int ResponseCode() const = 0;  // 0, or curl's error number once done
  virtual const std::string& ResponseInfo() const = 0;
  virtual int HttpStatus() const = 0;
  virtual const std::string& EffectiveUrl() const = 0;
  virtual std::string Header(const std::string& name) const = 0;
  virtual size_t BodyBytes() const = 0;  // received and not yet taken
  virtual bool Background() const = 0;
  virtual bool WasPaused() const = 0;  // waited for the background budget at some time
  virtual const std::string& ServerKey() const = 0;
};

class HttpControl {
 public:
  HttpControl();
  ~HttpControl();
  HttpControl(const HttpControl&) = delete;
  HttpControl& operator=(const HttpControl&) = delete;

  // Drops the current request and every other request that is not fetched ahead; harmless
  // when idle.
  void Cancel();
  // Starts the current request ("GET" or "POST") with extra header lines, each ended by
  // CR LF. Returns at once; false when the request could not be started.
  bool Execute(const std::string& url, const std::string& operation, const std::string& inputData,
               const std::string& headers);
  // True while the current request runs (headers not yet complete or body still arriving).
  bool StillExecuting();
  // The value of one response header of the final response, empty when absent.
  std::string GetHeader(const std::string& name) const;
  // The next bytes of the body, at most `size`; empty at the end.
  std::string GetChunk(size_t size);
  // 0 when the last request had no transport error, else an error number.
  int ResponseCode() const;
  std::string ResponseInfo() const;
  // The HTTP status and the URL finally fetched after redirects.
  int HttpStatus() const;
  std::string EffectiveUrl() const;
  // The headers of the final response arrived (the gate, if any, was asked).
  bool HeadersComplete() const;
  // The body reached the max body bytes and was cut there.
  bool BodyCut() const;

  // Called once the headers of the current request's final response are in; returning
  // false stops the transfer of the body (the headers stay readable, ResponseCode stays 0).
  // The gate runs inside StillExecuting and must not call Execute or Cancel.
  void SetHeaderGate(std::function<bool(const HttpControl&)> gate);

  // Transfers by id, for a caller that keeps several in flight.
  TransferId Start(HttpRequest request);  // 0 when it cannot start
  // Moves every transfer on, waiting at most `waitMs` for network activity (also when none
  // runs, so a caller waiting for a start time does not spin).
  void Drive(int waitMs);
  // Null once dropped (by Drop, Cancel of a foreground transfer, or the destructor).
  const HttpTransfer* Find(TransferId id) const;
  // The whole body received so far; the transfer holds none of it afterwards.
  std::string TakeBody(TransferId id);
  void Drop(TransferId id);
  // Makes a transfer fetched ahead an ordinary one (its body no longer counts against the
  // background budget, and it goes on if it was waiting for the budget).
  void MakeForeground(TransferId id);

  // Politeness: "scheme://host:port" of a URL, the transfers running for it, and the
  // earliest moment the next request to it may start (the delay after the last start).
  static std::string ServerKey(const std::string& url);
  size_t RunningFor(const std::string& serverKey) const;
  // Those of them that are fetched ahead (they hold a connection, paused or not).
  size_t RunningInBackgroundFor(const std::string& serverKey) const;
  std::chrono::steady_clock::time_point NextStartAt(const std::string& serverKey) const;
  // Told of every transfer as it starts, with its server and the moment the delay counts
  // from: the requests of a search as the program made them, whatever the network did.
  using StartObserver =
      std::function<void(const std::string& serverKey, std::chrono::steady_clock::time_point)>;
  void OnTransferStarted(StartObserver observer);

  // Bytes that transfers fetched ahead may hold; the most they held at once.
  void SetBackgroundBudget(size_t bytes);
  size_t BackgroundBudget() const;
  size_t BackgroundBytes() const;
  size_t PeakBackgroundBytes() const;

  // Proxy, time-outs, retries and politeness for every request started from now on.
  void SetOptions(const InternetOptions& options);
  const InternetOptions& Options() const;
  // "HOST:PORT:HOST2:PORT2" entries, as curl's --connect-to.
  void SetConnectTo(std::vector<std::string> entries);
  void SetTimeouts(long connectSeconds, long totalSeconds);
  void SetTimeoutMilliseconds(long connectMs, long totalMs);
  long ConnectTimeoutMs() const;
  long TotalTimeoutMs() const;
  // A body larger than this ends there, as a failed chunk read does.
  void SetMaxBodyBytes(size_t bytes);
  size_t MaxBodyBytes() const;

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

}  // namespace vendil
