// Whole folder scans against the briefcase stand-in: listing bounds, folder order and
// referers, show-all, both sites, page states, Stop, failed folders, and the marker set
// after a link crawl.
#include <gtest/gtest.h>

#include <map>
#include <string>

#include "crawl/crawl_links.h"
#include "integration/briefcase_fixture.h"
#include "support/search_once.h"

namespace vendil {
namespace {

using test::BriefcaseStandIn;
using test::Site;
using test::StandInFolder;

class IntegrationBriefcaseScan : public test::BriefcaseScanFixture {
 protected:
  // The top holds two files and the folders A and B; A holds C.
  void ServeTree(Site site) {
    bc.AddFolder(site, "alice", "/", test::Files({"top.zip", "notes.txt"}));
    bc.AddFolder(site, "alice", "/A", test::Files({"a1.zip"}));
    bc.AddFolder(site, "alice", "/B", test::Files({"b1.zip"}));
    bc.AddFolder(site, "alice", "/A/C", test::Files({"c1.zip"}));
  }
};

TEST_F(IntegrationBriefcaseScan, ListsEveryFileWithItsFolderBreadthFirst) {
  ServeTree(Site::International);
  ASSERT_TRUE(Scan(BriefcaseStandIn::TopUrl(Site::International, "alice")));

  // Navigation before the listing, icon links, and links after "Check All" are not files.
  EXPECT_EQ(FileNames(),
            (std::vector<std::string>{"top.zip", "notes.txt", "a1.zip", "b1.zip", "c1.zip"}));
  EXPECT_EQ(form.StatusText(), "4/5 個のファイルを見つけました。");
  EXPECT_EQ(lastRun->m_lngSite, 1);

  const LinkRow* c1 = RowNamed("c1.zip");
  ASSERT_NE(c1, nullptr);
  EXPECT_EQ(c1->Url, BriefcaseStandIn::FileUrl(Site::International, "alice", "/A/C", "c1.zip"));
  EXPECT_EQ(c1->Referer, BriefcaseStandIn::FolderUrl(Site::International, "alice", "/A/C"));
  EXPECT_EQ(c1->Title, "c1.zip");
  EXPECT_EQ(c1->Folder, "alice\\A\\C\\");
  EXPECT_EQ(c1->DownloadFolder, "");
  EXPECT_EQ(c1->Depth, "0");
  EXPECT_TRUE(c1->Checked);
  EXPECT_EQ(RowNamed("top.zip")->Folder, "alice\\");
  EXPECT_FALSE(RowNamed("notes.txt")->Checked);

  // Each folder once (the rows above show the order they were read in: A, B, then A's
  // child C), naming as referer the page read before it; the first page names itself.
  // Folders fetched ahead may reach the server in any order.
  const std::string top = BriefcaseStandIn::TopUrl(Site::International, "alice");
  const std::string a = BriefcaseStandIn::FolderUrl(Site::International, "alice", "/A");
  const std::string b = BriefcaseStandIn::FolderUrl(Site::International, "alice", "/B");
  const std::string c = BriefcaseStandIn::FolderUrl(Site::International, "alice", "/A/C");
  std::map<std::string, std::string> refererOf;
  for (const test::RecordedRequest& r : bc.Requests()) {
    EXPECT_EQ(r.Header("User-Agent"), "Mozilla/4.0 (compatible; test)");
    EXPECT_TRUE(refererOf.emplace(BriefcaseStandIn::UrlOf(r), r.Header("Referer")).second)
        << BriefcaseStandIn::UrlOf(r) << " asked for twice";
  }
  EXPECT_EQ(refererOf, (std::map<std::string, std::string>{{top, top}, {a, top}, {b, a}, {c, b}}));
  EXPECT_TRUE(ui.signIns.empty());
}

TEST_F(IntegrationBriefcaseScan, LinksToPlacesInOneFileGiveOneRow) {
  bc.AddFolder(Site::International, "alice", "/",
               test::Files({"a.zip#part1", "a.zip#part2", "b.zip"}));
  ASSERT_TRUE(Scan(BriefcaseStandIn::TopUrl(Site::International, "alice")));
  EXPECT_EQ(FileNames(), (std::vector<std::string>{"a.zip", "b.zip"}));
  const std::string linked =
      BriefcaseStandIn::FileUrl(Site::International, "alice", "/", "a.zip#part1");
  EXPECT_EQ(RowNamed("a.zip")->Url, linked.substr(0, linked.find('#')));
}

TEST_F(IntegrationBriefcaseScan, StartUrlWithOrWithoutTrailingSlashGivesTheSameFolders) {
  ServeTree(Site::International);
  std::string withSlash = BriefcaseStandIn::TopUrl(Site::International, "alice");
  std::string without = withSlash.substr(0, withSlash.size() - 1);
  // Blanks and line breaks around a pasted URL are cleaned off the field first.
  ASSERT_TRUE(Scan("  " + without + "\r\n"));
  EXPECT_EQ(form.txtUrl.Text(), without);
  EXPECT_EQ(RowNamed("top.zip")->Folder, "alice\\");
  EXPECT_EQ(RowNamed("c1.zip")->Folder, "alice\\A\\C\\");
  form.lvwUrls.Clear();
  ASSERT_TRUE(Scan(withSlash));
  EXPECT_EQ(RowNamed("top.zip")->Folder, "alice\\");
  EXPECT_EQ(RowNamed("c1.zip")->Folder, "alice\\A\\C\\");
}

TEST_F(IntegrationBriefcaseScan, ShowAllLinkRefetchesTheUnpagedListing) {
  bc.SetPageSize(2);
  bc.AddFolder(Site::International, "alice", "/", test::Files({"1.zip", "2.zip", "3.zip"}));
  form.m_blnMultiCheck = true;
  form.txtSaveFolder.SetText("/downloads");
  ASSERT_TRUE(Scan(BriefcaseStandIn::TopUrl(Site::International, "alice")));

  const std::string all = BriefcaseStandIn::ShowAllUrl(Site::International, "alice", "/");
  EXPECT_EQ(FolderRequests(), (std::vector<std::string>{
                                  BriefcaseStandIn::TopUrl(Site::International, "alice"), all}));
  EXPECT_EQ(FileNames(), (std::vector<std::string>{"1.zip", "2.zip", "3.zip"}));
  // The paged page added nothing: every row comes from the unpaged one.
  EXPECT_EQ(RowNamed("1.zip")->Referer, all);
  EXPECT_EQ(RowNamed("1.zip")->DownloadFolder, "/downloads");
  EXPECT_EQ(form.StatusText(), "3/3 個のファイルを見つけました。");
}

TEST_F(IntegrationBriefcaseScan, ListingEndsAtTheFirstRedirectLink) {
  StandInFolder top = test::Files({"early.zip"});
  top.filesAfterRedirect = {"late.zip"};
  bc.AddFolder(Site::International, "alice", "/", top);
  ASSERT_TRUE(Scan(BriefcaseStandIn::TopUrl(Site::International, "alice")));
  EXPECT_EQ(FileNames(), (std::vector<std::string>{"early.zip"}));
}

TEST_F(IntegrationBriefcaseScan, JapaneseSiteIsReadInEucJpWithItsMarkers) {
  ServeTree(Site::Japanese);
  bc.SetPageSize(1);
  ASSERT_TRUE(Scan(BriefcaseStandIn::TopUrl(Site::Japanese, "alice")));
  EXPECT_EQ(lastRun->m_lngSite, 2);
  EXPECT_EQ(form.m_lngLoadedMarkerSet, 2);
  EXPECT_EQ(FileNames(),
            (std::vector<std::string>{"top.zip", "notes.txt", "a1.zip", "b1.zip", "c1.zip"}));
  EXPECT_EQ(RowNamed("c1.zip")->Folder, "alice\\A\\C\\");
  EXPECT_EQ(form.StatusText(), "4/5 個のファイルを見つけました。");
  // "すべてを表示" was followed on the top page only (the others hold one file).
  EXPECT_EQ(FolderRequests().size(), 5u);
}

TEST_F(IntegrationBriefcaseScan, FolderNamedInKanjiIsAskedForInEucJp) {
  bc.AddFolder(Site::Japanese, "alice", "/", test::Files({"top.zip"}));
  bc.AddFolder(Site::Japanese, "alice", "/写真", test::Files({"p1.zip"}));
  ASSERT_TRUE(Scan(BriefcaseStandIn::TopUrl(Site::Japanese, "alice")));
  ASSERT_NE(RowNamed("p1.zip"), nullptr);
  EXPECT_EQ(RowNamed("p1.zip")->Folder, "alice\\写真\\");
  std::vector<std::string> targets;
  for (const auto& r : bc.Requests()) {
    if (r.target.find("lst?") != std::string::npos) targets.push_back(r.target);
  }
  EXPECT_EQ(targets, std::vector<std::string>{"/bc/alice/lst?.dir=/%BC%CC%BF%BF"});
}

TEST_F(IntegrationBriefcaseScan, ScanWithoutFilesEndsWithThePageState) {
  struct Case {
    std::string url, status;
  };
  bc.SetState(Site::International, "off", BriefcaseStandIn::State::Disabled);
  bc.AddFolder(Site::International, "bare", "/", {});
  const std::string root = "http://briefcase.yahoo.com";
  for (const Case& c : {
           Case{BriefcaseStandIn::TopUrl(Site::International, "off"),
                "Access to this Briefcase has been disabled."},
           Case{BriefcaseStandIn::TopUrl(Site::International, "nobody"),
                "The briefcase or file you are seeking does not exist."},
           Case{BriefcaseStandIn::TopUrl(Site::International, "bare"),
                "This briefcase is currently empty."},
           Case{root + "/elsewhere", "incorrect briefcase page."},
       }) {
    ui.statuses.clear();
    EXPECT_TRUE(Scan(c.url));
    EXPECT_EQ(form.StatusText(), c.status) << c.url;
  }
  // Every page with the service's title but no listing offered a sign-in (cancelled);
  // the page from elsewhere ended the scan at once.
  EXPECT_EQ(ui.signIns.size(), 3u);
  EXPECT_EQ(form.lvwUrls.Count(), 0u);
}

TEST_F(IntegrationBriefcaseScan, StopDuringTheScanKeepsTheRowsAlreadyAdded) {
  ServeTree(Site::International);
  const std::string b = BriefcaseStandIn::FolderUrl(Site::International, "alice", "/B");
  // Stop once the scan reaches B (B and C may have been fetched ahead: they add nothing).
  ui.OnYield([&] { return form.StatusText() == "Getting " + b + "..."; },
             [&] { form.m_blnStop = true; });
  EXPECT_FALSE(Scan(BriefcaseStandIn::TopUrl(Site::International, "alice")));
  EXPECT_EQ(form.StatusText(), "キャンセルされました。");
  EXPECT_EQ(FileNames(), (std::vector<std::string>{"top.zip", "notes.txt", "a1.zip"}));
}

TEST_F(IntegrationBriefcaseScan, StopWhileAFolderStallsEndsTheScanAtOnce) {
  StandInFolder stalling;
  stalling.stalls = true;
  ServeTopAndTwoFolders(stalling);
  const std::string a = BriefcaseStandIn::FolderUrl(Site::International, "alice", "/A");
  ui.OnYield([&] { return FolderRequested(a); }, [&] { form.m_blnStop = true; });
  EXPECT_FALSE(Scan(BriefcaseStandIn::TopUrl(Site::International, "alice")));
  EXPECT_EQ(form.StatusText(), "キャンセルされました。");
  EXPECT_EQ(FileNames(), std::vector<std::string>{"top.zip"});
  EXPECT_TRUE(ui.signIns.empty());  // no sign-in offered for the folder given up
}

TEST_F(IntegrationBriefcaseScan, FailedFolderDoesNotEndTheScan) {
  StandInFolder failing;
  failing.failing = true;
  ServeTopAndTwoFolders(failing);
  ASSERT_TRUE(Scan(BriefcaseStandIn::TopUrl(Site::International, "alice")));
  EXPECT_TRUE(StatusSeen("ページの取得に失敗しました。"));
  EXPECT_EQ(FileNames(), (std::vector<std::string>{"top.zip", "b1.zip"}));
  EXPECT_EQ(form.StatusText(), "2/2 個のファイルを見つけました。");
  // The failed folder gave no links, so the scan offered to sign in (cancelled here).
  EXPECT_EQ(ui.signIns.size(), 1u);
}

TEST_F(IntegrationBriefcaseScan, AStoppedCrawlLeavesNoContentTypesToTheNextScan) {
  ServeTree(Site::International);
  bc.server().Page("/plain.txt", "<a href=\"x.zip\">x</a>", "text/plain");
  form.txtUrl.SetText(bc.server().Url("/plain.txt"));
  form.txtDepth.SetText("1");
  form.txtContentType.SetText("text/plain");
  ui.OnYield([&] { return bc.server().TimesRequested("/plain.txt") > 0; },
             [&] { form.m_blnStop = true; });
  ASSERT_FALSE(test::CrawlOnce(form));
  ASSERT_EQ(form.StatusText(), "キャンセルされました。");

  // The scan reads the field as it is now, not what the stopped crawl had prepared.
  for (const char* field : {"", "text/*"}) {
    SCOPED_TRACE(field);
    form.txtContentType.SetText(field);
    form.lvwUrls.Clear();
    ASSERT_TRUE(Scan(BriefcaseStandIn::TopUrl(Site::International, "alice")));
    EXPECT_EQ(FileNames(),
              (std::vector<std::string>{"top.zip", "notes.txt", "a1.zip", "b1.zip", "c1.zip"}));
  }
}

TEST_F(IntegrationBriefcaseScan, ScanAfterALinkCrawlUsesTheInternationalMarkers) {
  ServeTree(Site::Japanese);
  ServeTree(Site::International);
  ASSERT_TRUE(Scan(BriefcaseStandIn::TopUrl(Site::Japanese, "alice")));
  ASSERT_EQ(form.m_lngLoadedMarkerSet, 2);
  // The crawl loads no marker set.
  form.txtUrl.SetText("http://briefcase.yahoo.com/elsewhere");
  form.txtDepth.SetText("0");
  test::CrawlOnce(form);
  form.lvwUrls.Clear();
  ASSERT_TRUE(Scan(BriefcaseStandIn::TopUrl(Site::International, "alice")));
  EXPECT_EQ(form.m_markers.LastModifiedText, "Last Modified");
  EXPECT_EQ(form.lvwUrls.Count(), 5u);
}

}  // namespace
}  // namespace vendil
