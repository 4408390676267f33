// vendil-cli search … --head against the check site: three more TSV fields and JSON keys
// with what each file's server told, and nothing asked of any server without it.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "support/check_site.h"
#include "support/cli_process.h"
#include "support/temp_folder.h"

namespace vendil::test {
namespace {

std::vector<std::vector<std::string>> TsvLines(const std::string& text) {
  std::vector<std::vector<std::string>> lines;
  std::stringstream in(text);
  for (std::string line; std::getline(in, line);) {
    std::vector<std::string> fields;
    size_t start = 0;
    for (size_t tab; (tab = line.find('\t', start)) != std::string::npos; start = tab + 1)
      fields.push_back(line.substr(start, tab - start));
    fields.push_back(line.substr(start));
    lines.push_back(std::move(fields));
  }
  return lines;
}

class CliHead : public ::testing::Test {
 protected:
  void SetUp() override { cli = CopyOfCli(folder.Path()); }
  CliResult Search(std::vector<std::string> extra) {
    std::vector<std::string> args = {cli, "search", site.IndexUrl(), "--depth",
                                     "0", "--mask", "*.zip"};
    args.insert(args.end(), extra.begin(), extra.end());
    return RunProcess(args, folder.Path());
  }

  CheckSite site;
  TempFolder folder;
  std::string cli;
};

TEST_F(CliHead, EveryRowGetsSizeTypeAndStateAndWithoutItNothingIsAsked) {
  const CliResult plain = Search({});
  ASSERT_EQ(plain.status, 0) << plain.err;
  for (const RecordedRequest& r : site.server().Requests())
    EXPECT_EQ(r.path, "/files/index.html") << r.method;  // no check without --head
  const std::vector<CheckSiteFile> files = site.Files();
  const auto plainLines = TsvLines(plain.out);
  ASSERT_EQ(plainLines.size(), files.size());
  for (const auto& fields : plainLines) EXPECT_EQ(fields.size(), 8u);

  const CliResult head = Search({"--head"});
  ASSERT_EQ(head.status, 0) << head.err;
  const auto lines = TsvLines(head.out);
  ASSERT_EQ(lines.size(), files.size());
  for (size_t i = 0; i < files.size(); ++i) {
    SCOPED_TRACE(files[i].path);
    ASSERT_EQ(lines[i].size(), 11u);
    // The eight fields are today's, unchecked rows (not *.zip) included.
    EXPECT_EQ(std::vector<std::string>(lines[i].begin(), lines[i].begin() + 8), plainLines[i]);
    EXPECT_EQ(lines[i][8], files[i].size >= 0 ? std::to_string(files[i].size) : "");
    EXPECT_EQ(lines[i][9], files[i].type);
    EXPECT_EQ(lines[i][10], files[i].state);
  }
  EXPECT_NE(head.err.find("リンクの確認が終わりました: 8 件"), std::string::npos) << head.err;
}

TEST_F(CliHead, JsonCarriesTheSameAsNumbersTextsAndNull) {
  const CliResult run = Search({"--head", "--format", "json"});
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_NE(run.out.find("\"Depth\": \"0\", \"size\": 12345, \"type\": \"application/zip\", "
                         "\"state\": \"200\"}"),
            std::string::npos)
      << run.out;
  EXPECT_NE(run.out.find("\"size\": 4000000000, \"type\": \"application/x-iso9660-image\", "
                         "\"state\": \"206\"}"),
            std::string::npos);
  EXPECT_NE(run.out.find("\"size\": null, \"type\": \"audio/ogg\", \"state\": \"200\"}"),
            std::string::npos);
  EXPECT_NE(run.out.find("\"size\": null, \"type\": \"\", \"state\": \"redirect-refused\"}"),
            std::string::npos);
  EXPECT_NE(run.out.find("\"state\": \"" + site.server().Url("/files/a.zip") + "\"}"),
            std::string::npos);
}

TEST_F(CliHead, OnlySearchesAndChecksTakeIt) {
  const CliResult run = RunProcess(
      {cli, "create", folder.File("p.nlc"), "--url", site.IndexUrl(), "--head"}, folder.Path());
  EXPECT_NE(run.status, 0);
  EXPECT_NE(run.err.find("create takes no --head"), std::string::npos) << run.err;
}

}  // namespace
}  // namespace vendil::test
