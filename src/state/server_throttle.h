// Servers that asked one search to slow down: per server ("scheme://host:port", as
// HttpControl::ServerKey gives it) the moment before which no new request may start (its
// Retry-After), and whether it answered 429, after which it gets one request at a time for
// the rest of the search. Every fetcher of the search asks it before a request starts.
#pragma once

#include <chrono>
#include <cstddef>
#include <optional>
#include <string>
#include <unordered_map>

namespace vendil {

class ServerThrottle {
 public:
  using Clock = std::chrono::steady_clock;

  // A slow-down answer (429 or 503) from a server and the wait it asked for (0 for none):
  // no request to it starts before now + wait; after a 429 one at a time from now on.
  void RecordSlowDown(const std::string& serverKey, int httpStatus, std::chrono::milliseconds wait,
                      Clock::time_point now = Clock::now());

  // May a new request to the server start now, with `runningNow` of ours in flight to it?
  // (The limit of connections and the delay between starts are the caller's own test.)
  bool MayStart(const std::string& serverKey, size_t runningNow, Clock::time_point now) const;
  // The moment its wait ends; the epoch for a server never waited for.
  Clock::time_point WaitUntil(const std::string& serverKey) const;
  // It answered 429 in this search.
  bool OneAtATime(const std::string& serverKey) const;
  // The requests that may be in flight to it at once, given the connections setting.
  size_t MaxInFlight(const std::string& serverKey, size_t connections) const;

  // The server whose wait ends last, while it lasts (for the status text).
  struct Wait {
    std::string serverKey;
    Clock::time_point until;
  };
  std::optional<Wait> LongestWait(Clock::time_point now) const;

 private:
  struct Server {
    Clock::time_point waitUntil{};
    bool oneAtATime = false;
  };
  std::unordered_map<std::string, Server> servers_;
};

}  // namespace vendil
