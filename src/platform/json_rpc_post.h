// Small blocking HTTP exchanges with a manager running beside the user (a JSON-RPC POST, a
// form POST, a GET), bounded in time and in the size of the answer.
#pragma once

#include <string>
#include <utility>
#include <vector>

namespace vendil {

// One JSON-RPC call: true with the response body, or false with what went wrong in
// `error`; `connected` tells whether the server answered at all. `timeoutSeconds` bounds
// the whole exchange (a look for a running manager uses a short one).
bool PostJsonRpc(const std::string& rpcUrl, const std::string& body, std::string& response,
                 std::string& error, bool& connected, long timeoutSeconds = 30);

// What a manager's listener answered: `connected` once any HTTP answer came back,
// `status` its code, `body` the answer, `error` libcurl's text when the exchange failed.
struct LocalHttpReply {
  bool connected = false;
  long status = 0;
  std::string body;
  std::string error;
};

using FormFields = std::vector<std::pair<std::string, std::string>>;

// A GET of `url`; true when an answer arrived (whatever its status).
bool GetLocal(const std::string& url, long timeoutSeconds, LocalHttpReply& reply);

// A POST of `fields` as application/x-www-form-urlencoded (names and values encoded here);
// true when an answer arrived (whatever its status).
bool PostLocalForm(const std::string& url, const FormFields& fields, LocalHttpReply& reply);

}  // namespace vendil
