// One JSON-RPC or form POST to a local manager over a small blocking libcurl request: the
// window waits for a hand-off anyway, and the timeouts are short.
#include "platform/json_rpc_post.h"

#include <curl/curl.h>

#include <memory>

namespace vendil {

namespace {

struct CurlDeleter {
  void operator()(CURL* c) const { curl_easy_cleanup(c); }
};
struct SlistDeleter {
  void operator()(curl_slist* s) const { curl_slist_free_all(s); }
};

constexpr size_t kMaxResponse = 16 * 1024 * 1024;

size_t CollectBody(char* data, size_t size, size_t count, void* user) {
  auto* out = static_cast<std::string*>(user);
  const size_t n = size * count;
  if (out->size() + n > kMaxResponse) return 0;  // aborts the transfer
  out->append(data, n);
  return n;
}

}  // namespace

bool PostJsonRpc(const std::string& rpcUrl, const std::string& body, std::string& response,
                 std::string& error, bool& connected) {
  connected = false;
  response.clear();
  std::unique_ptr<CURL, CurlDeleter> curl(curl_easy_init());
  if (!curl) {
    error = "libcurl could not start";
    return false;
  }
  std::unique_ptr<curl_slist, SlistDeleter> headers(
      curl_slist_append(nullptr, "Content-Type: application/json"));
  CURL* c = curl.get();
  curl_easy_setopt(c, CURLOPT_URL, rpcUrl.c_str());
  curl_easy_setopt(c, CURLOPT_POST, 1L);
  curl_easy_setopt(c, CURLOPT_POSTFIELDS, body.data());
  curl_easy_setopt(c, CURLOPT_POSTFIELDSIZE_LARGE, static_cast<curl_off_t>(body.size()));
  curl_easy_setopt(c, CURLOPT_HTTPHEADER, headers.get());
  curl_easy_setopt(c, CURLOPT_WRITEFUNCTION, CollectBody);
  curl_easy_setopt(c, CURLOPT_WRITEDATA, &response);
  curl_easy_setopt(c, CURLOPT_CONNECTTIMEOUT, 5L);
  curl_easy_setopt(c, CURLOPT_TIMEOUT, 30L);
  curl_easy_setopt(c, CURLOPT_NOSIGNAL, 1L);
  curl_easy_setopt(c, CURLOPT_PROXY, "");  // aria2 runs beside the user, not behind a proxy
  curl_easy_setopt(c, CURLOPT_PROTOCOLS_STR, "http,https");
  const CURLcode rc = curl_easy_perform(c);
  long status = 0;
  curl_easy_getinfo(c, CURLINFO_RESPONSE_CODE, &status);
  connected = status != 0;
  if (rc != CURLE_OK) {
    error = curl_easy_strerror(rc);
    return false;
  }
  return true;
}

}  // namespace vendil
