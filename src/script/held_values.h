// Counting the bytes of the values an engine holds, for its memory budget: strings, arrays
// and what objects hold, each object once however many variables refer to it. The walk keeps
// its own list of what is left to see, so deep nesting takes no native stack.
#pragma once

#include <cstddef>
#include <unordered_set>
#include <vector>

#include "script/variant.h"

namespace vendil {

class ScriptObject;

class ValueCounter {
 public:
  // The value must stay where it is until Total has run.
  void Add(const Variant& value) { pending_.push_back(&value); }
  void AddObject(const ScriptObject* object) {
    if (object) objects_.push_back(object);
  }
  void AddBytes(size_t bytes) { total_ += bytes; }
  // Walks everything added, and what it holds; the total of all bytes met.
  size_t Total();

 private:
  std::vector<const Variant*> pending_;
  std::vector<const ScriptObject*> objects_;
  std::unordered_set<const ScriptObject*> seen_;
  size_t total_ = 0;
};

}  // namespace vendil
