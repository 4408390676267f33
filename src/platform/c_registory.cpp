// cRegistory over a file per root key. The file holds "K <path>" lines, each followed by its
// "V <type> <name> <data>" lines, every field hex-encoded ("-" when empty), so any name or
// data survives. Names are compared without regard to case and pass through CP932 as the
// ANSI registry functions pass them.
#include "platform/c_registory.h"

#include <sys/stat.h>

#include <algorithm>
#include <cstdlib>
#include <optional>
#include <sstream>

#include "platform/atomic_file.h"
#include "platform/casefold.h"
#include "platform/codec.h"
#include "platform/program_folder.h"

namespace vendil {

namespace {

constexpr size_t kMaxEnumName = 79;
constexpr size_t kMaxData = 4096;
constexpr size_t kMaxKeyPart = 255;
constexpr size_t kMaxValueName = 16383;
constexpr const char* kHeader = "VENDIL-REGISTRY 1";

struct Value {
  std::string name;
  uint32_t type = kRegSz;
  std::string data;
};

struct Key {
  std::string path;  // "A\\B\\C", empty for the root itself
  std::vector<Value> values;
};

std::string& FolderOverride() {
  static std::string folder;
  return folder;
}

std::optional<std::string> RootFileName(int32_t root) {
  switch (static_cast<uint32_t>(root)) {
    case 0x80000000u:
      return "HKEY_CLASSES_ROOT";
    case 0x80000001u:
      return "HKEY_CURRENT_USER";
    case 0x80000002u:
      return "HKEY_LOCAL_MACHINE";
    case 0x80000003u:
      return "HKEY_USERS";
    case 0x80000004u:
      return "HKEY_PERFORMANCE_DATA";
    case 0x80000005u:
      return "HKEY_CURRENT_CONFIG";
    case 0x80000006u:
      return "HKEY_DYN_DATA";
    case 0x80000007u:
      return "HKEY_CURRENT_USER_LOCAL_SETTINGS";
    case 0x80000050u:
      return "HKEY_PERFORMANCE_TEXT";
    case 0x80000060u:
      return "HKEY_PERFORMANCE_NLSTEXT";
    default:
      return std::nullopt;
  }
}

std::string AnsiForm(const std::string& text) { return AnsiToUtf8(Utf8ToAnsi(text)); }

// A key path as the store keeps it, or none when a level is too long.
std::optional<std::string> NormalPath(const std::string& path) {
  std::string result;
  size_t at = 0;
  while (at <= path.size()) {
    size_t end = path.find('\\', at);
    if (end == std::string::npos) end = path.size();
    std::string part = AnsiForm(path.substr(at, end - at));
    if (!part.empty()) {
      if (Utf8ToAnsi(part).size() > kMaxKeyPart) return std::nullopt;
      if (!result.empty()) result += '\\';
      result += part;
    }
    at = end + 1;
  }
  return result;
}

std::string Hex(const std::string& bytes) {
  if (bytes.empty()) return "-";
  static const char* digits = "0123456789abcdef";
  std::string out;
  for (unsigned char c : bytes) {
    out += digits[c >> 4];
    out += digits[c & 15];
  }
  return out;
}

std::optional<std::string> Unhex(const std::string& text) {
  if (text == "-") return std::string();
  if (text.size() % 2 != 0) return std::nullopt;
  auto digit = [](char c) -> int {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
  };
  std::string out;
  for (size_t i = 0; i < text.size(); i += 2) {
    int high = digit(text[i]), low = digit(text[i + 1]);
    if (high < 0 || low < 0) return std::nullopt;
    out += static_cast<char>(high * 16 + low);
  }
  return out;
}

class Store {
 public:
  // Loads the root's file; false for a handle that is no root key.
  bool Load(int32_t root) {
    auto name = RootFileName(root);
    if (!name) return false;
    file_ = cRegistory::StoreFolder() + "/" + *name;
    keys_.clear();
    keys_.push_back(Key{});
    std::string bytes;
    if (!ReadWholeFile(file_, bytes)) {
      // Nothing stored yet is an empty root; a file that cannot be read must not be replaced.
      struct stat info {};
      return stat(file_.c_str(), &info) != 0;
    }
    std::istringstream in(bytes);
    std::string line;
    Key* current = nullptr;
    while (std::getline(in, line)) {
      if (!line.empty() && line.back() == '\r') line.pop_back();
      std::istringstream fields(line);
      std::string tag;
      fields >> tag;
      if (tag == "K") {
        std::string path;
        fields >> path;
        auto decoded = Unhex(path);
        current = nullptr;
        if (!decoded) continue;
        current = &keys_[Ensure(*decoded)];
      } else if (tag == "V" && current != nullptr) {
        uint32_t type = 0;
        std::string name, data;
        fields >> type >> name >> data;
        auto decodedName = Unhex(name);
        auto decodedData = Unhex(data);
        if (!fields || !decodedName || !decodedData) continue;
        if (FindValue(*current, *decodedName) == nullptr)
          current->values.push_back(Value{*decodedName, type, *decodedData});
      }
    }
    return true;
  }

