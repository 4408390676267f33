// The members of Scripting.Dictionary and its errors.
#include "script/dictionary_object.h"

#include "script/builtins.h"
#include "script/held_values.h"
#include "script/script_error.h"
#include "script/value_limit.h"
#include "script/variant_convert.h"

namespace vendil {

namespace {

constexpr int32_t kKeyAlreadyPresent = 457;
constexpr int32_t kElementNotFound = 32811;

[[noreturn]] void RaiseKeyPresent() {
  RaiseScriptError(kKeyAlreadyPresent,
                   u"This key is already associated with an element of this collection");
}
[[noreturn]] void RaiseNotFound() { RaiseScriptError(kElementNotFound, u"Element not found"); }

// A key held by the dictionary: an object's default value is not taken, but a missing
// argument or an array is no key.
const Variant& KeyArgument(std::span<Variant> args, size_t index) {
  if (args.size() <= index || args[index].IsMissing()) {
    RaiseScriptError(script_errors::kWrongArguments);
  }
  return args[index];
}

}  // namespace

DictionaryKey DictionaryObject::KeyOf(const Variant& key) const {
  return DictionaryKey::From(key, compareMode_ != 0);
}

DictionaryObject::Entries::iterator DictionaryObject::Find(const Variant& key) {
  const auto it = index_.find(KeyOf(key));
  return it == index_.end() ? entries_.end() : it->second;
}

void DictionaryObject::CountHeld(ValueCounter& counter) const {
  counter.AddBytes(entries_.size() * kEntryBytes);
  for (const Entry& entry : entries_) {
    counter.Add(entry.key);
    counter.Add(entry.item);
  }
}

DictionaryObject::Entries::iterator DictionaryObject::Insert(const Variant& key,
                                                             const Variant& item) {
  DictionaryKey lookup = KeyOf(key);
  if (index_.contains(lookup)) RaiseKeyPresent();
  ChargeValueBytes(kEntryBytes);
  entries_.push_back({key, item});
  const auto it = std::prev(entries_.end());
  index_.emplace(std::move(lookup), it);
  return it;
}

Variant& DictionaryObject::ItemFor(const Variant& key) {
  auto it = Find(key);
  if (it == entries_.end()) it = Insert(key, Variant());
  return it->item;
}

void DictionaryObject::Remove(const Variant& key) {
  const auto it = index_.find(KeyOf(key));
  if (it == index_.end()) RaiseNotFound();
  entries_.erase(it->second);
  index_.erase(it);
}

void DictionaryObject::RenameKey(const Variant& oldKey, const Variant& newKey) {
  const auto it = index_.find(KeyOf(oldKey));
  if (it == index_.end()) RaiseNotFound();
  DictionaryKey lookup = KeyOf(newKey);
  if (lookup == it->first) {
    it->second->key = newKey;
    return;
  }
  if (index_.contains(lookup)) RaiseKeyPresent();
  const auto entry = it->second;
  entry->key = newKey;
  index_.erase(it);
  index_.emplace(std::move(lookup), entry);
}

void DictionaryObject::SetCompareMode(const Variant& mode) {
  const int32_t value = ToLong(mode);
  // Changing how keys compare would reorder the index under the present keys.
  if (value < 0 || !entries_.empty()) RaiseScriptError(script_errors::kInvalidProcedureCall);
  compareMode_ = value;
}

Variant DictionaryObject::Get(std::u16string_view name, std::span<Variant> args) {
  if (name.empty() || EqualsNoCaseU16(name, u"Item")) {
    CheckArgumentCount(args, 1, 1);
    return ItemFor(KeyArgument(args, 0));
  }
  if (EqualsNoCaseU16(name, u"Exists")) {
    CheckArgumentCount(args, 1, 1);
    return Variant::Boolean(Find(KeyArgument(args, 0)) != entries_.end());
  }
  if (EqualsNoCaseU16(name, u"Add")) {
    CheckArgumentCount(args, 2, 2);
    Insert(KeyArgument(args, 0), args[1]);
    return Variant();
  }
  if (EqualsNoCaseU16(name, u"Count")) {
    CheckArgumentCount(args, 0, 0);
    return Variant::Long(static_cast<int32_t>(entries_.size()));
  }
  if (EqualsNoCaseU16(name, u"Keys") || EqualsNoCaseU16(name, u"Items")) {
    CheckArgumentCount(args, 0, 0);
    const bool keys = EqualsNoCaseU16(name, u"Keys");
    std::vector<Variant> values;
    values.reserve(entries_.size());
    for (const Entry& entry : entries_) values.push_back(keys ? entry.key : entry.item);
    return Variant::ArrayOf(std::move(values));
  }
  if (EqualsNoCaseU16(name, u"Remove")) {
    CheckArgumentCount(args, 1, 1);
    Remove(KeyArgument(args, 0));
    return Variant();
  }
  if (EqualsNoCaseU16(name, u"RemoveAll")) {
    CheckArgumentCount(args, 0, 0);
    index_.clear();
    entries_.clear();
    return Variant();
  }
  if (EqualsNoCaseU16(name, u"CompareMode")) {
    CheckArgumentCount(args, 0, 0);
    return Variant::Long(compareMode_);
  }
  RaiseNoSuchMember(name);
}

void DictionaryObject::Let(std::u16string_view name, std::span<Variant> args,
                           const Variant& value) {
  if (name.empty() || EqualsNoCaseU16(name, u"Item")) {
    CheckArgumentCount(args, 1, 1);
    ItemFor(KeyArgument(args, 0)) = value;
    return;
  }
  if (EqualsNoCaseU16(name, u"Key")) {
    CheckArgumentCount(args, 1, 1);
    RenameKey(KeyArgument(args, 0), value);
    return;
  }
  if (EqualsNoCaseU16(name, u"CompareMode")) {
    CheckArgumentCount(args, 0, 0);
    SetCompareMode(value);
    return;
  }
  RaiseNoSuchMember(name);
}

std::vector<Variant> DictionaryObject::Enumerate() {
  std::vector<Variant> keys;
  keys.reserve(entries_.size());
  for (const Entry& entry : entries_) keys.push_back(entry.key);
  return keys;
}

std::shared_ptr<ScriptObject> CreateDictionary() { return std::make_shared<DictionaryObject>(); }

}  // namespace vendil
