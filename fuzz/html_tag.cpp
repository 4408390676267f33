// Fuzz target for the tag scanner: the first byte chooses the tag bits, the text up to the
// first line feed is the custom tag list, the rest is the page. Resolved links hold no
// control character, the texts of the anchor scan together are no longer than the page, and
// taking link texts or not finds the same links.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "parse/c_get_html_tag.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  const int32_t bits = data[0] & 63;
  const std::string rest(reinterpret_cast<const char*>(data) + 1, size - 1);
  const size_t newline = rest.find('\n');
  const std::string custom = newline == std::string::npos ? std::string() : rest.substr(0, newline);
  const std::string html = newline == std::string::npos ? rest : rest.substr(newline + 1);

  vendil::cGetHtmlTag scanner;
  scanner.CustomTags(custom);
  std::string url;
  std::string text;
  size_t links = 0;
  // Link texts never overlap, so together they are never longer than the page.
  size_t anchorText = 0;
  std::vector<std::string> urls;
  for (bool found = scanner.GetTagFromHtml(bits, url, &text, html, "http://h/d/p.html"); found;
       found = scanner.GetTagFromHtml(bits, url, &text)) {
    // Every call that finds a link moves on, so there are never more links than tags.
    if (++links > html.size()) __builtin_trap();
    for (const char ch : url) {
      if (static_cast<unsigned char>(ch) < 0x20 || ch == 0x7F) __builtin_trap();
    }
    urls.push_back(url);
  }
  // Taking the link texts (which walks ahead over the tokens) finds the same links as not
  // taking them.
  size_t same = 0;
  for (bool found = scanner.GetTagFromHtml(bits, url, nullptr, html, "http://h/d/p.html"); found;
       found = scanner.GetTagFromHtml(bits, url, nullptr)) {
    if (same >= urls.size() || urls[same++] != url) __builtin_trap();
  }
  if (same != urls.size()) __builtin_trap();
  links = 0;
  for (bool found = scanner.GetLinkFromHtml(url, &text, html, "http://h/"); found;
       found = scanner.GetLinkFromHtml(url, &text)) {
    if (++links > html.size()) __builtin_trap();
    anchorText += text.size();
    if (anchorText > html.size()) __builtin_trap();
  }
  return 0;
}
