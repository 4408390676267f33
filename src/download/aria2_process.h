// aria2c as a child process of ours: started with an argument vector (never a shell), its
// JSON-RPC listening on a loopback port chosen at random with a random secret, tied to our
// life, and ended cleanly (shutdown over RPC, then a wait, then a kill as a last resort).
#pragma once

#include <sys/types.h>

#include <optional>
#include <string>
#include <vector>

#include "export/json_value.h"

namespace vendil {

// The path of `aria2c` on PATH, or empty when it is not installed.
std::string FindAria2c();

class Aria2Process {
 public:
  Aria2Process() = default;
  ~Aria2Process();
  Aria2Process(const Aria2Process&) = delete;
  Aria2Process& operator=(const Aria2Process&) = delete;

  // Starts `program` with the fixed RPC options and `extraOptions` ("--name=value" only),
  // and waits until it answers. Empty on success, else what went wrong.
  std::optional<std::string> Start(const std::string& program,
                                   const std::vector<std::string>& extraOptions);
  bool Running() const { return pid_ > 0; }
  pid_t Pid() const { return pid_; }

  // One RPC call: `params` are the JSON values after the token, comma-separated (may be
  // empty). The "result" member, or nullopt with `error` set (a fault's message, or why
  // the call did not go through).
  std::optional<JsonValue> Call(const std::string& method, const std::string& params,
                                std::string& error);
  // A system.multicall of (method, params) pairs; each entry of the result is [value] or
  // a fault object.
  std::optional<JsonValue> Multicall(const std::vector<std::pair<std::string, std::string>>& calls,
                                     std::string& error);

  // Asks aria2c for its orderly shutdown, waits for it, kills it when it does not go.
  // Idempotent.
  void End();

 private:
  std::optional<std::string> SpawnOnce(const std::string& program,
                                       const std::vector<std::string>& extraOptions);
  bool WaitForExit(int milliseconds);
  std::string Envelope(const std::string& method, const std::string& params) const;

  pid_t pid_ = -1;
  int port_ = 0;
  std::string secret_;
  std::string rpcUrl_;
};

}  // namespace vendil
