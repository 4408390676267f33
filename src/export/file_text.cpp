// Field and URL clean-up for the list files.
#include "export/file_text.h"

#include <cstdio>

#include "platform/codec.h"

namespace vendil {

namespace {

void AppendPercent(std::string& out, std::string_view bytes) {
  char buf[4];
  for (char c : bytes) {
    std::snprintf(buf, sizeof buf, "%%%02X", static_cast<unsigned char>(c));
    out += buf;
  }
}

bool IsBreakingControl(char c) { return c == '\r' || c == '\n' || c == '\t'; }

}  // namespace

std::string FieldForListFile(std::string_view text) {
  std::string out(text);
  for (char& c : out) {
    if (IsBreakingControl(c)) c = ' ';
  }
  return out;
}

std::string UrlForAnsiFile(std::string_view url) {
  std::string out;
  out.reserve(url.size());
  for (size_t i = 0; i < url.size();) {
    const char c = url[i];
    if (static_cast<unsigned char>(c) < 0x80) {
      if (IsBreakingControl(c)) {
        AppendPercent(out, url.substr(i, 1));
      } else {
        out += c;
      }
      ++i;
      continue;
    }
    size_t len = Utf8SequenceLength(url, i);
    if (len == 0) {
      AppendPercent(out, url.substr(i, 1));
      ++i;
      continue;
    }
    const std::string_view seq = url.substr(i, len);
    if (AnsiCanHold(seq)) {
      out += seq;
    } else {
      AppendPercent(out, seq);
    }
    i += len;
  }
  return out;
}

std::string UrlForUtf8File(std::string_view url) {
  std::string out;
  out.reserve(url.size());
  for (size_t i = 0; i < url.size(); ++i) {
    if (IsBreakingControl(url[i])) {
      AppendPercent(out, url.substr(i, 1));
    } else {
      out += url[i];
    }
  }
  return out;
}

}  // namespace vendil
