// File names as a person reads them: "with%20space.zip" taken from a URL is shown and handed
// to managers as "with space.zip". The URL itself stays encoded.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace vendil {

// `name` with its %XX escapes decoded, when every escape is well formed and the result is
// valid UTF-8 that is still one plain file name (no control character, no "/" or "\",
// not "." or ".."); otherwise `name` unchanged.
std::string DecodedFileName(const std::string& name);

// `text` with its %XX escapes decoded; nullopt when an escape is cut short or not hex.
std::optional<std::string> PercentDecoded(std::string_view text);

}  // namespace vendil
