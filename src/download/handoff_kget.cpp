// KGet's rows over any KGetBus, and the bus through dbus-send for the command line.
#include "download/handoff_kget.h"

#include <cerrno>
#include <cstdlib>

#include "platform/run_program.h"

namespace vendil {

namespace {

constexpr std::chrono::seconds kCallTimeout{30};

}  // namespace

HandoffOutcome SendRowsToKGet(const std::vector<HandoffRow>& rows, KGetBus& bus) {
  HandoffOutcome o;
  o.total = rows.size();
  std::string error;
  if (!bus.BusAvailable(error)) {
    o.status = HandoffStatus::NotRunning;
    o.detail = error;
    return o;
  }
  if (!bus.IsRunning()) {
    o.status = HandoffStatus::NotRunning;
    o.detail = std::string("D-Bus: ") + kKGetService;
    return o;
  }
  size_t sent = 0;
  std::string firstFault;
  for (const auto& row : rows) {
    if (bus.AddTransfer(row.url, row.folder, true, error)) {
      ++sent;
    } else if (firstFault.empty()) {
      firstFault = error;
    }
  }
  return OutcomeOfCount(sent, rows.size(), firstFault);
}

std::vector<std::string> DbusSendAddTransferArguments(const std::string& src,
                                                      const std::string& destDir, bool start) {
  return {"dbus-send",
          "--session",
          "--print-reply",
          "--reply-timeout=20000",
          std::string("--dest=") + kKGetService,
          kKGetObject,
          std::string(kKGetInterface) + ".addTransfer",
          "string:" + src,
          "string:" + destDir,
          start ? "boolean:true" : "boolean:false"};
}

bool DbusSendKGetBus::BusAvailable(std::string& error) {
  const char* address = std::getenv("DBUS_SESSION_BUS_ADDRESS");
  const char* runtime = std::getenv("XDG_RUNTIME_DIR");
  if ((!address || !*address) && (!runtime || !*runtime)) {
    error = "セッションのD-Busがありません。";
    return false;
  }
  if (!IsOnPath("dbus-send")) {
    error = "dbus-send が見つかりません (パッケージ dbus-bin)。";
    return false;
  }
  return true;
}

bool DbusSendKGetBus::IsRunning() {
  const ProgramRun run =
      RunProgram({"dbus-send", "--session", "--print-reply", "--dest=org.freedesktop.DBus",
                  "/org/freedesktop/DBus", "org.freedesktop.DBus.NameHasOwner",
                  std::string("string:") + kKGetService},
                 kCallTimeout, OnTimeout::Kill);
  return run.exited && run.exitStatus == 0 && run.output.find("boolean true") != std::string::npos;
}

bool DbusSendKGetBus::AddTransfer(const std::string& src, const std::string& destDir, bool start,
                                  std::string& error) {
  const ProgramRun run =
      RunProgram(DbusSendAddTransferArguments(src, destDir, start), kCallTimeout, OnTimeout::Kill);
  if (run.exited && run.exitStatus == 0) return true;
  error = !run.started   ? "dbus-send を起動できません。"
          : run.timedOut ? "KGetが応答しません。"
                         : "KGetが " + src + " を受け付けませんでした。";
  return false;
}

}  // namespace vendil
