// Reading a script file into UTF-8 text: the system code page unless the bytes are UTF-8.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace vendil {

// Larger files are refused rather than read whole into memory.
inline constexpr size_t kMaxScriptFileBytes = 16u << 20;

// True when `bytes` is well-formed UTF-8 (no overlong forms, surrogates or values past
// U+10FFFF).
bool IsWellFormedUtf8(std::string_view bytes);

// Script bytes as UTF-8 text, always well-formed: after a UTF-8 byte-order mark the rest is
// UTF-8, with U+FFFD for each byte that starts no valid sequence; text that is well-formed
// UTF-8 is taken as it is; anything else is the system code page (CP932).
std::string ScriptBytesToText(std::string_view bytes);

// The whole file as text by the rule above; nullopt when it cannot be read or is too large.
std::optional<std::string> ReadScriptFile(const std::string& path);

}  // namespace vendil
