// Sign-in during whole scans against the briefcase stand-in: empty folders, the password
// page, wrong then right answers, the form data sent, the cookies, and the stored values.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "briefcase/sign_in.h"
#include "integration/briefcase_fixture.h"
#include "settings/c_ini.h"

namespace vendil {
namespace {

using test::BriefcaseStandIn;
using test::SignInAnswer;
using test::Site;

class IntegrationBriefcaseSignIn : public test::BriefcaseScanFixture {
 protected:
  cIni Stored() const {
    cIni ini;
    ini.FileName(form.settingsFile);
    ini.Section("SignIn");
    return ini;
  }
  // The top holds one file and the private folders P and Q, each with one file.
  void ServePrivateFolders(Site site) {
    bc.AddFolder(site, "alice", "/", test::Files({"top.zip"}));
    bc.AddFolder(site, "alice", "/P", test::PrivateFiles({"p.zip"}));
    bc.AddFolder(site, "alice", "/Q", test::PrivateFiles({"q.zip"}));
  }
};

TEST_F(IntegrationBriefcaseSignIn, CancelOnAnEmptyFolderGoesOnAndTheNextEmptyFolderAsksAgain) {
  ServePrivateFolders(Site::International);
  ASSERT_TRUE(Scan(BriefcaseStandIn::TopUrl(Site::International, "alice")));
  EXPECT_EQ(ui.signIns.size(), 2u);
  EXPECT_FALSE(form.m_blnSignedIn);
  // Each cancel: the sign-in failure, then the empty folder, then the scan goes on.
  std::vector<std::string> tail;
  for (const std::string& s : ui.statuses) {
    if (s == "サインインに失敗しました。" || s == "空のフォルダです。") tail.push_back(s);
  }
  EXPECT_EQ(tail, (std::vector<std::string>{"サインインに失敗しました。", "空のフォルダです。",
                                            "サインインに失敗しました。", "空のフォルダです。"}));
  EXPECT_TRUE(FolderRequested(BriefcaseStandIn::FolderUrl(Site::International, "alice", "/Q")));
  EXPECT_EQ(form.StatusText(), "1/1 個のファイルを見つけました。");
  EXPECT_TRUE(ui.messages.empty());
}

TEST_F(IntegrationBriefcaseSignIn, SignInOnAnEmptyFolderUnlocksTheRest) {
  ServePrivateFolders(Site::International);
  Stored().SetString("ID", "alice");
  Stored().SetString("Password", "secret");
  ui.signInAnswers.push_back(test::Answer(true));  // OK with the stored values
  ASSERT_TRUE(Scan(BriefcaseStandIn::TopUrl(Site::International, "alice")));

  EXPECT_TRUE(form.m_blnSignedIn);
  ASSERT_EQ(ui.signIns.size(), 1u);
  EXPECT_EQ(ui.signIns[0].shownId, "alice");
  EXPECT_EQ(ui.signIns[0].shownPassword, "secret");
  EXPECT_EQ(FileNames(), (std::vector<std::string>{"top.zip", "p.zip", "q.zip"}));
  EXPECT_TRUE(StatusSeen("サインインに成功しました。"));

  // The folder page's sign-in link led to the login page; its cookie went out with the
  // submission, and the session cookie with every folder request after it. Folders fetched
  // ahead before the sign-in may reach the server late, without it: each of those is asked
  // for again with the cookie.
  const auto requests = bc.Requests();
  const std::string loginPage = BriefcaseStandIn::LoginPageUrl(Site::International);
  const std::string loginAction = BriefcaseStandIn::LoginActionUrl(Site::International);
  size_t login = 0;
  while (login < requests.size() && BriefcaseStandIn::UrlOf(requests[login]) != loginPage) ++login;
  size_t submit = login;
  while (submit < requests.size() && BriefcaseStandIn::UrlOf(requests[submit]) != loginAction)
    ++submit;
  ASSERT_LT(submit + 1, requests.size());
  EXPECT_FALSE(requests[login].HasHeader("Referer"));
  EXPECT_EQ(requests[submit].Header("Referer"), loginAction);
  EXPECT_NE(requests[submit].Header("Cookie").find("B=standin-browser"), std::string::npos);
  auto withSession = [](const test::RecordedRequest& r) {
    return r.Header("Cookie").find("Y=standin-session") != std::string::npos;
  };
  std::set<std::string> askedWithSession;
  for (size_t i = submit + 1; i < requests.size(); ++i) {
    if (withSession(requests[i])) askedWithSession.insert(BriefcaseStandIn::UrlOf(requests[i]));
  }
  for (size_t i = submit + 1; i < requests.size(); ++i) {
    EXPECT_TRUE(askedWithSession.contains(BriefcaseStandIn::UrlOf(requests[i])))
        << BriefcaseStandIn::UrlOf(requests[i]) << " never asked for with the session cookie";
  }
  // The same folder was read again after the sign-in.
  EXPECT_TRUE(
      askedWithSession.contains(BriefcaseStandIn::FolderUrl(Site::International, "alice", "/P")));
}

TEST_F(IntegrationBriefcaseSignIn, FormDataHoldsTheHiddenFieldsAndEncodedCredentials) {
  ServePrivateFolders(Site::International);
  bc.SetAccount("al&ce", "p+ss ä");
  ui.signInAnswers.push_back(test::Answer(true, "al&ce", "p+ss ä"));
  ASSERT_TRUE(Scan(BriefcaseStandIn::TopUrl(Site::International, "alice")));

  const auto submissions = bc.Submissions();
  ASSERT_EQ(submissions.size(), 1u);
  EXPECT_TRUE(submissions[0].accepted);
  EXPECT_EQ(submissions[0].id, "al&ce");
  EXPECT_EQ(submissions[0].password, "p+ss ä");
  // The search form's field comes first (the field scan starts at the top of the page);
  // the upper-case INPUT tag and the field after the login form are not sent; the
  // unquoted last value is read up to the ">".
  EXPECT_EQ(submissions[0].rawData,
            "fr=bc-top&.tries=1&.src=bc&.done=bc&login=al%26ce&passwd=p%2Bss+%C3%A4");
  EXPECT_EQ(form.lvwUrls.Count(), 3u);
  // Typed values are stored, and the password shows in no status or message.
  EXPECT_EQ(Stored().GetString("ID"), "al&ce");
  for (const std::string& s : ui.statuses) EXPECT_EQ(s.find("p+ss"), std::string::npos) << s;
}

TEST_F(IntegrationBriefcaseSignIn, WrongPasswordShowsTheMessageAndTheDialogAgain) {
  ServePrivateFolders(Site::International);
  ui.signInAnswers.push_back(test::Answer(true, "alice", "wrong"));
  ui.signInAnswers.push_back(test::Answer(true, std::nullopt, "secret"));
  ASSERT_TRUE(Scan(BriefcaseStandIn::TopUrl(Site::International, "alice")));

  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_EQ(ui.messages[0].text, "サインインに失敗しました。");
  EXPECT_EQ(ui.messages[0].title, "Vendil");
  EXPECT_EQ(ui.messages[0].style, vb::OKOnly);
  ASSERT_EQ(ui.signIns.size(), 2u);
  EXPECT_EQ(ui.signIns[1].shownId, "alice");
  EXPECT_EQ(ui.signIns[1].shownPassword, "wrong");
  EXPECT_EQ(ui.signIns[1].attempt, 1);
  EXPECT_EQ(bc.Submissions().size(), 2u);
  EXPECT_EQ(FileNames(), (std::vector<std::string>{"top.zip", "p.zip", "q.zip"}));
  EXPECT_EQ(Stored().GetString("Password"), "secret");
  for (const std::string& s : ui.statuses) {
    EXPECT_EQ(s.find("wrong"), std::string::npos) << s;
    EXPECT_EQ(s.find("secret"), std::string::npos) << s;
  }
}

TEST_F(IntegrationBriefcaseSignIn, AnswererThatStopsAfterOneTryEndsTheLoop) {
  // As the command line without a terminal: OK for the first dialog of a request only.
  ServePrivateFolders(Site::International);
  ui.signInAnswers.push_back(test::Answer(true, "alice", "wrong"));
  ASSERT_TRUE(Scan(BriefcaseStandIn::TopUrl(Site::International, "alice")));
  EXPECT_TRUE(StatusSeen("サインインに失敗しました。"));
  EXPECT_EQ(FileNames(), (std::vector<std::string>{"top.zip"}));
  // P: a wrong try and a cancelled second dialog; Q: one cancelled dialog.
  EXPECT_EQ(ui.signIns.size(), 3u);
}

TEST_F(IntegrationBriefcaseSignIn, CancelStoresWhatWasTyped) {
  bc.AddFolder(Site::International, "alice", "/", {});
  ui.signInAnswers.push_back(test::Answer(false, "typed-id", "typed-pw"));
  ASSERT_TRUE(Scan(BriefcaseStandIn::TopUrl(Site::International, "alice")));
  EXPECT_EQ(Stored().GetString("ID"), "typed-id");
  EXPECT_EQ(Stored().GetString("Password"), "typed-pw");
  EXPECT_TRUE(bc.Submissions().empty());
}

TEST_F(IntegrationBriefcaseSignIn, PasswordPageSignsInAndReadsTheFolder) {
  bc.AddFolder(Site::International, "alice", "/Secret", test::PasswordFiles({"s.zip"}));
  ui.signInAnswers.push_back(test::Answer(true, "alice", "secret"));
  ASSERT_TRUE(Scan(BriefcaseStandIn::FolderUrl(Site::International, "alice", "/Secret")));
  EXPECT_EQ(FileNames(), (std::vector<std::string>{"s.zip"}));
  EXPECT_EQ(RowNamed("s.zip")->Folder, "Secret\\");
  EXPECT_EQ(form.StatusText(), "1/1 個のファイルを見つけました。");
}

TEST_F(IntegrationBriefcaseSignIn, CancelledPasswordPageEndsAskingForThePassword) {
  bc.AddFolder(Site::International, "alice", "/Secret", test::PasswordFiles({"s.zip"}));
  ASSERT_TRUE(Scan(BriefcaseStandIn::FolderUrl(Site::International, "alice", "/Secret")));
  EXPECT_EQ(form.StatusText(), "Verify your Yahoo! password to continue.");
  // Once as an empty page, once as the password page at the end.
  EXPECT_EQ(ui.signIns.size(), 2u);
  EXPECT_EQ(form.lvwUrls.Count(), 0u);
}

TEST_F(IntegrationBriefcaseSignIn, PasswordPageWhileSignedInAsksOnceAtTheEnd) {
  bc.AddFolder(Site::International, "alice", "/Secret", test::PasswordFiles({"s.zip"}));
  form.m_blnSignedIn = true;  // an earlier scan signed in; the cookie has gone since
  ui.signInAnswers.push_back(test::Answer(true, "alice", "secret"));
  ASSERT_TRUE(Scan(BriefcaseStandIn::FolderUrl(Site::International, "alice", "/Secret")));
  EXPECT_EQ(ui.signIns.size(), 1u);
  EXPECT_TRUE(StatusSeen("Verify your Yahoo! password to continue."));
  EXPECT_EQ(FileNames(), (std::vector<std::string>{"s.zip"}));
}

TEST_F(IntegrationBriefcaseSignIn, JapaneseSiteSignsInThroughItsOwnLoginHost) {
  ServePrivateFolders(Site::Japanese);
  ui.signInAnswers.push_back(test::Answer(true, "alice", "secret"));
  ASSERT_TRUE(Scan(BriefcaseStandIn::TopUrl(Site::Japanese, "alice")));
  EXPECT_EQ(FileNames(), (std::vector<std::string>{"top.zip", "p.zip", "q.zip"}));
  const auto submissions = bc.Submissions();
  ASSERT_EQ(submissions.size(), 1u);
  EXPECT_TRUE(submissions[0].accepted);
  EXPECT_TRUE(StatusSeen("サインインに成功しました。"));
}

TEST_F(IntegrationBriefcaseSignIn, WithoutASignInLinkTheSiteRootIsTheLoginPage) {
  bc.AddFolder(Site::International, "alice", "/", {});
  SearchRun run(form);
  run.m_strHtml = "<html>no links here</html>";
  SetBriefcaseMarkers(form, 1);
  ui.signInAnswers.push_back(test::Answer(true, "alice", "secret"));
  EXPECT_TRUE(SignInFromPage(run, "http://briefcase.yahoo.com/bc/alice/"));
  const auto requests = bc.Requests();
  ASSERT_EQ(requests.size(), 2u);
  EXPECT_EQ(BriefcaseStandIn::UrlOf(requests[0]), "http://briefcase.yahoo.com/");
  EXPECT_TRUE(bc.Submissions()[0].accepted);
}

TEST_F(IntegrationBriefcaseSignIn, LoginPageWithoutALoginFormFails) {
  bc.server().Page("/noform", "<form action=\"http://search.yahoo.com/\"></form>");
  SetBriefcaseMarkers(form, 1);
  ui.signInAnswers.push_back(test::Answer(true));
  SearchRun run(form);
  EXPECT_FALSE(SubmitSignIn(run, bc.server().Url("/noform")));
  EXPECT_TRUE(bc.Submissions().empty());
}

}  // namespace
}  // namespace vendil
