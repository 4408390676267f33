// The automation factory and the recording servers that stand in for the download managers.
#include "platform/automation.h"

#include <cstdio>
#include <fstream>
#include <utility>

#include "platform/casefold.h"
#include "platform/codec.h"

namespace vendil {

namespace {

std::string QuoteString(const std::string& s) {
  std::string out = "\"";
  char buf[16];
  for (size_t i = 0; i < s.size();) {
    const auto c = static_cast<unsigned char>(s[i]);
    if (c < 0x80) {
      if (c == '"' || c == '\\') {
        out += '\\';
        out += static_cast<char>(c);
      } else if (c == '\r') {
        out += "\\r";
      } else if (c == '\n') {
        out += "\\n";
      } else if (c == '\t') {
        out += "\\t";
      } else if (c < 0x20 || c == 0x7F) {
        std::snprintf(buf, sizeof buf, "\\x%02X", c);
        out += buf;
      } else {
        out += static_cast<char>(c);
      }
      ++i;
      continue;
    }
    const size_t len = Utf8SequenceLength(s, i);
    if (len == 0) {
      std::snprintf(buf, sizeof buf, "\\x%02X", c);
      out += buf;
      ++i;
      continue;
    }
    const std::string seq = s.substr(i, len);
    if (AnsiCanHold(seq)) {
      out += seq;
    } else {
      std::snprintf(buf, sizeof buf, "\\u{%04X}", static_cast<unsigned>(Utf8CodePoint(s, i, len)));
      out += buf;
    }
    i += len;
  }
  out += '"';
  return out;
}

// Messages a late-bound call gives when the server refuses it.
const char* const kNoSuchMember =
    "オブジェクトでサポートされていないプロパティまたはメソッドです。";
const char* const kWrongArguments =
    "引数の数が一致していません。または不正なプロパティを指定しています。";
const char* const kTypeMismatch = "型が一致しません。";

enum class ArgKind { None, String, Array, Object };

struct MemberSpec {
  const char* name;
  bool property;     // a read/write text property; otherwise a method
  ArgKind argument;  // methods: what the one argument must be (None: no argument)
};

struct ServerKind {
  const char* progId;
  std::vector<MemberSpec> members;
};

const std::vector<ServerKind>& ServerKinds() {
  static const std::vector<ServerKind> kinds = {
      {kProgIdIria, {{"AddIRI", false, ArgKind::String}}},
      {kProgIdIrvine,
       {{"CurrentQueueFolder", true, ArgKind::String}, {"AddIRI", false, ArgKind::String}}},
      {kProgIdFlashGet, {{"AddUrlList", false, ArgKind::Array}}},
      {kProgIdRegetList,
       {{"AddDownloadToList", false, ArgKind::Object}, {"UrlList", false, ArgKind::None}}},
      {kProgIdRegetDownload,
       {{"Url", true, ArgKind::String},
        {"Info", true, ArgKind::String},
        {"Referer", true, ArgKind::String}}},
  };
  return kinds;
}

// Shared by the servers of one factory: where calls go, and the instance counter.
struct Recorder {
  std::string file;
  std::string irvineQueueFolder;
  int instances = 0;

  void Append(const std::string& line) {
    std::ofstream out(file, std::ios::binary | std::ios::app);
    const std::string bytes = Utf8ToAnsi(line) + "\r\n";
    if (out) out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (out) out.flush();
    if (!out) throw AutomationError("記録ファイルに書き込めません。\r\n" + file);
  }
};

class RecordingServer : public AutomationObject {
 public:
  RecordingServer(std::shared_ptr<Recorder> recorder, const ServerKind& kind)
      : recorder_(std::move(recorder)), kind_(kind) {
    name_ = std::string(kind.progId) + "#" + std::to_string(++recorder_->instances);
    if (EqualsNoCase(kind.progId, kProgIdIrvine)) {
      properties_["CurrentQueueFolder"] = recorder_->irvineQueueFolder;
    }
  }

  // A record file that cannot be written shows on the first call, not as a missing server.
  void RecordCreation() {
    try {
      recorder_->Append(name_ + " Create");
    } catch (const AutomationError&) {
    }
  }