  bool Save() const {
    std::string out = std::string(kHeader) + "\r\n";
    for (const Key& key : keys_) {
      out += "K " + Hex(key.path) + "\r\n";
      for (const Value& value : key.values)
        out += "V " + std::to_string(value.type) + " " + Hex(value.name) + " " + Hex(value.data) +
               "\r\n";
    }
    const std::string folder = file_.substr(0, file_.rfind('/'));
    for (size_t slash = folder.find('/', 1);; slash = folder.find('/', slash + 1)) {
      mkdir(folder.substr(0, slash).c_str(), 0700);
      if (slash == std::string::npos) break;
    }
    return WriteFileAtomically(file_, out, nullptr, 0600);
  }

  std::optional<size_t> Find(const std::string& path) const {
    const std::string wanted = FoldCase(path);
    for (size_t i = 0; i < keys_.size(); ++i)
      if (FoldCase(keys_[i].path) == wanted) return i;
    return std::nullopt;
  }

  Key& At(size_t index) { return keys_[index]; }

  // The key at `path`, created with every missing level above it.
  size_t Ensure(const std::string& path) {
    std::string prefix;
    size_t index = 0;
    size_t at = 0;
    while (at < path.size()) {
      size_t end = path.find('\\', at);
      if (end == std::string::npos) end = path.size();
      prefix = path.substr(0, end);
      auto found = Find(prefix);
      if (!found) {
        keys_.push_back(Key{prefix, {}});
        index = keys_.size() - 1;
      } else {
        index = *found;
      }
      at = end + 1;
    }
    return index;
  }

  std::vector<std::string> Children(const std::string& path) const {
    std::vector<std::string> names;
    for (const Key& key : keys_) {
      if (key.path.empty()) continue;
      std::string rest;
      if (path.empty()) {
        rest = key.path;
      } else if (key.path.size() > path.size() + 1 && key.path[path.size()] == '\\' &&
                 EqualsNoCase(key.path.substr(0, path.size()), path)) {
        rest = key.path.substr(path.size() + 1);
      } else {
        continue;
      }
      if (rest.find('\\') == std::string::npos) names.push_back(rest);
    }
    std::sort(names.begin(), names.end(),
              [](const std::string& a, const std::string& b) { return FoldCase(a) < FoldCase(b); });
    return names;
  }

  void Erase(size_t index) { keys_.erase(keys_.begin() + static_cast<std::ptrdiff_t>(index)); }

  static Value* FindValue(Key& key, const std::string& name) {
    for (Value& value : key.values)
      if (EqualsNoCase(value.name, name)) return &value;
    return nullptr;
  }

 private:
  std::string file_;
  std::vector<Key> keys_;
};

// The object's key in a loaded store; none when the root or the key does not exist or the
// path cannot name a key. With `create`, missing levels are made.
struct OpenKey {
  Store store;
  size_t index = 0;
  std::string path;

