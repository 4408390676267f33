// vendil-cli search --skipped FILE: the links not read, written as TSV beside an unchanged
// stdout.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/cli_process.h"
#include "support/http_test_server.h"
#include "support/temp_folder.h"

namespace vendil {
namespace {

class IntegrationCliSkipped : public ::testing::Test {
 protected:
  void SetUp() override {
    program = test::CopyOfCli(dir.Path());
    site.Page("/d/index.html",
              "<a href=\"p.html\">P</a><a href=\"p.html#x\">P again</a>"
              "<a href=\"../up.html\">Up</a><a href=\"a.zip\">A</a>");
    site.Page("/d/p.html", "<a href=\"q.html\">Q</a>");
    site.Page("/d/a.zip", "PK", "application/zip");
  }
  test::CliResult Run(std::vector<std::string> args) {
    args.insert(args.begin(), program);
    return test::RunProcess(args, dir.Path(), "", std::chrono::seconds(30));
  }

  test::TempFolder dir;
  test::HttpTestServer site;
  std::string program;
};

TEST_F(IntegrationCliSkipped, WritesEachLinkNotReadWithItsRefererAndReason) {
  const std::string start = site.Url("/d/index.html");
  const test::CliResult plain = Run({"search", "--depth", "1", start});
  const test::CliResult with =
      Run({"search", "--depth", "1", "--skipped", dir.File("skipped.tsv"), start});
  ASSERT_EQ(with.status, 0) << with.err;
  EXPECT_EQ(with.out, plain.out);
  EXPECT_NE(plain.out, "");
  const std::string page = site.Url("/d/p.html");
  EXPECT_EQ(test::ReadBytes(dir.File("skipped.tsv")),
            page + "#x\t" + start + "\talready-queued\n" +                  //
                site.Url("/up.html") + "\t" + start + "\tupper-folder\n" +  //
                site.Url("/d/q.html") + "\t" + page + "\tdepth\n" +         //
                site.Url("/d/a.zip") + "\t" + start + "\tcontent-type application/zip\n");
}

TEST_F(IntegrationCliSkipped, AFileThatCannotBeWrittenFailsTheRunAfterPrintingTheRows) {
  const test::CliResult r =
      Run({"search", "--skipped", dir.File("no/such/folder.tsv"), site.Url("/d/index.html")});
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.out, "");
  EXPECT_NE(r.err.find("ファイルを保存できません。"), std::string::npos) << r.err;
  EXPECT_EQ(Run({"check", "--skipped", dir.File("s.tsv"), dir.File("p.nlc")}).status, 2);
}

}  // namespace
}  // namespace vendil
