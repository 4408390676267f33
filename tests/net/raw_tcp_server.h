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

namespace vendil::test {

struct RawReply {
  std::string bytes;
  bool hold = false;
  int dripMs = 0;
};

class RawTcpServer {
 public:
  explicit RawTcpServer(std::function<RawReply(int connection)> reply) : reply_(std::move(reply)) {
    int pipeFds[2];
    if (::pipe(pipeFds) == 0) {
      stopRead_ = UniqueFd(pipeFds[0]);
      stopWrite_ = UniqueFd(pipeFds[1]);
    }
    listen_ = UniqueFd(::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0));
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    if (listen_.Valid() &&
        ::bind(listen_.Get(), reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 &&
        ::listen(listen_.Get(), 16) == 0 &&
        ::getsockname(listen_.Get(), reinterpret_cast<sockaddr*>(&address), &length) == 0) {
      port_ = ntohs(address.sin_port);
      thread_ = std::thread([this] { Run(); });
    }
  }
  ~RawTcpServer() {
    if (stopWrite_.Valid()) (void)::write(stopWrite_.Get(), "x", 1);
    if (thread_.joinable()) thread_.join();
  }
  RawTcpServer(const RawTcpServer&) = delete;
  RawTcpServer& operator=(const RawTcpServer&) = delete;

  int Port() const { return port_; }
  std::string Url(const std::string& path) const {
    return "http://127.0.0.1:" + std::to_string(port_) + path;
  }
  // Connections accepted so far.
  int Connections() const { return connections_.load(); }

 private:
  // Waits until `fd` is readable (at most `timeoutMs`, -1 for ever); false when the server
  // is stopping first or the time is up.
  bool WaitReadable(int fd, int timeoutMs = -1) {
    pollfd fds[2] = {{fd, POLLIN, 0}, {stopRead_.Get(), POLLIN, 0}};
    for (;;) {
      const int ready = ::poll(fds, 2, timeoutMs);
      if (ready <= 0) return false;
      if (fds[1].revents != 0) return false;
      if (fds[0].revents != 0) return true;
    }
  }
  // Sleeps `ms`; false when the server is stopping (or the client spoke or left) first.
  bool Pause(int fd, int ms) { return !WaitReadable(fd, ms) && !Stopping(); }
  bool Stopping() {
    pollfd stop{stopRead_.Get(), POLLIN, 0};
    return ::poll(&stop, 1, 0) > 0;
  }

  void Run() {
    while (WaitReadable(listen_.Get())) {
      UniqueFd connection(::accept4(listen_.Get(), nullptr, nullptr, SOCK_CLOEXEC));
      if (!connection.Valid()) continue;
      const RawReply reply = reply_(connections_++);
      std::string head;
      char buffer[4096];
      while (head.find("\r\n\r\n") == std::string::npos && WaitReadable(connection.Get())) {
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
      while (reply.hold && WaitReadable(connection.Get())) {
        if (::recv(connection.Get(), buffer, sizeof buffer, 0) <= 0) break;
      }
    }
  }

  std::function<RawReply(int)> reply_;
  UniqueFd listen_, stopRead_, stopWrite_;
  int port_ = 0;
  std::atomic<int> connections_{0};
  std::thread thread_;
};

}  // namespace vendil::test
