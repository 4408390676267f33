// A small JSON reader and string writer for the aria2 JSON-RPC exchange. The reader takes
// any bytes: malformed input, deep nesting or huge numbers give nullopt, never a crash.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vendil {

struct JsonValue {
  enum class Kind { Null, Bool, Number, String, Array, Object };
  Kind kind = Kind::Null;
  bool boolean = false;
  double number = 0;
  std::string text;  // strings, as UTF-8
  std::vector<JsonValue> items;
  // Objects: member names and their values side by side, in the order read.
  std::vector<std::string> names;
  std::vector<JsonValue> members;

  // The member named `name` of an object, or null when absent (or not an object).
  const JsonValue* Find(std::string_view name) const;
};

std::optional<JsonValue> ParseJson(std::string_view text);

// `text` as a JSON string literal, with its quotes; bytes that are not valid UTF-8 become
// U+FFFD so the request stays valid JSON.
std::string JsonQuote(std::string_view text);

}  // namespace vendil
