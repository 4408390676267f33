// A child process for tests that lives as long as the object: started from an argument
// vector with a pipe on stdout (and one on stdin when asked), read a line at a time, ended
// and collected in the destructor. Also the private D-Bus session bus and the stand-ins of
// the managers that the hand-off tests talk to.
#pragma once

#include <sys/types.h>

#include <optional>
#include <string>
#include <vector>

namespace vendil::test {

class ChildProcess {
 public:
  // `withStdin`: the child's stdin is a pipe that CloseStdin() closes (else /dev/null).
  // `quiet`: its stderr goes to /dev/null (a daemon's notes would clutter the test log).
  explicit ChildProcess(const std::vector<std::string>& argv, bool withStdin = false,
                        bool quiet = false);
  ~ChildProcess();
  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;

  bool Started() const { return pid_ > 0; }
  // The next line on its stdout (blocks until it comes); nullopt at the end of output.
  std::optional<std::string> ReadLine();
  void CloseStdin();
  // Waits for the child to end; its exit status.
  int Wait();

 private:
  pid_t pid_ = -1;
  int out_ = -1;
  int in_ = -1;
  std::string buffer_;
};

// A dbus-daemon of its own for one test, set as DBUS_SESSION_BUS_ADDRESS while it lives
// (the earlier value comes back afterwards).
class PrivateSessionBus {
 public:
  PrivateSessionBus();
  ~PrivateSessionBus();
  PrivateSessionBus(const PrivateSessionBus&) = delete;
  PrivateSessionBus& operator=(const PrivateSessionBus&) = delete;
  bool Ready() const { return !address_.empty(); }

 private:
  ChildProcess daemon_;
  std::string address_;
  std::optional<std::string> previous_;
};

// The KGet stand-in service on the current session bus, recording into `recordFile`.
class KGetStandIn {
 public:
  explicit KGetStandIn(const std::string& recordFile);
  // Whether the stand-in program was built (it needs Qt's D-Bus module).
  static bool Available();
  bool Ready() const { return ready_; }
  // Every call received, one JSON array per line.
  std::vector<std::string> Calls() const;

 private:
  std::string record_;
  ChildProcess process_;
  bool ready_ = false;
};

// A folder holding the uget-gtk stand-in, put first on PATH while the object lives; the
// calls are recorded in a file of that folder.
class UGetStandIn {
 public:
  explicit UGetStandIn(const std::string& folder);
  ~UGetStandIn();
  UGetStandIn(const UGetStandIn&) = delete;
  UGetStandIn& operator=(const UGetStandIn&) = delete;
  // The argument vectors received, argv[0] left out, in call order.
  std::vector<std::vector<std::string>> Calls() const;
  // Arguments equal to `argument` make the stand-in exit 1.
  void FailOn(const std::string& argument);

 private:
  std::string folder_, record_;
  std::string previousPath_;
};

}  // namespace vendil::test
