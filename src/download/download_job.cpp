// One download through aria2c: add, poll, stop, end.
#include "download/download_job.h"

#include <algorithm>
#include <cstdio>

#include "download/aria2_status.h"

namespace vendil {

namespace {

// aria2 takes thousands of calls in one request, but a smaller request keeps each pause
// of the window short.
constexpr size_t kAddBatch = 500;
constexpr int kStoppedPage = 1000;

bool Ended(RowDownloadState s) {
  return s == RowDownloadState::Complete || s == RowDownloadState::Error ||
         s == RowDownloadState::Stopped;
}

std::string AddUriParams(const PlannedFile& f, const std::string& userAgent) {
  std::string options = "\"dir\":" + JsonQuote(f.dir);
  if (!f.out.empty()) options += ",\"out\":" + JsonQuote(f.out);
  if (!f.referer.empty()) options += ",\"referer\":" + JsonQuote(f.referer);
  if (!userAgent.empty()) options += ",\"user-agent\":" + JsonQuote(userAgent);
  return "[" + JsonQuote(f.url) + "],{" + options + "}";
}

}  // namespace

std::string RowDownloadText(const RowDownload& entry) {
  switch (entry.state) {
    case RowDownloadState::Waiting:
      return "待機";
    case RowDownloadState::Active: {
      std::string text = "進行";
      if (entry.total > 0) text += " " + std::to_string(entry.done * 100 / entry.total) + "%";
      return text + " " + ByteSizeText(entry.speed) + "/s";
    }
    case RowDownloadState::Complete:
      return "完了";
    case RowDownloadState::Error:
      return "エラー: " + entry.error;
    case RowDownloadState::Stopped:
      return "中止";
  }
  return "";
}

std::optional<std::string> DownloadJob::Start(const std::string& aria2c,
                                              std::vector<PlannedFile> files,
                                              const std::string& userAgent) {
  End();
  entries_.clear();
  byGid_.clear();
  byRow_.clear();
  stoppedSeen_ = 0;
  if (auto error =
          process_.Start(aria2c, {"--max-concurrent-downloads=6", "--max-connection-per-server=1",
                                  "--auto-file-renaming=false", "--allow-overwrite=false",
                                  "--file-allocation=none"})) {
    return error;
  }
  entries_.reserve(files.size());
  for (const PlannedFile& f : files) {
    RowDownload e;
    e.row = f.row;
    e.url = f.url;
    e.path = f.out.empty() ? "" : f.dir + "/" + f.out;
    byRow_[f.row] = entries_.size();
    entries_.push_back(std::move(e));
  }
  std::vector<size_t> changed;
  for (size_t first = 0; first < files.size(); first += kAddBatch) {
    const size_t last = std::min(files.size(), first + kAddBatch);
    std::vector<std::pair<std::string, std::string>> calls;
    for (size_t i = first; i < last; ++i)
      calls.emplace_back("aria2.addUri", AddUriParams(files[i], userAgent));
    std::string error;
    const auto result = process_.Multicall(calls, error);
    for (size_t i = first; i < last; ++i) {
      RowDownload& e = entries_[i];
      std::string fault = error;
      if (result && i - first < result->items.size())
        e.gid = MulticallGid(result->items[i - first], fault);
      if (e.gid.empty()) {
        e.error = fault.empty() ? "aria2がURLを受け付けませんでした" : fault;
        SetEnded(e, RowDownloadState::Error, changed);
      } else {
        byGid_[e.gid] = i;
        changed.push_back(e.row);
      }
    }
  }
  Report(changed);
  return std::nullopt;
}

void DownloadJob::SetEnded(RowDownload& entry, RowDownloadState state,
                           std::vector<size_t>& changed) {
  if (Ended(entry.state)) return;
  entry.state = state;
  entry.speed = 0;
  if (state == RowDownloadState::Complete && entry.total > 0) entry.done = entry.total;
  changed.push_back(entry.row);
  if (onFileEnded) onFileEnded(entry);
}

void DownloadJob::Report(const std::vector<size_t>& changed) {
  if (onRowsChanged && !changed.empty()) onRowsChanged(changed);
}

void DownloadJob::Update(const std::vector<Aria2Transfer>& transfers,
                         std::vector<size_t>& changed) {
  for (const Aria2Transfer& t : transfers) {
    const auto it = byGid_.find(t.gid);
    if (it == byGid_.end()) continue;
    RowDownload& e = entries_[it->second];
    if (Ended(e.state)) continue;
    if (!t.path.empty()) e.path = t.path;
    const bool moved =
        e.done != t.completedLength || e.total != t.totalLength || e.speed != t.downloadSpeed;
    e.done = t.completedLength;
    e.total = t.totalLength;
    e.speed = t.downloadSpeed;
    if (t.status == "complete") {
      SetEnded(e, RowDownloadState::Complete, changed);
    } else if (t.status == "error") {
      e.error = Aria2ErrorText(t.errorCode, t.errorMessage);
      SetEnded(e, RowDownloadState::Error, changed);
    } else if (t.status == "removed") {
      SetEnded(e, RowDownloadState::Stopped, changed);
    } else if (t.status == "active") {
      if (e.state != RowDownloadState::Active || moved) changed.push_back(e.row);
      e.state = RowDownloadState::Active;
    }
  }
}

bool DownloadJob::Poll() {
  std::vector<size_t> changed;
  std::string error;
  const std::string keys = Aria2StatusKeys();
  const auto result =
      process_.Multicall({{"aria2.tellActive", keys},
                          {"aria2.tellStopped", std::to_string(stoppedSeen_) + "," +
                                                    std::to_string(kStoppedPage) + "," + keys}},
                         error);
  if (!result || result->items.size() != 2) {
    // aria2c is gone (killed, crashed): nothing will finish now.
    for (RowDownload& e : entries_) {
      if (e.error.empty()) e.error = "aria2cが応答しません";
      SetEnded(e, RowDownloadState::Error, changed);
    }
    Report(changed);
    return false;
  }
  for (RowDownload& e : entries_) {
    if (e.state == RowDownloadState::Active) e.speed = 0;  // set again below when still active
  }
  if (const JsonValue* active = MulticallValue(result->items[0]))
    Update(ReadAria2Transfers(*active), changed);
  if (const JsonValue* stopped = MulticallValue(result->items[1])) {
    const auto transfers = ReadAria2Transfers(*stopped);
    stoppedSeen_ += stopped->kind == JsonValue::Kind::Array ? stopped->items.size() : 0;
    Update(transfers, changed);
  }
  Report(changed);
  return true;
}

bool DownloadJob::Finished() const {
  for (const RowDownload& e : entries_) {
    if (!Ended(e.state)) return false;
  }
  return true;
}

void DownloadJob::Stop() {
  std::vector<std::pair<std::string, std::string>> calls;
  for (const RowDownload& e : entries_) {
    if (!Ended(e.state) && !e.gid.empty())
      calls.emplace_back("aria2.forceRemove", JsonQuote(e.gid));
  }
  if (!calls.empty()) {
    std::string error;
    (void)process_.Multicall(calls, error);
    // Reads the removal (and any file that finished meanwhile) once more.
    Poll();
  }
  std::vector<size_t> changed;
  for (RowDownload& e : entries_) SetEnded(e, RowDownloadState::Stopped, changed);
  Report(changed);
}

void DownloadJob::End() { process_.End(); }

const RowDownload* DownloadJob::ForRow(size_t row) const {
  const auto it = byRow_.find(row);
  return it == byRow_.end() ? nullptr : &entries_[it->second];
}

DownloadTotals DownloadJob::Totals() const {
  DownloadTotals t;
  t.files = entries_.size();
  int64_t sized = 0, sizedBytes = 0, unsized = 0, left = 0;
  for (const RowDownload& e : entries_) {
    if (e.total > 0) {
      ++sized;
      sizedBytes += e.total;
    }
    const bool open = e.state == RowDownloadState::Waiting || e.state == RowDownloadState::Active;
    if (open && e.total > 0) left += e.total - std::min(e.done, e.total);
    if (open && e.total == 0) ++unsized;
    switch (e.state) {
      case RowDownloadState::Complete:
        ++t.complete;
        break;
      case RowDownloadState::Error:
        ++t.failed;
        break;
      case RowDownloadState::Stopped:
        ++t.stopped;
        break;
      default:
        if (e.total == 0) t.totalKnown = false;
        break;
    }
    t.bytesDone += e.done;
    t.bytesTotal += e.total;
    t.speed += e.speed;
  }
  if (sized > 0) t.bytesLeftEstimate = left + unsized * (sizedBytes / sized);
  return t;
}

}  // namespace vendil
