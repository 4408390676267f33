// A small forwarding HTTP proxy on 127.0.0.1 for tests: it takes requests in the absolute
// form a client sends to a proxy ("GET http://host:port/path HTTP/1.1"), records them, sends
// them on to the origin in the ordinary form and relays the answer. Connections are served
// one after another; each answer ends its connection.
//
//   LoopbackProxy proxy;
//   options.proxyHost = "127.0.0.1"; options.proxyPort = proxy.Port();
//   ... proxy.Requests()   // every request as the client sent it
#pragma once

#include <atomic>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "support/loopback_listener.h"

namespace vendil::test {

struct ProxiedRequest {
  std::string requestLine;         // "GET http://127.0.0.1:1234/a HTTP/1.1"
  std::string proxyAuthorization;  // the Proxy-Authorization header, empty when absent
};

class LoopbackProxy {
 public:
  LoopbackProxy();
  ~LoopbackProxy();
  LoopbackProxy(const LoopbackProxy&) = delete;
  LoopbackProxy& operator=(const LoopbackProxy&) = delete;

  int Port() const { return listener_.Port(); }
  std::vector<ProxiedRequest> Requests() const;

 private:
  void Serve(int client);

  LoopbackListener listener_;
  mutable std::mutex mutex_;
  std::vector<ProxiedRequest> requests_;
  std::thread thread_;
};

}  // namespace vendil::test
