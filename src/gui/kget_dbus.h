// KGet's D-Bus service reached through Qt's D-Bus module: the window's KGetBus.
#pragma once

#include <QString>

#include "download/handoff_kget.h"

namespace vendil::gui {

// A connection of its own to the session bus, made from the environment when the object
// is made (so a bus that was started later is found) and closed with it.
class QtKGetBus : public KGetBus {
 public:
  QtKGetBus();
  ~QtKGetBus() override;
  QtKGetBus(const QtKGetBus&) = delete;
  QtKGetBus& operator=(const QtKGetBus&) = delete;

  bool BusAvailable(std::string& error) override;
  bool IsRunning() override;
  bool AddTransfer(const std::string& src, const std::string& destDir, bool start,
                   std::string& error) override;

 private:
  QString name_;
};

}  // namespace vendil::gui
