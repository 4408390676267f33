// JSON-RPC, form POST and GET to a local manager over a small blocking libcurl request: the
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
struct CurlTextDeleter {
  void operator()(char* s) const { curl_free(s); }
};

constexpr size_t kMaxResponse = 16 * 1024 * 1024;

size_t CollectBody(char* data, size_t size, size_t count, void* user) {
  auto* out = static_cast<std::string*>(user);
  const size_t n = size * count;
  if (out->size() + n > kMaxResponse) return 0;  // aborts the transfer
  out->append(data, n);
  return n;
}

// One request: a POST of `body` with `contentType`, or a GET when `contentType` is null.
bool Perform(const std::string& url, const char* contentType, const std::string& body,
             long timeoutSeconds, LocalHttpReply& reply) {
  reply = LocalHttpReply{};
  std::unique_ptr<CURL, CurlDeleter> curl(curl_easy_init());
  if (!curl) {
    reply.error = "libcurl could not start";
    return false;
  }
  CURL* c = curl.get();
  std::unique_ptr<curl_slist, SlistDeleter> headers;
  if (contentType) {
    headers.reset(curl_slist_append(nullptr, contentType));
    curl_easy_setopt(c, CURLOPT_POST, 1L);
    curl_easy_setopt(c, CURLOPT_POSTFIELDS, body.data());
    curl_easy_setopt(c, CURLOPT_POSTFIELDSIZE_LARGE, static_cast<curl_off_t>(body.size()));
    curl_easy_setopt(c, CURLOPT_HTTPHEADER, headers.get());
  }
  curl_easy_setopt(c, CURLOPT_URL, url.c_str());
  curl_easy_setopt(c, CURLOPT_WRITEFUNCTION, CollectBody);
  curl_easy_setopt(c, CURLOPT_WRITEDATA, &reply.body);
  curl_easy_setopt(c, CURLOPT_CONNECTTIMEOUT, timeoutSeconds < 5 ? timeoutSeconds : 5L);
  curl_easy_setopt(c, CURLOPT_TIMEOUT, timeoutSeconds);
  curl_easy_setopt(c, CURLOPT_NOSIGNAL, 1L);
  curl_easy_setopt(c, CURLOPT_PROXY, "");  // managers run beside the user, not behind a proxy
  curl_easy_setopt(c, CURLOPT_PROTOCOLS_STR, "http,https");
  const CURLcode rc = curl_easy_perform(c);
  curl_easy_getinfo(c, CURLINFO_RESPONSE_CODE, &reply.status);
  reply.connected = reply.status != 0;
  if (rc != CURLE_OK) {
    reply.error = curl_easy_strerror(rc);
    return false;
  }
  return true;
}

std::string FormEncode(const FormFields& fields) {
  std::string out;
  for (const auto& [name, value] : fields) {
    std::unique_ptr<char, CurlTextDeleter> n(
        curl_easy_escape(nullptr, name.data(), static_cast<int>(name.size())));
    std::unique_ptr<char, CurlTextDeleter> v(
        curl_easy_escape(nullptr, value.data(), static_cast<int>(value.size())));
    if (!out.empty()) out += '&';
    out += n ? n.get() : "";
    out += '=';
    out += v ? v.get() : "";
  }
  return out;
}

}  // namespace

bool PostJsonRpc(const std::string& rpcUrl, const std::string& body, std::string& response,
                 std::string& error, bool& connected, long timeoutSeconds) {
  LocalHttpReply reply;
  const bool ok = Perform(rpcUrl, "Content-Type: application/json", body, timeoutSeconds, reply);
  response = std::move(reply.body);
  error = std::move(reply.error);
  connected = reply.connected;
  return ok;
}

bool GetLocal(const std::string& url, long timeoutSeconds, LocalHttpReply& reply) {
  return Perform(url, nullptr, "", timeoutSeconds, reply);
}

bool PostLocalForm(const std::string& url, const FormFields& fields, LocalHttpReply& reply) {
  return Perform(url, "Content-Type: application/x-www-form-urlencoded", FormEncode(fields), 30,
                 reply);
}

}  // namespace vendil
