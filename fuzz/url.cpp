// Fuzz target for the URL and string helpers: the input up to the first line feed is a
// base URL, the rest a link; the string helpers get the same texts as delimiters. The
// request form of each URL must hold nothing a request line may not carry, and a web URL
// once resolved must read the same again against any base. The quick reading of plain links
// and the resolver of a page's links give what the full reading gives. The control-character
// test and the table hash read any bytes within bounds.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "parse/mod_string.h"
#include "parse/mod_url.h"
#include "parse/request_url.h"
#include "parse/text_hash.h"
#include "parse/web_url.h"
#include "platform/http_control.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  // The readers of 16 bytes at a time stay inside the input (the fuzzer's buffer is exactly
  // its size) and agree with a plain byte loop.
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const bool control = std::any_of(bytes.begin(), bytes.end(), [](char ch) {
    const auto byte = static_cast<unsigned char>(ch);
    return byte < 0x20 || byte == 0x7F;
  });
  if (vendil::HasControlCharacter(bytes) != control) __builtin_trap();
  if (vendil::HashText(bytes) != vendil::HashText(std::string(bytes))) __builtin_trap();
  const std::string input(bytes);
  const size_t newline = input.find('\n');
  const std::string base = newline == std::string::npos ? input : input.substr(0, newline);
  const std::string link = newline == std::string::npos ? std::string() : input.substr(newline + 1);

  const std::string combined = vendil::CombineUrl(base, link);
  // The quick reading of plain links agrees with the full one.
  if (vendil::IsWebScheme(vendil::LinkScheme(base))) {
    if (const auto parsedBase = vendil::ParseWebUrl(base, nullptr)) {
      std::string quick;
      const bool plain = vendil::ResolvePlainLink(vendil::PlainLinkBase(*parsedBase), link, quick);
      const auto full = vendil::ParseWebUrl(link, &*parsedBase);
      if (plain && (!full || full->Href() != quick)) __builtin_trap();
    }
  }
  // A page's links resolved one after another read as each one alone.
  std::string resolved = "left from the link before";
  const bool found = vendil::LinkResolver(base).Resolve(link, resolved);
  if (found != !combined.empty() || (found && resolved != combined)) __builtin_trap();
  if (combined.size() > 2048) __builtin_trap();
  if (!combined.empty() && vendil::IsWebScheme(vendil::LinkScheme(combined))) {
    if (vendil::CombineUrl(link, combined) != combined) __builtin_trap();
    if (vendil::CombineUrl(combined, combined) != combined) __builtin_trap();
    if (vendil::CanonicalHost(combined) !=
        vendil::CanonicalHost(vendil::CombineUrl(base, combined)))
      __builtin_trap();
    (void)vendil::CanonicalDirectory(combined);
  }
  for (const std::string* url : {&base, &link, &combined}) {
    (void)vendil::GetHostName(*url);
    const std::string path = vendil::GetUrlPath(*url);
    const std::string name = vendil::GetUrlFileName(*url);
    const std::string directory = vendil::GetUrlDirectory(*url);
    if (name.size() > path.size() || directory.empty()) __builtin_trap();
    static const char* const kCharsets[] = {"", "EUC-JP", "Shift_JIS", "UTF-16"};
    const std::string request = vendil::RequestUrl(*url, kCharsets[size % 4]);
    const std::string server = vendil::HttpControl::ServerKey(request);
    if (!server.empty() && server.rfind("http", 0) != 0) __builtin_trap();
    const size_t scheme = request.find("://");
    const size_t from =
        scheme == std::string::npos ? std::string::npos : request.find_first_of("/?#", scheme + 3);
    for (size_t i = from; i < request.size(); ++i) {
      const auto c = static_cast<unsigned char>(request[i]);
      if (c <= 0x20 || c >= 0x7F) __builtin_trap();
    }
  }

  const std::string open = base.substr(0, 3);
  const std::string close = link.substr(0, 2);
  for (int16_t mode = 0; mode < 4; ++mode) {
    for (const bool backward : {false, true}) {
      int64_t position = 0;
      for (int rounds = 0; rounds < 64; ++rounds) {
        const int64_t before = position;
        if (vendil::GetBetween(input, open, close, backward, mode, position).empty()) break;
        if (!backward && position <= before) __builtin_trap();
      }
    }
  }
  (void)vendil::MidRange(input, static_cast<int64_t>(size % 7), static_cast<int64_t>(size % 13));
  (void)vendil::FindFirstOf(static_cast<int64_t>(size % 5), input, {open, close, " "});
  (void)vendil::RemoveAll(input, {close, open});
  (void)vendil::StripTags(input, true, true);
  return 0;
}
