// The HTTP transfer control: the operations the page fetcher needs, over a libcurl multi
// handle. No call blocks the caller for more than a few milliseconds.
#pragma once

#include <cstddef>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace vendil {

class HttpControl {
 public:
  HttpControl();
  ~HttpControl();
  HttpControl(const HttpControl&) = delete;
  HttpControl& operator=(const HttpControl&) = delete;

  // Drops any request in progress; harmless when idle.
  void Cancel();
  // Starts a request ("GET" or "POST") with extra header lines, each ended by CR LF.
  // Returns at once; false when the request could not be started.
  bool Execute(const std::string& url, const std::string& operation, const std::string& inputData,
               const std::string& headers);
  // True while the request runs (headers not yet complete or body still arriving).
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

  // Called once the headers of the final response are in; returning false stops the
  // transfer of the body (the headers stay readable, ResponseCode stays 0). The gate runs
  // inside StillExecuting and must not call Execute or Cancel.
  void SetHeaderGate(std::function<bool(const HttpControl&)> gate);
  // "HOST:PORT:HOST2:PORT2" entries, as curl's --connect-to.
  void SetConnectTo(std::vector<std::string> entries);
  void SetTimeouts(long connectSeconds, long totalSeconds);
  void SetTimeoutMilliseconds(long connectMs, long totalMs);
  // A body larger than this ends there, as a failed chunk read does.
  void SetMaxBodyBytes(size_t bytes);

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

}  // namespace vendil
