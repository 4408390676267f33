// A form wired to the briefcase stand-in, for whole scans: settings in a temporary folder,
// the service's host names pointed at loopback, and helpers to read the list and requests.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <deque>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "briefcase/scan_briefcase.h"
#include "state/form1.h"
#include "state/search_run.h"
#include "support/briefcase_stand_in.h"
#include "support/fake_ui.h"
#include "support/temp_folder.h"

namespace vendil::test {

using Site = BriefcaseStandIn::Site;

// Folder contents and dialog answers, spelled out once.
inline StandInFolder Files(std::vector<std::string> files) {
  StandInFolder f;
  f.files = std::move(files);
  return f;
}
inline StandInFolder PrivateFiles(std::vector<std::string> files) {
  StandInFolder f = Files(std::move(files));
  f.signInOnly = true;
  return f;
}
inline StandInFolder PasswordFiles(std::vector<std::string> files) {
  StandInFolder f = Files(std::move(files));
  f.passwordPage = true;
  return f;
}
inline SignInAnswer Answer(bool ok, std::optional<std::string> id = std::nullopt,
                           std::optional<std::string> password = std::nullopt) {
  SignInAnswer a;
  a.ok = ok;
  a.id = std::move(id);
  a.password = std::move(password);
  return a;
}

class BriefcaseScanFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    form.userAgent = "User-Agent: Mozilla/4.0 (compatible; test)";
    form.settingsFile = temp.File("vendil.ini");
    form.txtMask.SetText("*.zip*");  // file URLs carry a query
    form.Inet1.SetConnectTo(bc.ConnectTo());
    form.Inet1.SetTimeouts(5, 10);
  }

  // A top folder with top.zip, a folder A as given and a folder B with b1.zip.
  void ServeTopAndTwoFolders(const StandInFolder& a) {
    bc.AddFolder(Site::International, "alice", "/", Files({"top.zip"}));
    bc.AddFolder(Site::International, "alice", "/A", a);
    bc.AddFolder(Site::International, "alice", "/B", Files({"b1.zip"}));
  }

  bool Scan(const std::string& url) {
    form.txtUrl.SetText(url);
    lastRun = std::make_unique<SearchRun>(form);
    return ScanBriefcase(*lastRun);
  }

  std::vector<std::string> FileNames() const {
    std::vector<std::string> names;
    for (size_t i = 1; i <= form.lvwUrls.Count(); ++i)
      names.push_back(form.lvwUrls.Row(i).FileName);
    return names;
  }
  // A copy of the row, kept by the fixture so the pointer stays valid for the test.
  const LinkRow* RowNamed(const std::string& name) const {
    for (size_t i = 1; i <= form.lvwUrls.Count(); ++i) {
      LinkRow row = form.lvwUrls.Row(i);
      if (row.FileName == name) return &rowCopies_.emplace_back(std::move(row));
    }
    return nullptr;
  }
  // Requests to the briefcase hosts only (not the login hosts), as URLs.
  std::vector<std::string> FolderRequests() const {
    std::vector<std::string> urls;
    for (const RecordedRequest& r : bc.Requests()) {
      if (r.Header("Host").rfind("briefcase.", 0) == 0) urls.push_back(BriefcaseStandIn::UrlOf(r));
    }
    return urls;
  }
  bool FolderRequested(const std::string& url) const {
    const auto urls = FolderRequests();
    return std::find(urls.begin(), urls.end(), url) != urls.end();
  }
  bool StatusSeen(const std::string& text) const {
    return std::find(ui.statuses.begin(), ui.statuses.end(), text) != ui.statuses.end();
  }

  TempFolder temp;
  BriefcaseStandIn bc;
  FakeUi ui;
  Form1 form{ui};
  // The state of the last scan, as it stood when the scan ended.
  std::unique_ptr<SearchRun> lastRun;
  mutable std::deque<LinkRow> rowCopies_;
};

}  // namespace vendil::test
