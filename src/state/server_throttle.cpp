// The slow-down state of each server one search has met.
#include "state/server_throttle.h"

#include <algorithm>

namespace vendil {

void ServerThrottle::RecordSlowDown(const std::string& serverKey, int httpStatus,
                                    std::chrono::milliseconds wait, Clock::time_point now) {
  Server& server = servers_[serverKey];
  // A shorter wait asked later does not cut short a longer one asked before.
  server.waitUntil = std::max(server.waitUntil, now + wait);
  if (httpStatus == 429) server.oneAtATime = true;
}

bool ServerThrottle::MayStart(const std::string& serverKey, size_t runningNow,
                              Clock::time_point now) const {
  const auto it = servers_.find(serverKey);
  if (it == servers_.end()) return true;
  if (now < it->second.waitUntil) return false;
  return !it->second.oneAtATime || runningNow == 0;
}

ServerThrottle::Clock::time_point ServerThrottle::WaitUntil(const std::string& serverKey) const {
  const auto it = servers_.find(serverKey);
  return it == servers_.end() ? Clock::time_point{} : it->second.waitUntil;
}

bool ServerThrottle::OneAtATime(const std::string& serverKey) const {
  const auto it = servers_.find(serverKey);
  return it != servers_.end() && it->second.oneAtATime;
}

size_t ServerThrottle::MaxInFlight(const std::string& serverKey, size_t connections) const {
  return OneAtATime(serverKey) ? std::min<size_t>(connections, 1) : connections;
}

std::optional<ServerThrottle::Wait> ServerThrottle::LongestWait(Clock::time_point now) const {
  std::optional<Wait> longest;
  for (const auto& [key, server] : servers_) {
    if (server.waitUntil > now && (!longest || server.waitUntil > longest->until))
      longest = Wait{key, server.waitUntil};
  }
  return longest;
}

}  // namespace vendil
