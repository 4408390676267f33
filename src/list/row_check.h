// What a check of a row's URL learnt before any download: the size and type the server
// gives, the status it answered with, the place a redirect led to, or why no answer came.
// Held by the link list beside the rows; read by the window's columns and the command line.
#pragma once

#include <cstdint>
#include <string>

namespace vendil {

struct RowCheck {
  int64_t size = -1;       // bytes; -1 when the server did not say
  std::string type;        // the Content-Type as sent
  int status = 0;          // the final answer's HTTP status; 0: no answer
  std::string finalUrl;    // where redirects led; empty when none was followed
  std::string refusedHop;  // a redirect the search rules refused, not requested
  std::string errorWord;   // no answer: a short word ("timeout", "refused", ...)
  std::string errorText;   // and the transfer's own text of it

  bool Answered() const { return status != 0 && refusedHop.empty(); }
};

// A size as people read it: "812 B", "1.5 KB", "23.4 MB", "3.40 GB" (powers of 1024).
std::string ByteSizeText(int64_t bytes);

// The state as the command line prints it: the bare status ("200", "404"), the final URL
// when a redirect was followed, or a short error word.
std::string CheckStateWord(const RowCheck& check);

// The state as the window shows it: "200 OK", "404 Not Found", "移動 → URL", "エラー: …".
std::string CheckStateText(const RowCheck& check);

// The checked rows' count and the sum of the sizes known, as the status bar shows them:
// "チェック 120 個・3.4 GB".
std::string CheckedTotalText(size_t checkedRows, int64_t knownBytes, size_t unknownSizes);

}  // namespace vendil
