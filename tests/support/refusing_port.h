// A loopback port held but never listened on: a connection there is refused, and no other
// program can take the port while the test runs.
#pragma once

#include <netinet/in.h>
#include <sys/socket.h>

#include <string>

#include "platform/unique_fd.h"

namespace vendil::test {

class RefusingPort {
 public:
  RefusingPort() : fd_(::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0)) {
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    ::bind(fd_.Get(), reinterpret_cast<sockaddr*>(&address), sizeof address);
    ::getsockname(fd_.Get(), reinterpret_cast<sockaddr*>(&address), &length);
    port_ = ntohs(address.sin_port);
  }
  std::string Url(const std::string& path = "") const {
    return "http://127.0.0.1:" + std::to_string(port_) + path;
  }

 private:
  UniqueFd fd_;
  int port_ = 0;
};

}  // namespace vendil::test
