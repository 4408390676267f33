// The socket side of the tests' bare TCP servers: a listening socket on 127.0.0.1 at an
// ephemeral port, and a pipe by which the destructor wakes the server thread to stop.
#pragma once

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include "platform/unique_fd.h"

namespace vendil::test {

class LoopbackListener {
 public:
  LoopbackListener() {
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
    }
  }

  // 0 when the socket could not be opened.
  int Port() const { return port_; }
  // Asks the server thread to stop: every wait below returns false from now on.
  void Stop() {
    if (stopWrite_.Valid()) (void)::write(stopWrite_.Get(), "x", 1);
  }
  bool Stopping() const {
    pollfd stop{stopRead_.Get(), POLLIN, 0};
    return ::poll(&stop, 1, 0) > 0;
  }
  // Waits until `fd` is readable (at most `timeoutMs`, -1 for ever); false when stopping
  // or the time is up.
  bool WaitReadable(int fd, int timeoutMs = -1) const {
    pollfd fds[2] = {{fd, POLLIN, 0}, {stopRead_.Get(), POLLIN, 0}};
    const int ready = ::poll(fds, 2, timeoutMs);
    if (ready <= 0 || fds[1].revents != 0) return false;
    return fds[0].revents != 0;
  }
  // The next connection, once one comes; invalid when stopping.
  UniqueFd Accept() const {
    while (WaitReadable(listen_.Get())) {
      UniqueFd connection(::accept4(listen_.Get(), nullptr, nullptr, SOCK_CLOEXEC));
      if (connection.Valid()) return connection;
    }
    return UniqueFd();
  }

 private:
  UniqueFd listen_, stopRead_, stopWrite_;
  int port_ = 0;
};

}  // namespace vendil::test
