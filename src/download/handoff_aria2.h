// The hand-off to a running aria2 (aria2c --enable-rpc, or a front end over it) through its
// JSON-RPC interface: finding it, and adding the checked rows with dir, out and referer.
#pragma once

#include <optional>
#include <string>

#include "download/handoff_rows.h"
#include "export/aria2_rpc.h"

namespace vendil {

// The RPC address where aria2 answers (whatever the secret: the look needs none):
// the configured one, and when that is the default, also port 16800, where some front ends
// listen. nullopt when none answers.
std::optional<std::string> FindAria2(const Aria2Endpoint& endpoint);

// One system.multicall of aria2.addUri for the checked rows; how many aria2 took.
HandoffOutcome SendRowsToAria2(const LinkList& list, const std::string& saveFolder,
                               bool useBriefcaseDirectory, const Aria2Endpoint& endpoint);

}  // namespace vendil
