// The automation object factory: servers are created by ProgID and called late-bound by
// member name with variant-like values. A ProgID with no server fails to create, exactly as
// an uninstalled manager does. The recording servers stand in for the download managers.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <stdexcept>
#include <string>
#include <variant>
#include <vector>

namespace vendil {

class AutomationObject;

// What a late-bound call passes and returns: nothing, a string, an integer, an array of
// values (indexed from 0) or an object.
struct AutomationValue {
  using Array = std::vector<AutomationValue>;
  using Object = std::shared_ptr<AutomationObject>;
  std::variant<std::monostate, std::string, int64_t, Array, Object> value;

  AutomationValue() = default;
  AutomationValue(std::string s) : value(std::move(s)) {}
  AutomationValue(const char* s) : value(std::string(s)) {}
  AutomationValue(int64_t n) : value(n) {}
  AutomationValue(Array a) : value(std::move(a)) {}
  AutomationValue(Object o) : value(std::move(o)) {}

  bool IsEmpty() const { return std::holds_alternative<std::monostate>(value); }
  const std::string* AsString() const { return std::get_if<std::string>(&value); }
  const Array* AsArray() const { return std::get_if<Array>(&value); }
  const Object* AsObject() const { return std::get_if<Object>(&value); }
};

// A failing call on a server object (unknown member, wrong argument, the server's own error).
class AutomationError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

class AutomationObject {
 public:
  virtual ~AutomationObject() = default;
  // Each throws AutomationError when the server refuses the call.
  virtual AutomationValue Get(const std::string& property) = 0;
  virtual void Set(const std::string& property, const AutomationValue& value) = 0;
  virtual AutomationValue Call(const std::string& method,
                               const std::vector<AutomationValue>& arguments) = 0;
  // How the object shows in a record of calls ("Irvine.Api#1").
  virtual std::string DisplayName() const = 0;
};

using AutomationCreator = std::function<std::shared_ptr<AutomationObject>()>;

class AutomationFactory {
 public:
  // ProgIDs compare without regard to letter case, as the system's class registry does.
  void Register(const std::string& progId, AutomationCreator creator);
  bool IsRegistered(const std::string& progId) const;
  // The new object, or null with the reason in `error` when no server is registered or the
  // server fails to start.
  std::shared_ptr<AutomationObject> Create(const std::string& progId, std::string* error) const;

 private:
  std::map<std::string, AutomationCreator> creators_;
};

// The five ProgIDs of the download managers.
inline constexpr const char* kProgIdIria = "Iria.IriaOLE";
inline constexpr const char* kProgIdIrvine = "Irvine.Api";
inline constexpr const char* kProgIdFlashGet = "JetCar.Netscape";
inline constexpr const char* kProgIdRegetList = "ClickCatcher.DownloadAllFromContextMenu";
inline constexpr const char* kProgIdRegetDownload = "ClickCatcher.DownloadFromContextMenu";

// Registers a recording server for each of the five ProgIDs. Each accepts the members its
// manager offers and appends every call to `recordFile` as one text line (CP932, CR LF);
// a member the manager lacks, a wrong argument or a record file that cannot be written
// fails the call. The Irvine server's CurrentQueueFolder starts as `irvineQueueFolder`.
void RegisterRecordingServers(AutomationFactory& factory, const std::string& recordFile,
                              const std::string& irvineQueueFolder = "/Default");

// A value as the record file shows it: strings quoted with C escapes (characters CP932
// cannot hold as \u{XXXX}), integers in decimal, arrays in brackets, objects by name.
std::string FormatAutomationValue(const AutomationValue& value);

}  // namespace vendil
