// The loopback proxy: accept, read the request head, forward it to the origin named in the
// absolute URL with "Connection: close", relay the answer to the end.
#include "support/loopback_proxy.h"

#include <arpa/inet.h>
#include <netdb.h>
#include <netinet/in.h>
#include <poll.h>
#include <strings.h>
#include <sys/socket.h>
#include <unistd.h>

#include <sstream>

namespace vendil::test {
namespace {

bool SendAll(int fd, const std::string& bytes) {
  size_t sent = 0;
  while (sent < bytes.size()) {
    const ssize_t n = ::send(fd, bytes.data() + sent, bytes.size() - sent, MSG_NOSIGNAL);
    if (n <= 0) return false;
    sent += static_cast<size_t>(n);
  }
  return true;
}

UniqueFd ConnectTo(const std::string& host, const std::string& port) {
  addrinfo hints{};
  hints.ai_family = AF_INET;
  hints.ai_socktype = SOCK_STREAM;
  addrinfo* found = nullptr;
  if (::getaddrinfo(host.c_str(), port.c_str(), &hints, &found) != 0) return UniqueFd();
  UniqueFd fd(::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0));
  const bool ok = fd.Valid() && ::connect(fd.Get(), found->ai_addr, found->ai_addrlen) == 0;
  ::freeaddrinfo(found);
  return ok ? std::move(fd) : UniqueFd();
}

bool HeaderNamed(const std::string& line, const char* name) {
  const size_t length = std::char_traits<char>::length(name);
  return line.size() > length && line[length] == ':' &&
         ::strncasecmp(line.c_str(), name, length) == 0;
}

}  // namespace

LoopbackProxy::LoopbackProxy() {
  if (listener_.Port() == 0) return;
  thread_ = std::thread([this] {
    for (;;) {
      UniqueFd client = listener_.Accept();  // closed once served
      if (!client.Valid()) return;
      Serve(client.Get());
    }
  });
}

LoopbackProxy::~LoopbackProxy() {
  listener_.Stop();
  if (thread_.joinable()) thread_.join();
}

std::vector<ProxiedRequest> LoopbackProxy::Requests() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return requests_;
}

void LoopbackProxy::Serve(int client) {
  std::string data;
  char buffer[8192];
  size_t headEnd;
  while ((headEnd = data.find("\r\n\r\n")) == std::string::npos) {
    if (!listener_.WaitReadable(client)) return;
    const ssize_t n = ::recv(client, buffer, sizeof buffer, 0);
    if (n <= 0) return;
    data.append(buffer, static_cast<size_t>(n));
  }
  std::istringstream head(data.substr(0, headEnd));
  std::string requestLine, line;
  std::getline(head, requestLine);
  if (!requestLine.empty() && requestLine.back() == '\r') requestLine.pop_back();
  ProxiedRequest record{requestLine, {}};
  std::string headers;
  size_t contentLength = 0;
  while (std::getline(head, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    const std::string value = line.substr(line.find(':') + 1);
    if (HeaderNamed(line, "Proxy-Authorization")) {
      record.proxyAuthorization = value.substr(value.find_first_not_of(' '));
      continue;
    }
    if (HeaderNamed(line, "Proxy-Connection") || HeaderNamed(line, "Connection")) continue;
    if (HeaderNamed(line, "Content-Length")) contentLength = std::stoul(value);
    headers += line + "\r\n";
  }
  {
    std::lock_guard<std::mutex> lock(mutex_);
    requests_.push_back(record);
  }
  std::string body = data.substr(headEnd + 4);
  while (body.size() < contentLength && listener_.WaitReadable(client)) {
    const ssize_t n = ::recv(client, buffer, sizeof buffer, 0);
    if (n <= 0) return;
    body.append(buffer, static_cast<size_t>(n));
  }

  // "METHOD http://host:port/path VERSION"
  std::istringstream parts(requestLine);
  std::string method, target, version;
  parts >> method >> target >> version;
  const std::string scheme = "http://";
  const size_t pathStart = target.find('/', scheme.size());
  const std::string authority = target.substr(scheme.size(), pathStart - scheme.size());
  const std::string path = pathStart == std::string::npos ? "/" : target.substr(pathStart);
  const size_t colon = authority.rfind(':');
  const std::string host = colon == std::string::npos ? authority : authority.substr(0, colon);
  const std::string port = colon == std::string::npos ? "80" : authority.substr(colon + 1);
  UniqueFd origin = target.rfind(scheme, 0) == 0 ? ConnectTo(host, port) : UniqueFd();
  if (!origin.Valid()) {
    SendAll(client, "HTTP/1.1 502 Bad Gateway\r\nContent-Length: 0\r\nConnection: close\r\n\r\n");
    return;
  }
  if (!SendAll(origin.Get(), method + " " + path + " " + version + "\r\n" + headers +
                                 "Connection: close\r\n\r\n" + body))
    return;
  while (listener_.WaitReadable(origin.Get())) {
    const ssize_t n = ::recv(origin.Get(), buffer, sizeof buffer, 0);
    if (n <= 0 || !SendAll(client, std::string(buffer, static_cast<size_t>(n)))) return;
  }
}

}  // namespace vendil::test
