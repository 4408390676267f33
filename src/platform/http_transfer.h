// One transfer of the HTTP control: its curl easy handle, set up from the request and the
// control's settings, and what its callbacks gather (headers, body, the outcome). Internal to
// the control.
#pragma once

#include <curl/curl.h>

#include <cstddef>
#include <deque>
#include <memory>
#include <string>
#include <vector>

#include "platform/http_control.h"

namespace vendil {

// What the control applies to every transfer it starts.
struct TransferSettings {
  std::vector<std::string> connectTo;
  long connectMs = 15000;
  long totalMs = 60000;
  // What one page may hold: an endless page is read this far and no further, so memory
  // stays bounded (the text decoded from it and the links found come on top).
  size_t maxBodyBytes = kDefaultMaxBodyBytes;
  InternetOptions::ProxyMode proxyMode = InternetOptions::ProxyMode::Environment;
  std::string proxyHost;
  int proxyPort = 0;
  std::string proxyUser, proxyPassword;
};

// The control's side of the background budget, as the body callback needs it.
class TransferOwner {
 public:
  virtual bool BackgroundFits(size_t bytes) const = 0;
  virtual void BackgroundGained(size_t bytes) = 0;

 protected:
  ~TransferOwner() = default;
};

class Transfer final : public HttpTransfer {
 public:
  // Null when the easy handle cannot be made or an option is refused.
  static std::unique_ptr<Transfer> Create(TransferOwner& owner, std::string serverKey,
                                          HttpRequest request, const TransferSettings& settings,
                                          CURLSH* share);
  static Transfer* FromEasy(CURL* easy);
  ~Transfer() override;
  Transfer(const Transfer&) = delete;
  Transfer& operator=(const Transfer&) = delete;

  CURL* Easy() const { return easy_; }
  bool Paused() const { return paused_; }
  // The easy handle has left the multi handle: read the outcome and free the handle.
  void Finish(CURLcode code);
  // After Finish: a redirect was accepted and waits to be requested.
  bool HopPending() const { return !nextUrl_.empty(); }
  // Makes a fresh easy handle for the pending redirect; false when it cannot be made (the
  // transfer is then done with an error).
  bool StartHop();
  void Fail(CURLcode code, const std::string& info);
  void Resume();
  void SetForeground() { background_ = false; }
  std::string TakeChunk(size_t size);

  bool Done() const override { return done_; }
  bool HeadersComplete() const override { return headersComplete_; }
  bool GateRefused() const override { return gateRefused_; }
  bool BodyCut() const override { return bodyCut_; }
  int ResponseCode() const override { return responseCode_; }
  const std::string& ResponseInfo() const override { return responseInfo_; }
  int HttpStatus() const override { return httpStatus_; }
  const std::string& EffectiveUrl() const override { return effectiveUrl_; }
  std::string Header(const std::string& name) const override { return headers_.Get(name); }
  size_t BodyBytes() const override { return bodyBytes_; }
  bool Background() const override { return background_; }
  bool WasPaused() const override { return everPaused_; }
  const std::string& ServerKey() const override { return serverKey_; }

 private:
  Transfer(TransferOwner& owner, std::string serverKey, HttpRequest request,
           TransferSettings settings, CURLSH* share);
  bool Configure();
  // At the end of a redirect's headers: 0 stops that response (the hop, if accepted, is
  // made once its handle is done).
  size_t OnRedirect(size_t bytes);
  static size_t OnHeader(char* data, size_t size, size_t count, void* user);
  static size_t OnBody(char* data, size_t size, size_t count, void* user);

  TransferOwner& owner_;
  std::string serverKey_;
  HttpRequest request_;
  TransferSettings settings_;  // as they were when the transfer started, for every hop
  CURLSH* share_ = nullptr;
  long hops_ = 0;
  std::string nextUrl_;  // a redirect accepted and not yet requested
  bool tooManyRedirects_ = false;
  CURL* easy_ = nullptr;
  curl_slist* headerList_ = nullptr;
  curl_slist* connectList_ = nullptr;
  bool background_ = false;
  bool paused_ = false;
  bool everPaused_ = false;
  bool done_ = false;
  char errorText_[CURL_ERROR_SIZE] = {};

  ResponseHeaders headers_;
  bool headersComplete_ = false;
  bool gateRefused_ = false;
  bool bodyCut_ = false;
  size_t maxBodyBytes_ = 0;
  std::deque<std::string> body_;  // pieces as received; freed as they are taken
  size_t bodyOffset_ = 0;         // bytes of body_.front() already taken
  size_t bodyBytes_ = 0;          // received and not yet taken
  size_t received_ = 0;
  int responseCode_ = 0;
  std::string responseInfo_;
  int httpStatus_ = 0;
  std::string effectiveUrl_;
};

}  // namespace vendil
