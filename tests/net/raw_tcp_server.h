// A bare TCP server on 127.0.0.1 for the failures an HTTP library will not produce: a
// connection closed without a reply, a reply cut short, a request never answered.
//
//   RawTcpServer server([](int n) { return RawReply{n < 2 ? "" : kOk}; });
//
// Connections are served one after another. For connection n (from 0) the server reads the
// request head, sends `bytes` and closes; with `hold` it keeps the connection open instead
// until the client gives up or the server is destroyed. With `dripMs` the bytes go one at a
// time, that many milliseconds apart.
#pragma once

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <functional>
#include <string>
#include <thread>

#include "platform/unique_fd.h"
#include "support/loopback_listener.h"

namespace vendil::test {

struct RawReply {
  std::string bytes;
  bool hold = false;
  int dripMs = 0;
};

class RawTcpServer {
 public:
  explicit RawTcpServer(std::function<RawReply(int connection)> reply) : reply_(std::move(reply)) {
    if (listener_.Port() != 0) thread_ = std::thread([this] { Run(); });
  }
  ~RawTcpServer() {
    listener_.Stop();
    if (thread_.joinable()) thread_.join();
  }
  RawTcpServer(const RawTcpServer&) = delete;
  RawTcpServer& operator=(const RawTcpServer&) = delete;

  int Port() const { return listener_.Port(); }
  std::string Url(const std::string& path) const {
    return "http://127.0.0.1:" + std::to_string(Port()) + path;
  }
  // Connections accepted so far.
  int Connections() const { return connections_.load(); }

 private:
  // Sleeps `ms`; false when the server is stopping (or the client spoke or left) first.
  bool Pause(int fd, int ms) { return !listener_.WaitReadable(fd, ms) && !listener_.Stopping(); }

  void Run() {
    for (;;) {
      UniqueFd connection = listener_.Accept();  // closed at the end of each turn
      if (!connection.Valid()) return;
      const RawReply reply = reply_(connections_++);
      std::string head;
      char buffer[4096];
      while (head.find("\r\n\r\n") == std::string::npos &&
             listener_.WaitReadable(connection.Get())) {
        const ssize_t n = ::recv(connection.Get(), buffer, sizeof buffer, 0);
        if (n <= 0) break;
        head.append(buffer, static_cast<size_t>(n));
      }
      size_t sent = 0;
      while (sent < reply.bytes.size()) {
        const size_t piece = reply.dripMs > 0 ? 1 : reply.bytes.size() - sent;
        const ssize_t n = ::send(connection.Get(), reply.bytes.data() + sent, piece, MSG_NOSIGNAL);
        if (n <= 0) break;
        sent += static_cast<size_t>(n);
        if (reply.dripMs > 0 && !Pause(connection.Get(), reply.dripMs)) break;
      }
      // Held: wait until the client closes (recv gives 0) or the server stops.
      while (reply.hold && listener_.WaitReadable(connection.Get())) {
        if (::recv(connection.Get(), buffer, sizeof buffer, 0) <= 0) break;
      }
    }
  }

  std::function<RawReply(int)> reply_;
  LoopbackListener listener_;
  std::atomic<int> connections_{0};
  std::thread thread_;
};

}  // namespace vendil::test
