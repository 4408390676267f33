// A loopback HTTP server for tests, over cpp-httplib.
//
//   HttpTestServer server;                        // listens on 127.0.0.1, ephemeral port
//   server.Page("/a.html", "<a href=b.html>");    // a fixed answer (text/html by default)
//   server.Handle("/slow", [&](const httplib::Request& req, httplib::Response& res) {...});
//   server.Handle("/files/*", ...);               // a trailing "*" matches every path below
//   fetch(server.Url("/a.html"));
//   server.Requests()                             // every request, in arrival order
//
// Routing: an exact path (query not counted) first, then the longest "*" prefix, then the
// fallback (404 text/html "<html>not found</html>"; replace it with Fallback()). Handlers,
// pages and the record may be changed at any time, also while requests are served; every
// method is thread-safe. Each request is recorded before its handler runs, so a handler
// that never answers is still seen. A handler that waits must call WaitForStop() instead
// of sleeping, so that the destructor (which stops the server and joins its thread) does
// not wait on it. Methods served: GET, POST, HEAD.
#pragma once

#include <httplib.h>

#include <chrono>
#include <condition_variable>
#include <functional>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace vendil::test {

struct RecordedRequest {
  std::string method;
  std::string target;  // path and query as sent, e.g. "/list?page=2"
  std::string path;    // without the query
  std::string body;
  int remotePort = 0;  // the client's port: equal for requests over one connection
  std::multimap<std::string, std::string> headers;  // names as sent

  // The first value of a header, compared without regard to case; empty when absent.
  std::string Header(const std::string& name) const;
  bool HasHeader(const std::string& name) const;
};

class HttpTestServer {
 public:
  using Handler = std::function<void(const httplib::Request&, httplib::Response&)>;

  HttpTestServer();
  ~HttpTestServer();
  HttpTestServer(const HttpTestServer&) = delete;
  HttpTestServer& operator=(const HttpTestServer&) = delete;

  // A fixed answer: status 200 with this body and Content-Type.
  void Page(const std::string& path, const std::string& body,
            const std::string& contentType = "text/html");
  // Code of the test answers `path` (exact, or a prefix when it ends in "*").
  void Handle(const std::string& path, Handler handler);
  // Answers every path nothing else answers.
  void Fallback(Handler handler);

  int Port() const { return port_; }
  // "127.0.0.1:PORT", for connect-to entries.
  std::string HostPort() const;
  // "http://127.0.0.1:PORT" + path.
  std::string Url(const std::string& path) const;

  std::vector<RecordedRequest> Requests() const;
  // How many requests asked for this path (query not counted).
  int TimesRequested(const std::string& path) const;
  // How many requests asked for each path.
  std::map<std::string, int> RequestsPerPath() const;
  void ClearRequests();

  // Blocks a handler until the server stops or `timeout` passes; true when stopping.
  bool WaitForStop(std::chrono::milliseconds timeout);

 private:
  void Serve(const httplib::Request& req, httplib::Response& res);

  httplib::Server server_;
  std::thread thread_;
  int port_ = 0;
  mutable std::mutex mutex_;
  std::condition_variable stopCv_;
  bool stopping_ = false;
  std::map<std::string, Handler> exact_;
  std::map<std::string, Handler> prefixes_;
  Handler fallback_;
  std::vector<RecordedRequest> requests_;
};

}  // namespace vendil::test
