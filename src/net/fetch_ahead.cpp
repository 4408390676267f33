// Fetching ahead: the window of planned positions, the order and limits of starting them
// (connections, delay, servers that asked to slow down), and handing a request over when
// its page is read.
#include "net/fetch_ahead.h"

#include <algorithm>
#include <chrono>
#include <utility>

namespace vendil {
namespace {

constexpr size_t kMinHeld = 8;
constexpr size_t kMaxHeld = 64;
constexpr size_t kHeldPerConnection = 4;

size_t ConnectionsOf(const SearchRun& run) {
  return static_cast<size_t>(std::max(1, run.Inet1.Options().connections));
}

}  // namespace

FetchAhead::FetchAhead(SearchRun& run, Planner planner)
    : run_(run),
      planner_(std::move(planner)),
      connections_(ConnectionsOf(run)),
      maxEntries_(std::clamp(connections_ * kHeldPerConnection, kMinHeld, kMaxHeld)) {
  // One connection per server means one request at a time, as a search without fetching
  // ahead makes them.
  if (connections_ <= 1) maxEntries_ = 0;
}

FetchAhead::~FetchAhead() = default;

std::unique_ptr<PageFetch> FetchAhead::Take(size_t position, const PageSpec& pageRequest) {
  while (!entries_.empty() && entries_.front().position < position) entries_.pop_front();
  nextPosition_ = std::max(nextPosition_, position + 1);
  if (entries_.empty() || entries_.front().position != position) return nullptr;
  std::unique_ptr<PageFetch> fetch = std::move(entries_.front().fetch);
  entries_.pop_front();
  if (!fetch->Request().SameRequest(pageRequest)) return nullptr;
  fetch->MakeForeground();
  return fetch;
}

void FetchAhead::Pump() {
  if (maxEntries_ == 0) return;
  HttpControl& inet = run_.Inet1;
  // It runs at every turn of a wait: the work is in what it starts, not in looking.
  size_t heldBytes = 0;
  bool waiting = false;  // an entry not yet asked for
  for (Entry& entry : entries_) {
    PageFetch& fetch = *entry.fetch;
    if (fetch.InFlight()) fetch.Update();
    heldBytes += fetch.HeldBytes();
    waiting = waiting || (fetch.WantsAttempt() && fetch.AttemptsMade() == 0);
  }
  while (entries_.size() < maxEntries_) {
    std::optional<PageSpec> pageRequest = planner_(nextPosition_);
    if (!pageRequest) break;
    entries_.push_back(
        {nextPosition_, std::make_unique<PageFetch>(run_, std::move(*pageRequest), true)});
    ++nextPosition_;
    waiting = true;
  }
  if (!waiting) return;
  const auto now = std::chrono::steady_clock::now();
  for (Entry& entry : entries_) {
    PageFetch& fetch = *entry.fetch;
    // Only first attempts run ahead; retries wait for the page's turn, so their status
    // texts come in the order one-at-a-time fetching gives.
    if (!fetch.WantsAttempt() || fetch.AttemptsMade() > 0) continue;
    if (inet.BackgroundBytes() + heldBytes >= inet.BackgroundBudget()) break;
    const std::string& key = fetch.ServerKey();
    if (key.empty()) continue;  // cannot start: left for its turn, which says so
    if (inet.RunningFor(key) >= connections_ || now < inet.NextStartAt(key)) continue;
    // A server that asked to slow down: nothing while its wait lasts, and after a 429 its
    // pages one at a time, each in its turn.
    const ServerThrottle& throttle = run_.throttle;
    if (throttle.OneAtATime(key) || !throttle.MayStart(key, inet.RunningFor(key), now)) continue;
    fetch.StartAttempt();
  }
}

void FetchAhead::Clear() {
  const size_t resume = entries_.empty() ? nextPosition_ : entries_.front().position;
  entries_.clear();
  nextPosition_ = resume;
}

void FetchAhead::MakeRoom(const std::string& serverKey) {
  HttpControl& inet = run_.Inet1;
  const size_t limit = run_.throttle.MaxInFlight(serverKey, connections_);
  for (auto it = entries_.rbegin(); it != entries_.rend() && inet.RunningFor(serverKey) >= limit;
       ++it) {
    PageFetch& fetch = *it->fetch;
    if (fetch.InFlight() && fetch.ServerKey() == serverKey) fetch.Abandon();
  }
}

bool ReadyToStart(SearchRun& run, const PageFetch& fetch, FetchAhead* ahead) {
  const std::string& key = fetch.ServerKey();
  if (key.empty()) return true;  // the attempt will say it cannot start
  HttpControl& inet = run.Inet1;
  const size_t connections = ConnectionsOf(run);
  if (ahead != nullptr) ahead->MakeRoom(key);
  // Requests of someone else fetched ahead (a search this one runs inside) may sit waiting
  // for their budget: they must not hold this page back for ever.
  const size_t running = inet.RunningFor(key) - (ahead ? 0 : inet.RunningInBackgroundFor(key));
  if (running >= connections) return false;
  const auto now = std::chrono::steady_clock::now();
  return run.throttle.MayStart(key, running, now) && now >= inet.NextStartAt(key);
}

}  // namespace vendil
