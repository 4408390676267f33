// Where the link list keeps its rows' texts: appended into large blocks that never move, so
// a row holds a pointer and a length instead of a string with a heap block of its own.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

namespace vendil {

// A text kept in a TextStore; valid as long as the store is not cleared.
struct TextRef {
  const char* data = nullptr;
  uint32_t size = 0;
  std::string_view View() const { return {data, size}; }
};

class TextStore {
 public:
  // Copies `text` into the store. A text longer than 4 GiB is kept up to that length: no
  // page the crawl reads comes near it.
  TextRef Add(std::string_view text);
  // The same, the copy writable, so a caller can clean it in place.
  char* AddWritable(std::string_view text, TextRef& ref);
  void Clear();
  size_t BytesHeld() const { return held_; }

 private:
  std::vector<std::unique_ptr<char[]>> blocks_;
  char* free_ = nullptr;
  size_t left_ = 0;
  size_t held_ = 0;
};

}  // namespace vendil
