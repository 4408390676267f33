// The folder scan: preparation, the page loop over one folder page (with its show-all
// refetch), the no-links, next-folder and finish steps.
#include "briefcase/scan_briefcase.h"

#include <deque>
#include <optional>
#include <string>
#include <unordered_set>

#include "briefcase/endpoints.h"
#include "briefcase/folder_path.h"
#include "briefcase/folder_que.h"
#include "briefcase/markers.h"
#include "briefcase/sign_in.h"
#include "net/fetch_ahead.h"
#include "net/fetch_page.h"
#include "parse/c_get_html_tag.h"
#include "parse/mod_string.h"
#include "parse/mod_url.h"
#include "platform/casefold.h"

namespace vendil {

namespace {

constexpr const char* kCancelled = "キャンセルされました。";
constexpr const char* kEmptyFolder = "空のフォルダです。";
constexpr const char* kFoundSuffix = " 個のファイルを見つけました。";
constexpr const char* kDisabled = "Access to this Briefcase has been disabled.";
constexpr const char* kNotFound = "The briefcase or file you are seeking does not exist.";
constexpr const char* kBriefcaseEmpty = "This briefcase is currently empty.";
constexpr const char* kIncorrectPage = "incorrect briefcase page.";
constexpr const char* kVerifyPassword = "Verify your Yahoo! password to continue.";

enum class Step { PageLoop, NoLinks, NextFolder, Finish, Stopped };

class FolderScan {
 public:
  explicit FolderScan(SearchRun& run)
      : run_(run),
        markers_(run.form.m_markers),
        ahead_(run, [this](size_t position) { return QueuedFolderSpec(position); }) {}

  bool Run() {
    Prepare();
    Step step = Step::PageLoop;
    for (;;) {
      switch (step) {
        case Step::PageLoop:
          step = ReadPage();
          break;
        case Step::NoLinks:
          step = NoLinks();
          break;
        case Step::NextFolder:
          step = NextFolder();
          break;
        case Step::Finish:
          step = Finish();
          if (step == Step::Finish) {
            run_.Inet1.Cancel();
            // The scan is over: no folder is left to read.
            run_.ui().Progress(pagesRead_, 0, static_cast<int>(filesFound_));
            return true;
          }
          break;
        case Step::Stopped:
          return false;
      }
    }
  }

 private:
  void Prepare() {
    run_.form.m_blnStop = false;
    const std::string url = TrimBlanks(RemoveAll(run_.form.txtUrl.Text(), {"\r\n"}));
    run_.form.txtUrl.SetText(url);
    pageUrl_ = url;
    folder_ = StartFolderPath(url);
    const int32_t site =
        EndsWithNoCase(GetHostName(url), ".co.jp") ? kJapaneseSite : kInternationalSite;
    run_.m_lngSite = site;
    if (run_.form.m_lngLoadedMarkerSet != site) SetBriefcaseMarkers(run_.form, site);
    markers_ = run_.form.m_markers;
    headers_ = HeaderText(pageUrl_);
    knownFolders_.insert(pageUrl_);
  }

  std::string HeaderText(const std::string& referer) const {
    return run_.form.userAgent + "\r\nReferer: " + referer + "\r\n";
  }

  // The request of the folder read at `position` (the n-th taken from the queue), as the
  // scan will make it if no show-all page comes between: each folder names the page read
  // before it as its referer. A guess that turns out wrong is not used.
  std::optional<PageSpec> QueuedFolderSpec(size_t position) const {
    if (position <= foldersTaken_) return std::nullopt;
    const size_t index = position - foldersTaken_ - 1;
    if (index >= queue_.size()) return std::nullopt;
    PageSpec pageRequest;
    pageRequest.url = queue_[index].strUrl;
    pageRequest.headers = HeaderText(index == 0 ? pageUrl_ : queue_[index - 1].strUrl);
    return pageRequest;
  }

  // Signs in from the current page. Pages fetched ahead were asked for without what the
  // sign-in may bring (its cookies): they are dropped, and read again when their turn comes.
  bool SignIn() {
    ahead_.Clear();
    return SignInFromPage(run_, pageUrl_);
  }

  // One pass of the page loop over the current page URL.
  Step ReadPage() {
    // A show-all link is followed once per folder, so a listing that links to itself
    // under that text cannot hold the scan for ever.
    bool showAllFollowed = false;
    for (;;) {
      pageLinks_ = 0;
      PageSpec pageRequest;
      pageRequest.url = pageUrl_;
      pageRequest.headers = headers_;
      const bool fetched = FetchPage(run_, pageRequest, &ahead_, foldersTaken_);
      // A fetch ended by Stop fails: the scan ends here as stopped.
      if (run_.Stopped()) return Stopped();
      if (!fetched) {
        if (pagesRead_ == 0 && foldersTaken_ == 0) run_.startPageFailed = true;
        run_.SetStatusText(kFetchFailedText);
        run_.Inet1.Cancel();
        return Step::NoLinks;
      }
      ++pagesRead_;
      const std::string& html = run_.m_strHtml;
      if (!ContainsNoCase(html, markers_.BriefcaseTitle)) return Step::Finish;
      if (ContainsNoCase(html, markers_.EmptyFolderText)) return Step::NoLinks;
      if (!WalkListing(html, showAllFollowed)) continue;  // show-all: read that page instead
      run_.ui().Progress(pagesRead_, static_cast<int>(queue_.size()),
                         static_cast<int>(filesFound_));
      return pageLinks_ == 0 ? Step::NoLinks : Step::NextFolder;
    }
  }

