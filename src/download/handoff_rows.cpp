// The checked rows of a hand-off and the messages that report its outcome.
#include "download/handoff_rows.h"

#include "export/aria2_rpc.h"
#include "export/target_folder.h"

namespace vendil {

std::vector<HandoffRow> CheckedHandoffRows(const LinkList& list, const std::string& saveFolder,
                                           bool useBriefcaseDirectory) {
  std::vector<HandoffRow> rows;
  for (size_t i = 1; i <= list.Count(); ++i) {
    if (!list.Checked(i)) continue;
    const LinkRow& row = list.Row(i);
    HandoffRow r;
    r.url = row.Url;
    r.referer = row.Referer;
    r.title = row.Title;
    // The managers here run on this system, which writes "/" between folders.
    r.folder = RowTargetFolder(row, saveFolder, useBriefcaseDirectory);
    for (char& c : r.folder) {
      if (c == '\\') c = '/';
    }
    r.saveName = SaveNameFromUrl(row.Url);
    rows.push_back(std::move(r));
  }
  return rows;
}

HandoffOutcome OutcomeOfCount(size_t sent, size_t total, const std::string& detail) {
  HandoffOutcome o;
  o.sent = sent;
  o.total = total;
  o.detail = detail;
  o.status = sent == total ? HandoffStatus::Sent
             : sent == 0   ? HandoffStatus::Refused
                           : HandoffStatus::Partial;
  return o;
}

std::string HandoffMessage(const std::string& manager, const HandoffOutcome& o) {
  const std::string detail = o.detail.empty() ? "" : "\r\n" + o.detail;
  switch (o.status) {
    case HandoffStatus::Sent:
      return std::to_string(o.sent) + " 個のURLを送りました。";
    case HandoffStatus::Partial:
      return std::to_string(o.total) + " 個のうち " + std::to_string(o.sent) +
             " 個のURLを送りました。残りの " + std::to_string(o.total - o.sent) + " 個は" +
             manager + "が受け付けませんでした。" + detail;
    case HandoffStatus::NotRunning:
      return manager + "が起動していません。" + detail;
    case HandoffStatus::NotInstalled:
      return manager + "が見つかりません。" + detail;
    case HandoffStatus::SecretWrong:
      return manager +
             "がシークレットを受け付けませんでした。設定のシークレットを確かめてください。" +
             detail;
    case HandoffStatus::Refused:
      return manager + "がURLを受け付けませんでした。" + detail;
  }
  return "";
}

}  // namespace vendil
