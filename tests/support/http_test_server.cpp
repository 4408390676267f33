// The loopback HTTP test server: routing, the request record and the stop handshake.
#include "support/http_test_server.h"

#include <strings.h>

#include <utility>

namespace vendil::test {

std::string RecordedRequest::Header(const std::string& name) const {
  for (const auto& [key, value] : headers) {
    if (strcasecmp(key.c_str(), name.c_str()) == 0) return value;
  }
  return {};
}

bool RecordedRequest::HasHeader(const std::string& name) const {
  for (const auto& entry : headers) {
    if (strcasecmp(entry.first.c_str(), name.c_str()) == 0) return true;
  }
  return false;
}

HttpTestServer::HttpTestServer() {
  fallback_ = [](const httplib::Request&, httplib::Response& res) {
    res.status = 404;
    res.set_content("<html>not found</html>", "text/html");
  };
  auto serve = [this](const httplib::Request& req, httplib::Response& res) { Serve(req, res); };
  // Without it a small body after the headers waits for the client's delayed ACK (some
  // 40 ms a response), which a crawl of a few hundred pages would feel.
  server_.set_tcp_nodelay(true);
  server_.Get(".*", serve);
  server_.Post(".*", serve);
  port_ = server_.bind_to_any_port("127.0.0.1");
  // Bound means listening: early requests wait in the backlog until the thread accepts them.
  thread_ = std::thread([this] { server_.listen_after_bind(); });
  // A stop before the thread marks the server running is ignored by the library and the
  // destructor would wait forever on accept: wait for that mark.
  while (port_ > 0 && !server_.is_running()) std::this_thread::yield();
}

HttpTestServer::~HttpTestServer() {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    stopping_ = true;
  }
  stopCv_.notify_all();
  server_.stop();
  thread_.join();
}

void HttpTestServer::Page(const std::string& path, const std::string& body,
                          const std::string& contentType) {
  Handle(path, [body, contentType](const httplib::Request&, httplib::Response& res) {
    res.set_content(body, contentType.c_str());
  });
}

void HttpTestServer::Handle(const std::string& path, Handler handler) {
  std::lock_guard<std::mutex> lock(mutex_);
  if (!path.empty() && path.back() == '*') {
    prefixes_[path.substr(0, path.size() - 1)] = std::move(handler);
  } else {
    exact_[path] = std::move(handler);
  }
}

void HttpTestServer::Fallback(Handler handler) {
  std::lock_guard<std::mutex> lock(mutex_);
  fallback_ = std::move(handler);
}

std::string HttpTestServer::HostPort() const { return "127.0.0.1:" + std::to_string(port_); }

std::string HttpTestServer::Url(const std::string& path) const {
  return "http://" + HostPort() + path;
}

std::vector<RecordedRequest> HttpTestServer::Requests() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return requests_;
}

int HttpTestServer::TimesRequested(const std::string& path) const {
  std::lock_guard<std::mutex> lock(mutex_);
  int count = 0;
  for (const auto& request : requests_) count += request.path == path ? 1 : 0;
  return count;
}

std::map<std::string, int> HttpTestServer::RequestsPerPath() const {
  std::lock_guard<std::mutex> lock(mutex_);
  std::map<std::string, int> counts;
  for (const auto& request : requests_) ++counts[request.path];
  return counts;
}

void HttpTestServer::ClearRequests() {
  std::lock_guard<std::mutex> lock(mutex_);
  requests_.clear();
}

bool HttpTestServer::WaitForStop(std::chrono::milliseconds timeout) {
  std::unique_lock<std::mutex> lock(mutex_);
  return stopCv_.wait_for(lock, timeout, [this] { return stopping_; });
}

void HttpTestServer::Serve(const httplib::Request& req, httplib::Response& res) {
  RecordedRequest record;
  record.method = req.method;
  record.target = req.target;
  record.path = req.path;
  record.body = req.body;
  record.remotePort = req.remote_port;
  for (const auto& [key, value] : req.headers) record.headers.emplace(key, value);

  Handler handler;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    requests_.push_back(std::move(record));
    if (auto it = exact_.find(req.path); it != exact_.end()) {
      handler = it->second;
    } else {
      size_t best = 0;
      for (const auto& [prefix, h] : prefixes_) {
        if (req.path.compare(0, prefix.size(), prefix) == 0 && (!handler || prefix.size() > best)) {
          handler = h;
          best = prefix.size();
        }
      }
      if (!handler) handler = fallback_;
    }
  }
  handler(req, res);
}

}  // namespace vendil::test
