// A small web site served on 127.0.0.1 at an ephemeral port for whole-crawl tests: pages
// set by path, every request path recorded, and room for handlers of its own.
#pragma once

#include <httplib.h>

#include <functional>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace vendil::test {

class SiteServer {
 public:
  SiteServer() {
    server_.Get(".*", [this](const httplib::Request& req, httplib::Response& res) {
      std::string type, body;
      std::function<void(const httplib::Request&, httplib::Response&)> handler;
      {
        std::lock_guard<std::mutex> lock(mutex_);
        requests_.push_back(req.path);
        if (auto h = handlers_.find(req.path); h != handlers_.end()) handler = h->second;
      }
      if (handler) {
        handler(req, res);
        return;
      }
      {
        std::lock_guard<std::mutex> lock(mutex_);
        auto it = pages_.find(req.path);
        if (it == pages_.end()) {
          res.status = 404;
          res.set_content("<html>not here</html>", "text/html");
          return;
        }
        type = it->second.first;
        body = it->second.second;
      }
      res.set_content(body, type.c_str());
    });
    server_.set_tcp_nodelay(true);  // a small body must not wait for the delayed ACK
    port_ = server_.bind_to_any_port("127.0.0.1");
    // The socket already listens once bound: requests wait in its backlog until accepted.
    thread_ = std::thread([this] { server_.listen_after_bind(); });
    // A stop before the thread marks the server running is ignored by the library, and the
    // destructor would then wait for ever on accept (a test that never uses the site).
    while (port_ > 0 && !server_.is_running()) std::this_thread::yield();
  }
  ~SiteServer() {
    server_.stop();
    thread_.join();
  }
  SiteServer(const SiteServer&) = delete;
  SiteServer& operator=(const SiteServer&) = delete;

  void Page(const std::string& path, const std::string& body,
            const std::string& type = "text/html") {
    std::lock_guard<std::mutex> lock(mutex_);
    pages_[path] = {type, body};
  }
  // A path answered by code of the test instead of a stored page.
  void Handle(const std::string& path,
              std::function<void(const httplib::Request&, httplib::Response&)> handler) {
    std::lock_guard<std::mutex> lock(mutex_);
    handlers_[path] = std::move(handler);
  }

  int port() const { return port_; }
  std::string Url(const std::string& path) const {
    return "http://127.0.0.1:" + std::to_string(port_) + path;
  }
  std::vector<std::string> Requests() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return requests_;
  }
  int TimesRequested(const std::string& path) const {
    int n = 0;
    for (const auto& p : Requests()) n += p == path;
    return n;
  }

 private:
  httplib::Server server_;
  std::thread thread_;
  int port_ = 0;
  mutable std::mutex mutex_;
  std::map<std::string, std::pair<std::string, std::string>> pages_;
  std::map<std::string, std::function<void(const httplib::Request&, httplib::Response&)>> handlers_;
  std::vector<std::string> requests_;
};

}  // namespace vendil::test
