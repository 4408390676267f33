// vendil-cli search on a briefcase URL, run as a process against the stand-in: sign-in from
// --id and --password-stdin, and a wrong stored password that ends instead of looping.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "settings/c_ini.h"
#include "support/briefcase_stand_in.h"
#include "support/cli_process.h"
#include "support/temp_folder.h"

namespace vendil {
namespace {

namespace fs = std::filesystem;
using test::BriefcaseStandIn;
using Site = BriefcaseStandIn::Site;

using RunResult = test::CliResult;

class IntegrationBriefcaseCli : public ::testing::Test {
 protected:
  void SetUp() override {
    // A copy of the program, so its settings file (which holds the password) is ours.
    test::CopyOfCli(temp.Path());
    StandInFolder top, hidden;
    top.files = {"top.zip"};
    hidden.files = {"p.zip"};
    hidden.signInOnly = true;
    bc.AddFolder(Site::International, "alice", "/", top);
    bc.AddFolder(Site::International, "alice", "/P", hidden);
  }
  using StandInFolder = test::StandInFolder;

  RunResult Run(std::vector<std::string> args, const std::string& input) {
    std::vector<std::string> argv = {temp.File("vendil-cli"), "search", "--mask", "*.zip*"};
    for (const std::string& entry : bc.ConnectTo()) {
      argv.push_back("--connect-to");
      argv.push_back(entry);
    }
    argv.insert(argv.end(), args.begin(), args.end());
    argv.push_back(BriefcaseStandIn::TopUrl(Site::International, "alice"));
    return test::RunProcess(argv, temp.Path(), input);
  }
  std::string Stored(const std::string& key) const {
    cIni ini;
    ini.FileName(temp.File("vendil.ini"));
    ini.Section("SignIn");
    return ini.GetString(key);
  }

  test::TempFolder temp;
  BriefcaseStandIn bc;
};

TEST_F(IntegrationBriefcaseCli, SignsInWithTheGivenIdAndPasswordAndStoresThemOnlyWhenAsked) {
  const RunResult r = Run({"--sign-in", "--id", "alice", "--password-stdin"}, "secret\n");
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_NE(r.out.find("\tp.zip\t"), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("\talice\\P\\\t"), std::string::npos) << r.out;
  EXPECT_NE(r.err.find("2/2 個のファイルを見つけました。"), std::string::npos) << r.err;
  EXPECT_EQ(r.err.find("secret"), std::string::npos) << r.err;
  EXPECT_FALSE(fs::exists(temp.File("vendil.ini")));  // the values lived for the run only

  const RunResult saved =
      Run({"--save-settings", "--sign-in", "--id", "alice", "--password-stdin"}, "secret\n");
  EXPECT_EQ(saved.status, 0) << saved.err;
  EXPECT_EQ(Stored("ID"), "alice");
  EXPECT_EQ(Stored("Password"), "secret");
  EXPECT_EQ(fs::status(temp.File("vendil.ini")).permissions() &
                (fs::perms::group_all | fs::perms::others_all),
            fs::perms::none);
}

TEST_F(IntegrationBriefcaseCli, StoredValuesAnswerTheDialogAndTheFileIsLeftAlone) {
  const std::string stored = "[SignIn]\r\nID=alice\r\nPassword=secret\r\n";
  test::WriteBytes(temp.File("vendil.ini"), stored);
  const RunResult r = Run({"--sign-in"}, "");
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_NE(r.out.find("\tp.zip\t"), std::string::npos) << r.out;
  // A wrong password given for the run is not written over the stored one.
  const RunResult wrong = Run({"--sign-in", "--password-stdin"}, "wrong\n");
  // It is tried once (the loop's end: IntegrationBriefcaseSignIn.AnswererThatStops...).
  EXPECT_EQ(wrong.status, 0) << wrong.err;
  EXPECT_NE(wrong.err.find("サインインに失敗しました。"), std::string::npos) << wrong.err;
  EXPECT_EQ(wrong.err.find("wrong"), std::string::npos) << wrong.err;
  EXPECT_EQ(bc.Submissions().size(), 2u);
  EXPECT_EQ(test::ReadBytes(temp.File("vendil.ini")), stored);
}

TEST_F(IntegrationBriefcaseCli, WithoutSignInTheDialogIsCancelled) {
  const RunResult r = Run({}, "");
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out.find("\tp.zip\t"), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("\ttop.zip\t"), std::string::npos) << r.out;
  EXPECT_TRUE(bc.Submissions().empty());
  // The cancelled dialog wrote nothing: no settings file with empty sign-in keys.
  EXPECT_FALSE(fs::exists(temp.File("vendil.ini")));
}

}  // namespace
}  // namespace vendil
