// The folder scan with folders fetched ahead reads what one folder at a time reads: the same
// rows, status texts and sign-in dialogs, also when a folder needs a sign-in after others
// were fetched ahead without it, and when a paged listing sends the scan to its show-all
// page.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "briefcase/scan_briefcase.h"
#include "integration/briefcase_fixture.h"
#include "state/form1.h"
#include "support/briefcase_stand_in.h"
#include "support/fake_ui.h"
#include "support/search_once.h"
#include "support/temp_folder.h"

namespace vendil {
namespace {

using test::BriefcaseStandIn;
using test::Site;

struct ScanResult {
  bool completed = false;
  std::vector<std::string> rows, statuses;
  size_t signInDialogs = 0;
};

class IntegrationBriefcaseFetchAhead : public ::testing::Test {
 protected:
  void SetUp() override {
    bc.SetPageSize(3);
    bc.AddFolder(Site::International, "alice", "/", test::Files({"top.zip", "a.txt"}));
    for (const char* name : {"/A", "/B", "/C", "/D"}) {
      bc.AddFolder(Site::International, "alice", name,
                   test::Files({std::string(name + 1) + "1.zip", std::string(name + 1) + "2.lzh"}));
    }
    bc.AddFolder(Site::International, "alice", "/A/Deep", test::Files({"deep.zip"}));
    bc.AddFolder(Site::International, "alice", "/B/Paged",
                 test::Files({"p1.zip", "p2.zip", "p3.zip", "p4.zip", "p5.zip"}));
    bc.AddFolder(Site::International, "alice", "/C/Private", test::PrivateFiles({"secret.zip"}));
    bc.AddFolder(Site::International, "alice", "/D/After", test::Files({"after.zip"}));
    // Queued, and fetched ahead, before the sign-in that the first private folder brings.
    bc.AddFolder(Site::International, "alice", "/D/Private", test::PrivateFiles({"mine.zip"}));
  }

  ScanResult Run(int connections) {
    test::FakeUi ui;
    Form1 form{ui};
    form.userAgent = "User-Agent: Mozilla/4.0 (compatible; test)";
    form.settingsFile = temp.File("vendil-" + std::to_string(connections) + ".ini");
    form.txtMask.SetText("*.zip*");
    InternetOptions options;
    options.connections = connections;
    form.Inet1.SetOptions(options);
    form.Inet1.SetConnectTo(bc.ConnectTo());
    ui.signInAnswers.push_back(test::Answer(true, "alice", "secret"));
    form.txtUrl.SetText(BriefcaseStandIn::TopUrl(Site::International, "alice"));

    ScanResult result;
    result.completed = test::ScanOnce(form);
    for (size_t i = 1; i <= form.lvwUrls.Count(); ++i) {
      const LinkRow& r = form.lvwUrls.Row(i);
      result.rows.push_back(std::string(form.lvwUrls.Checked(i) ? "1" : "0") + "|" + r.FileName +
                            "|" + r.Url + "|" + r.Referer + "|" + r.Title + "|" + r.Folder);
    }
    result.statuses = ui.statuses;
    result.signInDialogs = ui.signIns.size();
    return result;
  }

  test::TempFolder temp;
  BriefcaseStandIn bc;
};

TEST_F(IntegrationBriefcaseFetchAhead, FoldersFetchedAheadGiveWhatOneAtATimeGives) {
  const ScanResult one = Run(1);
  ASSERT_TRUE(one.completed);
  EXPECT_EQ(one.signInDialogs, 1u);
  ASSERT_EQ(one.rows.size(), 19u);  // "secret.zip" and "mine.zip" among them
  const std::vector<std::string> requestsOne = bc.RequestedUrls();

  const ScanResult many = Run(8);
  EXPECT_EQ(many.completed, one.completed);
  EXPECT_EQ(many.rows, one.rows);
  EXPECT_EQ(many.statuses, one.statuses);
  EXPECT_EQ(many.signInDialogs, one.signInDialogs);
  // Fetching ahead did happen: some folder was asked for before the one read before it.
  const std::vector<std::string> all = bc.RequestedUrls();
  const std::vector<std::string> requestsMany(all.begin() + requestsOne.size(), all.end());
  EXPECT_NE(requestsMany, requestsOne);
}

}  // namespace
}  // namespace vendil