  AutomationValue Get(const std::string& property) override {
    const MemberSpec& m = Find(property, true);
    auto it = properties_.find(m.name);
    AutomationValue v = it == properties_.end() ? AutomationValue(std::string()) : it->second;
    recorder_->Append(name_ + " Get " + m.name + " -> " + FormatAutomationValue(v));
    return v;
  }

  void Set(const std::string& property, const AutomationValue& value) override {
    const MemberSpec& m = Find(property, true);
    if (!value.AsString()) throw AutomationError(std::string(kTypeMismatch) + " (" + m.name + ")");
    recorder_->Append(name_ + " Let " + m.name + " = " + FormatAutomationValue(value));
    properties_[m.name] = value;
  }

  AutomationValue Call(const std::string& method,
                       const std::vector<AutomationValue>& arguments) override {
    const MemberSpec& m = Find(method, false);
    const size_t wanted = m.argument == ArgKind::None ? 0 : 1;
    if (arguments.size() != wanted) {
      throw AutomationError(std::string(kWrongArguments) + " (" + m.name + ")");
    }
    if (wanted == 1) {
      const AutomationValue& a = arguments[0];
      const bool ok = (m.argument == ArgKind::String && a.AsString()) ||
                      (m.argument == ArgKind::Array && a.AsArray()) ||
                      (m.argument == ArgKind::Object && a.AsObject() && *a.AsObject());
      if (!ok) throw AutomationError(std::string(kTypeMismatch) + " (" + m.name + ")");
    }
    std::string line = name_ + " Call " + m.name + "(";
    for (size_t i = 0; i < arguments.size(); ++i) {
      if (i) line += ", ";
      line += FormatAutomationValue(arguments[i]);
    }
    recorder_->Append(line + ")");
    return {};
  }

  std::string DisplayName() const override { return name_; }

 private:
  const MemberSpec& Find(const std::string& member, bool property) const {
    for (const auto& m : kind_.members) {
      if (m.property == property && EqualsNoCase(m.name, member)) return m;
    }
    throw AutomationError(std::string(kNoSuchMember) + " (" + member + ")");
  }

  std::shared_ptr<Recorder> recorder_;
  const ServerKind& kind_;
  std::string name_;
  std::map<std::string, AutomationValue> properties_;
};

}  // namespace

void AutomationFactory::Register(const std::string& progId, AutomationCreator creator) {
  creators_[FoldCase(progId)] = std::move(creator);
}

bool AutomationFactory::IsRegistered(const std::string& progId) const {
  return creators_.count(FoldCase(progId)) != 0;
}

std::shared_ptr<AutomationObject> AutomationFactory::Create(const std::string& progId,
                                                            std::string* error) const {
  auto it = creators_.find(FoldCase(progId));
  if (it == creators_.end()) {
    if (error) *error = "ActiveX コンポーネントはオブジェクトを作成できません。 (" + progId + ")";
    return nullptr;
  }
  try {
    auto object = it->second();
    if (!object && error) *error = "オブジェクトを作成できません。 (" + progId + ")";
    return object;
  } catch (const std::exception& e) {
    if (error) *error = e.what();
    return nullptr;
  }
}

void RegisterRecordingServers(AutomationFactory& factory, const std::string& recordFile,
                              const std::string& irvineQueueFolder) {
  auto recorder = std::make_shared<Recorder>();
  recorder->file = recordFile;
  recorder->irvineQueueFolder = irvineQueueFolder;
  for (const auto& kind : ServerKinds()) {
    factory.Register(kind.progId, [recorder, &kind]() -> std::shared_ptr<AutomationObject> {
      auto server = std::make_shared<RecordingServer>(recorder, kind);
      server->RecordCreation();
      return server;
    });
  }
}

std::string FormatAutomationValue(const AutomationValue& value) {
  if (const auto* s = value.AsString()) return QuoteString(*s);
  if (const auto* n = std::get_if<int64_t>(&value.value)) return std::to_string(*n);
  if (const auto* a = value.AsArray()) {
    std::string out = "[";
    for (size_t i = 0; i < a->size(); ++i) {
      if (i) out += ", ";
      out += FormatAutomationValue((*a)[i]);
    }
    return out + "]";
  }
  if (const auto* o = value.AsObject()) return *o ? (*o)->DisplayName() : "Nothing";
  return "Empty";
}

}  // namespace vendil
