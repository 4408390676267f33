// The hand-off to KGet over the session D-Bus. The bus itself is a service of the front
// end: the window calls it through Qt's D-Bus module, the command line through dbus-send;
// both implement KGetBus, so the rows and the count stay here.
#pragma once

#include <string>
#include <vector>

#include "download/handoff_rows.h"

namespace vendil {

inline constexpr const char* kKGetService = "org.kde.kget";
inline constexpr const char* kKGetObject = "/KGet";
inline constexpr const char* kKGetInterface = "org.kde.kget.main";

class KGetBus {
 public:
  virtual ~KGetBus() = default;
  // Whether the session bus is reachable at all; `error` says why not.
  virtual bool BusAvailable(std::string& error) = 0;
  // Whether the service has an owner on the session bus.
  virtual bool IsRunning() = 0;
  // One addTransfer(src, destDir, start) call; false with the bus's error text.
  virtual bool AddTransfer(const std::string& src, const std::string& destDir, bool start,
                           std::string& error) = 0;
};

// One addTransfer per checked row, started at once.
HandoffOutcome SendRowsToKGet(const std::vector<HandoffRow>& rows, KGetBus& bus);

// The bus through the dbus-send program (the command line has no event loop to give Qt's).
// Each value travels as one typed argument ("string:" and the text), never as an option.
class DbusSendKGetBus : public KGetBus {
 public:
  bool BusAvailable(std::string& error) override;
  bool IsRunning() override;
  bool AddTransfer(const std::string& src, const std::string& destDir, bool start,
                   std::string& error) override;
};

// The argument vector of one addTransfer call through dbus-send.
std::vector<std::string> DbusSendAddTransferArguments(const std::string& src,
                                                      const std::string& destDir, bool start);

}  // namespace vendil
