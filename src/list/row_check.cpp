// The texts of a row's check: sizes, states and the checked total.
#include "list/row_check.h"

#include <cstdio>

namespace vendil {
namespace {

const char* ReasonPhrase(int status) {
  switch (status) {
    case 200:
      return "OK";
    case 203:
      return "Non-Authoritative Information";
    case 204:
      return "No Content";
    case 206:
      return "Partial Content";
    case 300:
      return "Multiple Choices";
    case 304:
      return "Not Modified";
    case 400:
      return "Bad Request";
    case 401:
      return "Unauthorized";
    case 403:
      return "Forbidden";
    case 404:
      return "Not Found";
    case 405:
      return "Method Not Allowed";
    case 410:
      return "Gone";
    case 416:
      return "Range Not Satisfiable";
    case 429:
      return "Too Many Requests";
    case 500:
      return "Internal Server Error";
    case 501:
      return "Not Implemented";
    case 502:
      return "Bad Gateway";
    case 503:
      return "Service Unavailable";
    case 504:
      return "Gateway Timeout";
    default:
      return "";
  }
}

std::string StatusText(int status) {
  std::string text = std::to_string(status);
  const char* phrase = ReasonPhrase(status);
  if (*phrase != '\0') text += std::string(" ") + phrase;
  return text;
}

}  // namespace

std::string ByteSizeText(int64_t bytes) {
  char buf[64];
  const double b = static_cast<double>(bytes);
  if (bytes < 1024) {
    std::snprintf(buf, sizeof buf, "%lld B", static_cast<long long>(bytes));
  } else if (b < 1024.0 * 1024) {
    std::snprintf(buf, sizeof buf, "%.1f KB", b / 1024);
  } else if (b < 1024.0 * 1024 * 1024) {
    std::snprintf(buf, sizeof buf, "%.1f MB", b / (1024.0 * 1024));
  } else {
    std::snprintf(buf, sizeof buf, "%.2f GB", b / (1024.0 * 1024 * 1024));
  }
  return buf;
}

std::string CheckStateWord(const RowCheck& check) {
  if (!check.refusedHop.empty()) return "redirect-refused";
  if (check.status == 0) return check.errorWord.empty() ? "error" : check.errorWord;
  if (!check.finalUrl.empty()) return check.finalUrl;
  return std::to_string(check.status);
}

std::string CheckStateText(const RowCheck& check) {
  if (!check.refusedHop.empty()) return "エラー: 移動先は検索の規則で除外 → " + check.refusedHop;
  if (check.status == 0) {
    const std::string& reason = check.errorText.empty() ? check.errorWord : check.errorText;
    return "エラー: " + reason;
  }
  if (!check.finalUrl.empty()) {
    std::string text = "移動 → " + check.finalUrl;
    if (check.status < 200 || check.status > 299) text += " (" + StatusText(check.status) + ")";
    return text;
  }
  return StatusText(check.status);
}

std::string CheckedTotalText(size_t checkedRows, int64_t knownBytes, size_t unknownSizes) {
  std::string text = "チェック " + std::to_string(checkedRows) + " 個";
  if (checkedRows == 0) return text;
  if (unknownSizes < checkedRows) text += "・" + ByteSizeText(knownBytes);
  if (unknownSizes > 0 && unknownSizes < checkedRows)
    text += " (サイズ不明 " + std::to_string(unknownSizes) + " 個)";
  return text;
}

}  // namespace vendil
