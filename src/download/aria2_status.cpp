// Reading aria2's transfer status objects and translating its common error causes.
#include "download/aria2_status.h"

#include <charconv>
#include <limits>

namespace vendil {

namespace {

std::string Text(const JsonValue* v) {
  return v && v->kind == JsonValue::Kind::String ? v->text : std::string();
}

bool Contains(const std::string& text, const char* part) {
  return text.find(part) != std::string::npos;
}

}  // namespace

std::string Aria2StatusKeys() {
  return "[\"gid\",\"status\",\"totalLength\",\"completedLength\",\"downloadSpeed\","
         "\"errorCode\",\"errorMessage\",\"files\"]";
}

int64_t Aria2Number(const JsonValue* value) {
  if (!value) return 0;
  if (value->kind == JsonValue::Kind::Number) {
    if (!(value->number >= 0)) return 0;
    if (value->number >= 9.0e18) return std::numeric_limits<int64_t>::max();
    return static_cast<int64_t>(value->number);
  }
  if (value->kind != JsonValue::Kind::String) return 0;
  const std::string& t = value->text;
  int64_t n = 0;
  const auto [end, ec] = std::from_chars(t.data(), t.data() + t.size(), n);
  if (ec == std::errc::result_out_of_range) return std::numeric_limits<int64_t>::max();
  if (ec != std::errc() || n < 0) return 0;
  (void)end;
  return n;
}

std::vector<Aria2Transfer> ReadAria2Transfers(const JsonValue& result) {
  std::vector<Aria2Transfer> out;
  if (result.kind != JsonValue::Kind::Array) return out;
  out.reserve(result.items.size());
  for (const JsonValue& item : result.items) {
    if (item.kind != JsonValue::Kind::Object) continue;
    Aria2Transfer t;
    t.gid = Text(item.Find("gid"));
    if (t.gid.empty()) continue;
    t.status = Text(item.Find("status"));
    t.totalLength = Aria2Number(item.Find("totalLength"));
    t.completedLength = Aria2Number(item.Find("completedLength"));
    t.downloadSpeed = Aria2Number(item.Find("downloadSpeed"));
    t.errorCode = Text(item.Find("errorCode"));
    t.errorMessage = Text(item.Find("errorMessage"));
    if (const JsonValue* files = item.Find("files");
        files && files->kind == JsonValue::Kind::Array && !files->items.empty()) {
      t.path = Text(files->items.front().Find("path"));
    }
    out.push_back(std::move(t));
  }
  return out;
}

const JsonValue* MulticallValue(const JsonValue& entry) {
  if (entry.kind != JsonValue::Kind::Array || entry.items.size() != 1) return nullptr;
  return &entry.items.front();
}

std::string MulticallGid(const JsonValue& entry, std::string& fault) {
  const JsonValue* value = MulticallValue(entry);
  if (value && value->kind == JsonValue::Kind::String && !value->text.empty()) return value->text;
  fault = Text(entry.Find("message"));
  if (fault.empty()) fault = "aria2 did not take the URL";
  return "";
}

std::string Aria2ErrorText(const std::string& errorCode, const std::string& errorMessage) {
  // Codes of aria2's exit status list; the refused connection has no code of its own.
  if (errorCode == "3" || Contains(errorMessage, "404")) return "ファイルが見つかりません (404)";
  if (Contains(errorMessage, "Connection refused")) return "接続が拒否されました";
  if (errorCode == "9" || Contains(errorMessage, "No space left"))
    return "ディスクの空きが足りません";
  if (errorCode == "2" || Contains(errorMessage, "Timeout") || Contains(errorMessage, "timed out"))
    return "時間切れになりました";
  if (errorCode == "19") return "ホスト名を解決できません";
  if (errorCode == "13") return "同じ名前のファイルがあります";
  if (errorCode == "24") return "認証に失敗しました";
  if (errorCode == "15" || errorCode == "16" || errorCode == "17" || errorCode == "18")
    return "ファイルを書き込めません: " + errorMessage;
  if (!errorMessage.empty()) return errorMessage;
  return errorCode.empty() ? "エラー" : "エラー (" + errorCode + ")";
}

}  // namespace vendil