  // False when a show-all link made it the page to read.
  bool WalkListing(const std::string& html, bool& showAllFollowed) {
    cGetHtmlTag scanner;
    std::string url, text;
    bool inside = false;
    for (bool more = scanner.GetLinkFromHtml(url, &text, html, pageUrl_); more;
         more = scanner.GetLinkFromHtml(url, &text)) {
      if (!inside) {
        if (!showAllFollowed && EqualsNoCase(text, markers_.ShowAllText)) {
          showAllFollowed = true;
          pageUrl_ = url;
          return false;
        }
        if (EqualsNoCase(text, markers_.LastModifiedText)) inside = true;
        continue;
      }
      if (EqualsNoCase(text, markers_.SignOutText)) {
        run_.form.m_blnSignedIn = true;
      } else if (EqualsNoCase(text, markers_.SignInText)) {
        run_.form.m_blnSignedIn = false;
      } else if (EqualsNoCase(text, markers_.CheckAllText) ||
                 StartsWithNoCase(url, kRedirectPrefix)) {
        break;
      }
      Classify(url, text);
    }
    return true;
  }

  void Classify(const std::string& link, const std::string& text) {
    if (ContainsNoCase(text, "<img ")) return;
    // Links to places in one file or folder page name that one file or folder.
    const std::string url = UrlWithoutFragment(link);
    ++pageLinks_;
    if (ContainsNoCase(url, "/lst?.dir=/")) {
      // A folder linked twice (or back to one already read) is visited once: a listing
      // that links in a circle would otherwise never end.
      if (knownFolders_.insert(url).second) {
        queue_.push_back({url, folder_ + StripTags(text, true, true) + "\\"});
      }
      return;
    }
    ++filesFound_;
    const std::string downloadFolder =
        run_.form.m_blnMultiCheck ? run_.form.txtSaveFolder.Text() : "";
    if (run_.form.lvwUrls.AddLink(GetUrlFileName(url), url, pageUrl_, StripTags(text, true, true),
                                  folder_, downloadFolder, 0) == 1) {
      ++accepted_;
    }
  }

  Step Stopped() {
    run_.Inet1.Cancel();
    run_.SetStatusText(kCancelled);
    return Step::Stopped;
  }

  Step NoLinks() {
    if (!run_.form.m_blnSignedIn && SignIn()) {
      run_.form.m_blnSignedIn = true;
      return Step::PageLoop;
    }
    if (run_.Stopped()) return Stopped();  // Stop during the sign-in
    run_.SetStatusText(kEmptyFolder);
    return Step::NextFolder;
  }

  Step NextFolder() {
    if (queue_.empty()) return Step::Finish;
    headers_ = HeaderText(pageUrl_);
    ++foldersTaken_;
    pageUrl_ = std::move(queue_.front().strUrl);
    folder_ = std::move(queue_.front().strFolder);
    queue_.pop_front();
    return Step::PageLoop;
  }

  // Step::Finish when the scan ends here, Step::PageLoop after a password sign-in.
  Step Finish() {
    const std::string& html = run_.m_strHtml;
    if (filesFound_ > 0) {
      run_.SetStatusText(std::to_string(accepted_) + "/" + std::to_string(filesFound_) +
                         kFoundSuffix);
    } else if (ContainsNoCase(html, markers_.DisabledText)) {
      run_.SetStatusText(kDisabled);
    } else if (ContainsNoCase(html, markers_.NotFoundText)) {
      run_.SetStatusText(kNotFound);
    } else if (!ContainsNoCase(html, markers_.VerifyPasswordText)) {
      run_.SetStatusText(ContainsNoCase(html, markers_.BriefcaseTitle) ? kBriefcaseEmpty
                                                                       : kIncorrectPage);
    } else {
      run_.SetStatusText(kVerifyPassword);
      // One sign-in per scan: a password page that stays after a successful sign-in
      // must not ask again and again.
      const bool firstTry = !passwordSignInTried_;
      passwordSignInTried_ = true;
      if (firstTry && SignIn()) {
        run_.form.m_blnSignedIn = true;
        return Step::PageLoop;
      }
      if (run_.Stopped()) return Stopped();
      run_.SetStatusText(kVerifyPassword);
    }
    return Step::Finish;
  }

  SearchRun& run_;
  BriefcaseMarkerSet markers_;
  std::deque<cFolderQue> queue_;
  FetchAhead ahead_;  // after queue_, which its planner reads
  std::unordered_set<std::string> knownFolders_;
  std::string pageUrl_, folder_, headers_;
  long filesFound_ = 0;
  long accepted_ = 0;
  long pageLinks_ = 0;
  int pagesRead_ = 0;
  size_t foldersTaken_ = 0;  // folders taken from the queue
  bool passwordSignInTried_ = false;
};

}  // namespace

bool ScanBriefcase(SearchRun& run) {
  FolderScan scan(run);
  return scan.Run();
}

}  // namespace vendil