  bool Open(int32_t root, const std::string& subKey, bool create) {
    auto normal = NormalPath(subKey);
    if (!normal || !store.Load(root)) return false;
    path = *normal;
    if (create) {
      index = store.Ensure(path);
      return true;
    }
    auto found = store.Find(path);
    if (!found) return false;
    index = *found;
    return true;
  }
  Key& key() { return store.At(index); }
};

std::optional<std::string> ReadValue(int32_t root, const std::string& subKey,
                                     const std::string& name) {
  OpenKey open;
  if (!open.Open(root, subKey, false)) return std::nullopt;
  const Value* value = Store::FindValue(open.key(), AnsiForm(name));
  if (value == nullptr) return std::nullopt;
  return value->data;
}

bool WriteValue(int32_t root, const std::string& subKey, const std::string& name, uint32_t type,
                std::string data) {
  const std::string ansiName = AnsiForm(name);
  if (Utf8ToAnsi(ansiName).size() > kMaxValueName) return false;
  OpenKey open;
  if (!open.Open(root, subKey, true)) return false;
  Value* value = Store::FindValue(open.key(), ansiName);
  if (value == nullptr) {
    open.key().values.push_back(Value{ansiName, type, std::move(data)});
  } else {
    value->type = type;
    value->data = std::move(data);
  }
  return open.store.Save();
}

// Keeps the names up to the first one too long for the name buffer.
int32_t StoreNames(const std::vector<std::string>& names, std::vector<std::string>& out) {
  std::vector<std::string> result;
  for (const std::string& name : names) {
    if (Utf8ToAnsi(name).size() > kMaxEnumName) break;
    result.push_back(name);
  }
  if (result.empty()) return 0;
  out = std::move(result);
  return static_cast<int32_t>(out.size());
}

}  // namespace

void cRegistory::SetStoreFolder(std::string folder) { FolderOverride() = std::move(folder); }

std::string cRegistory::StoreFolder() {
  if (!FolderOverride().empty()) return FolderOverride();
  const char* fromEnvironment = std::getenv("VENDIL_REGISTRY_DIR");
  if (fromEnvironment != nullptr && fromEnvironment[0] != '\0') return fromEnvironment;
  return UserConfigFolder() + "/registry";
}

bool cRegistory::IsThereKey() const {
  OpenKey open;
  return open.Open(regKey_, subKey_, false);
}

int32_t cRegistory::EnumValueName(std::vector<std::string>& strlpEnumValueName) const {
  OpenKey open;
  if (!open.Open(regKey_, subKey_, false)) return 0;
  std::vector<std::string> names;
  for (const Value& value : open.key().values) names.push_back(value.name);
  return StoreNames(names, strlpEnumValueName);
}

int32_t cRegistory::EnumSubKey(std::vector<std::string>& strlpEnumKey) const {
  OpenKey open;
  if (!open.Open(regKey_, subKey_, false)) return 0;
  return StoreNames(open.store.Children(open.path), strlpEnumKey);
}

bool cRegistory::DeleteSubKey(const std::string& strSubKey) const {
  OpenKey open;
  if (!open.Open(regKey_, subKey_, false)) return false;
  auto child = NormalPath(strSubKey);
  if (!child || child->empty()) return false;  // never the key itself
  const std::string path = open.path.empty() ? *child : open.path + "\\" + *child;
  auto found = open.store.Find(path);
  // A key that still has subkeys cannot be deleted, as on Windows NT.
  if (!found || !open.store.Children(path).empty()) return false;
  open.store.Erase(*found);
  return open.store.Save();
}

bool cRegistory::DeleteValueName(const std::string& strValueName) const {
  OpenKey open;
  if (!open.Open(regKey_, subKey_, false)) return false;
  auto& values = open.key().values;
  const std::string name = AnsiForm(strValueName);
  auto found = std::find_if(values.begin(), values.end(),
                            [&](const Value& value) { return EqualsNoCase(value.name, name); });
  if (found == values.end()) return false;
  values.erase(found);
  return open.store.Save();
}

std::string cRegistory::GetString(const std::string& strValueName,
                                  const std::string& strDefault) const {
  auto data = ReadValue(regKey_, subKey_, strValueName);
  if (!data || data->size() > kMaxData) return strDefault;
  size_t nul = data->find('\0');
  // Data that fills the whole buffer leaves no room for the terminator.
  if (nul == std::string::npos && data->size() == kMaxData) return strDefault;
  return AnsiToUtf8(std::string_view(*data).substr(0, nul));
}

bool cRegistory::SetString(const std::string& strValueName, const std::string& strNewValue) const {
  return WriteValue(regKey_, subKey_, strValueName, kRegSz, Utf8ToAnsi(strNewValue));
}

int32_t cRegistory::GetDWORD(const std::string& strValueName, int32_t lngDefault) const {
  auto data = ReadValue(regKey_, subKey_, strValueName);
  if (!data || data->size() > 4) return lngDefault;
  uint32_t number = 0;
  for (size_t i = 0; i < data->size(); ++i)
    number |= static_cast<uint32_t>(static_cast<unsigned char>((*data)[i])) << (8 * i);
  return static_cast<int32_t>(number);
}

bool cRegistory::SetDWORD(const std::string& strValueName, int32_t lngNewValue) const {
  std::string data(4, '\0');
  uint32_t number = static_cast<uint32_t>(lngNewValue);
  for (size_t i = 0; i < 4; ++i) data[i] = static_cast<char>((number >> (8 * i)) & 0xFF);
  return WriteValue(regKey_, subKey_, strValueName, kRegDword, std::move(data));
}

int32_t cRegistory::GetBinary(const std::string& strValueName,
                              std::vector<uint8_t>& bytValue) const {
  OpenKey open;
  if (!open.Open(regKey_, subKey_, false)) return 0;
  const Value* value = Store::FindValue(open.key(), AnsiForm(strValueName));
  if (value == nullptr || value->data.size() > kMaxData) {
    bytValue.clear();
    return 0;
  }
  bytValue.assign(value->data.begin(), value->data.end());
  return static_cast<int32_t>(bytValue.size());
}

bool cRegistory::SetBinary(const std::string& strValueName, const std::vector<uint8_t>& bytValue,
                           int32_t lngValueLen) const {
  // The bytes must be there: an empty array or a length beyond it is refused.
  if (bytValue.empty() || lngValueLen < 0 || static_cast<size_t>(lngValueLen) > bytValue.size())
    return false;
  return WriteValue(regKey_, subKey_, strValueName, kRegBinary,
                    std::string(bytValue.begin(), bytValue.begin() + lngValueLen));
}

}  // namespace vendil
