// Scripting.Dictionary: entries in insertion order with a hash index over their keys, so
// lookup and removal take constant time on average.
#pragma once

#include <list>
#include <unordered_map>

#include "script/dictionary_key.h"
#include "script/script_object.h"

namespace vendil {

class DictionaryObject : public ScriptObject {
 public:
  std::u16string TypeName() const override { return u"Dictionary"; }
  Variant Get(std::u16string_view name, std::span<Variant> args) override;
  void Let(std::u16string_view name, std::span<Variant> args, const Variant& value) override;
  std::vector<Variant> Enumerate() override;
  void CountHeld(ValueCounter& counter) const override;

 private:
  // What an entry costs beside its key and item: its list node with both values, and its
  // index node with the key kept for lookup (a text key twice), as the allocator sizes them.
  static constexpr size_t kEntryBytes = 256;
  struct Entry {
    Variant key;
    Variant item;
  };
  using Entries = std::list<Entry>;

  DictionaryKey KeyOf(const Variant& key) const;
  Entries::iterator Find(const Variant& key);
  Entries::iterator Insert(const Variant& key, const Variant& item);  // 457 when present
  Variant& ItemFor(const Variant& key);  // adds an Empty entry when missing
  void Remove(const Variant& key);       // 32811 when missing
  void RenameKey(const Variant& oldKey, const Variant& newKey);
  void SetCompareMode(const Variant& mode);

  Entries entries_;
  std::unordered_map<DictionaryKey, Entries::iterator, DictionaryKeyHash> index_;
  int32_t compareMode_ = 0;
};

}  // namespace vendil
