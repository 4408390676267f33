// What a hand-off to a running manager takes from the list (the checked rows, with their
// referer and target folder) and what it reports back (how many rows the manager took).
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "list/link_list.h"

namespace vendil {

struct HandoffRow {
  std::string url;
  std::string referer;
  std::string title;
  std::string folder;    // the row target folder, with "/" between folders; may be empty
  std::string saveName;  // the file name the URL gives, decoded; may be empty
};

// The checked rows in list order.
std::vector<HandoffRow> CheckedHandoffRows(const LinkList& list, const std::string& saveFolder,
                                           bool useBriefcaseDirectory);

enum class HandoffStatus {
  Sent,          // every row taken
  Partial,       // some taken, some refused (`sent` of `total`)
  NotRunning,    // nothing answers where the manager should listen
  NotInstalled,  // the program to call is missing
  SecretWrong,   // the manager refused the secret
  Refused,       // it answered, but took none of the rows
};

struct HandoffOutcome {
  HandoffStatus status = HandoffStatus::Sent;
  size_t sent = 0;
  size_t total = 0;
  std::string detail;  // the manager's own words, or the address tried
};

// Sent when every row went, Partial or Refused by the count taken; `detail` the first fault.
HandoffOutcome OutcomeOfCount(size_t sent, size_t total, const std::string& detail);

// The Japanese text that tells the user what `manager` took or why not.
std::string HandoffMessage(const std::string& manager, const HandoffOutcome& outcome);

}  // namespace vendil
