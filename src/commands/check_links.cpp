// The check command of the window and the command line.
#include "commands/check_links.h"

#include <vector>

#include "commands/one_search.h"
#include "crawl/crawl_links.h"
#include "net/link_check.h"
#include "state/search_run.h"

namespace vendil {
namespace {

const char kNothingToCheck[] = "確認するリンクがありません。";
const char kCheckCancelled[] = "リンクの確認を中止しました。";

}  // namespace

std::string CheckProgressText(size_t ended, size_t total) {
  return "リンクを確認しています… " + std::to_string(ended) + "/" + std::to_string(total) + " 件";
}

std::string CheckEndedText(size_t total, size_t failed) {
  std::string text = "リンクの確認が終わりました: " + std::to_string(total) + " 件";
  if (failed > 0) text += "・応答なし " + std::to_string(failed) + " 件";
  return text;
}

CheckOutcome CheckListRows(Form1& form, RowsToCheck which) {
  SearchSlot slot(form);
  if (!slot.Taken()) return CheckOutcome::NotRun;
  LinkList& list = form.lvwUrls;
  std::vector<LinkToCheck> links;
  for (size_t i = 1; i <= list.Count(); ++i) {
    if (which == RowsToCheck::Checked && !list.Checked(i)) continue;
    links.push_back({std::string(list.Text(i, LinkColumn::Url)),
                     std::string(list.Text(i, LinkColumn::Referer))});
  }
  if (links.empty()) {
    form.SetStatusText(kNothingToCheck);
    return CheckOutcome::NotRun;
  }
  form.m_blnStop = false;
  form.Inet1.SetOptions(form.internetOptions);
  SearchRun run(form);
  size_t failed = 0;
  LinkCheckCallbacks callbacks;
  // A redirect is judged as a link to where it leads would be on the page that listed the
  // row; a row listed by no page is judged against its own place.
  callbacks.redirectAllowed = [&](size_t index, const std::string& nextUrl) {
    const LinkToCheck& link = links[index];
    return IsRedirectAllowed(run, nextUrl, link.referer.empty() ? link.url : link.referer);
  };
  callbacks.checked = [&](size_t index, RowCheck check) {
    if (check.status == 0) ++failed;
    // Rows removed meanwhile are not there to take it.
    list.SetRowCheck(links[index].url, std::move(check));
  };
  callbacks.progress = [&](size_t ended, size_t total) {
    run.SetStatusText(CheckProgressText(ended, total));
  };
  const bool ended = CheckLinks(run, links, callbacks);
  form.Inet1.Cancel();
  if (!ended) {
    run.SetStatusText(kCheckCancelled);
    return CheckOutcome::Stopped;
  }
  run.SetStatusText(CheckEndedText(links.size(), failed));
  return CheckOutcome::Ended;
}

}  // namespace vendil
