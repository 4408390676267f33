// A stand-in of the briefcase service on loopback: the two sites' folder pages (the Japanese
// ones in EUC-JP), empty, private, password, disabled and missing briefcases, the login pages
// with their forms and the session cookie. Tests reach it under the real host names
// through ConnectTo().
//
//   BriefcaseStandIn bc;
//   bc.AddFolder(Site::International, "alice", "/", {.files = {"a.zip"}});
//   bc.AddFolder(Site::International, "alice", "/Photos", {.files = {"p.jpg"}});
//   form.Inet1.SetConnectTo(bc.ConnectTo());
//   form.txtUrl.SetText(bc.TopUrl(Site::International, "alice"));
#pragma once

#include <mutex>
#include <string>
#include <utility>
#include <vector>

#include "support/http_test_server.h"

namespace vendil::test {

struct StandInFolder {
  std::vector<std::string> files;
  // Listed after a redirect link inside the listing, so a scan never finds them.
  std::vector<std::string> filesAfterRedirect;
  // Without the session cookie the folder shows as empty.
  bool signInOnly = false;
  // Without the session cookie the folder is a password page.
  bool passwordPage = false;
  // Answers with a body no fetch accepts (the fetch of this folder fails).
  bool failing = false;
  // Takes the request and never answers (until the stand-in stops).
  bool stalls = false;
};

class BriefcaseStandIn {
 public:
  enum class Site { International, Japanese };
  enum class State { Open, Disabled };

  BriefcaseStandIn();
  BriefcaseStandIn(const BriefcaseStandIn&) = delete;
  BriefcaseStandIn& operator=(const BriefcaseStandIn&) = delete;

  // "HOST:80:127.0.0.1:PORT" for every host of the service.
  std::vector<std::string> ConnectTo() const;

  // A folder of a briefcase, by its path: "/" the top, "/Photos", "/Photos/2003". The
  // subfolders of a folder are the folders added below it, in the order added.
  void AddFolder(Site site, const std::string& user, const std::string& path, StandInFolder folder);
  void SetState(Site site, const std::string& user, State state);
  // The one account that signs in.
  void SetAccount(const std::string& id, const std::string& password);
  // A listing longer than this shows its first files and a show-all link (0: never paged).
  void SetPageSize(size_t files);

  // "http://briefcase.yahoo.com/bc/alice/" and its folder pages.
  static std::string TopUrl(Site site, const std::string& user);
  static std::string FolderUrl(Site site, const std::string& user, const std::string& path);
  static std::string ShowAllUrl(Site site, const std::string& user, const std::string& path);
  static std::string FileUrl(Site site, const std::string& user, const std::string& path,
                             const std::string& name);
  static std::string LoginPageUrl(Site site);
  static std::string LoginActionUrl(Site site);

  // Every request, in arrival order, and its URL as the client named it.
  std::vector<RecordedRequest> Requests() const { return server_.Requests(); }
  static std::string UrlOf(const RecordedRequest& request);
  std::vector<std::string> RequestedUrls() const;
  // The ID and password of every sign-in submission, decoded, and its raw form data.
  struct Submission {
    std::string id, password, rawData;
    bool hadBrowserCookie = false;
    bool accepted = false;
  };
  std::vector<Submission> Submissions() const;

  HttpTestServer& server() { return server_; }

 private:
  struct Folder {
    std::string path;
    StandInFolder content;
  };
  struct Briefcase {
    Site site;
    std::string user;
    State state = State::Open;
    std::vector<Folder> folders;
  };

  void Serve(const httplib::Request& req, httplib::Response& res);
  void ServeLogin(Site site, const httplib::Request& req, httplib::Response& res);
  void ServeFolder(Site site, const httplib::Request& req, httplib::Response& res);
  std::string FolderPage(Site site, const Briefcase& bc, const Folder& folder, bool signedIn,
                         bool showAll) const;
  Briefcase* Find(Site site, const std::string& user);
  static void Send(Site site, httplib::Response& res, const std::string& utf8Html);
  static bool SignedIn(const httplib::Request& req);

  mutable std::mutex mutex_;
  std::vector<Briefcase> briefcases_;
  std::string id_ = "alice", password_ = "secret";
  size_t pageSize_ = 0;
  std::vector<Submission> submissions_;
  HttpTestServer server_;  // last: stops before the state its handlers read goes away
};

// UTF-8 text as EUC-JP bytes (characters without a form become "?").
std::string Utf8ToEucJpForTest(const std::string& utf8);

}  // namespace vendil::test
