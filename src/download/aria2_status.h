// Reading aria2's answers about its transfers (tellActive, tellStopped, getGlobalStat) and
// saying its errors in Japanese. The readers take any JSON: missing or odd members give
// zero or empty values, never a crash.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "export/json_value.h"

namespace vendil {

struct Aria2Transfer {
  std::string gid;
  std::string status;  // active, waiting, paused, error, complete, removed
  int64_t totalLength = 0;
  int64_t completedLength = 0;
  int64_t downloadSpeed = 0;
  std::string errorCode;
  std::string errorMessage;
  std::string path;  // the first file's path, when aria2 knows it
};

// The keys a poll asks for, as a JSON array.
std::string Aria2StatusKeys();

// The entries of a tellActive/tellStopped result (an array of status objects).
std::vector<Aria2Transfer> ReadAria2Transfers(const JsonValue& result);
// A multicall entry: [value] on success; a fault object (or anything else) gives null.
const JsonValue* MulticallValue(const JsonValue& entry);
// The gid of an addUri multicall entry, or empty with `fault` set.
std::string MulticallGid(const JsonValue& entry, std::string& fault);

// aria2's numbers come as decimal strings; anything else is 0, huge values saturate.
int64_t Aria2Number(const JsonValue* value);

// The reason for a failed transfer, in Japanese for the common causes, else aria2's own.
std::string Aria2ErrorText(const std::string& errorCode, const std::string& errorMessage);

}  // namespace vendil
