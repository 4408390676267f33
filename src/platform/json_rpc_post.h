// A blocking POST of a JSON body to a local manager's RPC address, bounded in time and in
// the size of the answer.
#pragma once

#include <string>

namespace vendil {

// One JSON-RPC call: true with the response body, or false with what went wrong in
// `error`; `connected` tells whether the server answered at all.
bool PostJsonRpc(const std::string& rpcUrl, const std::string& body, std::string& response,
                 std::string& error, bool& connected);

}  // namespace vendil
