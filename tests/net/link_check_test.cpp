// The link checker over loopback: what each kind of answer tells of a file without its
// body being read, redirects judged before they are requested, the connections per server,
// and Stop.
#include "net/link_check.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <map>
#include <mutex>

#include "parse/mod_url.h"
#include "support/check_site.h"
#include "support/fake_ui.h"

namespace vendil {
namespace {

using test::CheckSite;
using test::FakeUi;
using test::HttpTestServer;

class LinkCheckTest : public ::testing::Test {
 protected:
  void SetUp() override { form.Inet1.SetTimeouts(5, 20); }

  // Checks `links`; the answers by index.
  std::map<size_t, RowCheck> Check(const std::vector<LinkToCheck>& links, bool* ended = nullptr) {
    std::map<size_t, RowCheck> answers;
    LinkCheckCallbacks callbacks;
    callbacks.redirectAllowed = [&](size_t index, const std::string& next) {
      return GetHostName(next) == GetHostName(links[index].url) &&
             HttpControlKeyOf(next) == HttpControlKeyOf(links[index].url);
    };
    callbacks.checked = [&](size_t index, RowCheck check) {
      EXPECT_FALSE(answers.contains(index)) << "told twice: " << index;
      answers[index] = std::move(check);
    };
    const bool done = CheckLinks(run, links, callbacks);
    if (ended) *ended = done;
    return answers;
  }
  static std::string HttpControlKeyOf(const std::string& url) {
    return HttpControl::ServerKey(url);
  }

  // The servers outlive the control, whose connections they would otherwise wait for.
  CheckSite site;
  HttpTestServer server;
  FakeUi ui;
  Form1 form{ui};
  SearchRun run{form};
};

TEST_F(LinkCheckTest, EachAnswerTellsSizeTypeAndStateWithoutABody) {
  const std::vector<test::CheckSiteFile> files = site.Files();
  std::vector<LinkToCheck> links;
  for (const auto& f : files) links.push_back({site.server().Url(f.path), site.IndexUrl()});
  bool ended = false;
  const std::map<size_t, RowCheck> answers = Check(links, &ended);
  ASSERT_TRUE(ended);
  ASSERT_EQ(answers.size(), files.size());
  for (size_t i = 0; i < files.size(); ++i) {
    const RowCheck& check = answers.at(i);
    SCOPED_TRACE(files[i].path);
    EXPECT_EQ(check.size, files[i].size);
    EXPECT_EQ(check.type, files[i].type);
    EXPECT_EQ(CheckStateWord(check), files[i].state);
  }
  // The redirect's place is kept beside the row; the refused one names where it led.
  EXPECT_EQ(answers.at(5).finalUrl, site.server().Url("/files/a.zip"));
  EXPECT_EQ(answers.at(5).status, 200);
  EXPECT_NE(answers.at(6).refusedHop.find("/elsewhere.zip"), std::string::npos);
  EXPECT_EQ(site.OtherServerRequests(), 0);
  EXPECT_EQ(site.WholeBodyRequests(), 0);
  // Every request went with the Referer of the page that listed the link.
  for (const test::RecordedRequest& r : site.server().Requests())
    EXPECT_EQ(r.Header("Referer"), site.IndexUrl()) << r.path;
}

TEST_F(LinkCheckTest, NoAnswerIsAnErrorWithItsWordAndOthersGoOn) {
  server.Page("/ok.zip", "12345", "application/zip");
  int closedPort = 0;
  {
    HttpTestServer gone;  // a port that listened once and listens no more
    closedPort = gone.Port();
  }
  const std::vector<LinkToCheck> links = {
      {"http://127.0.0.1:" + std::to_string(closedPort) + "/x.zip", ""},
      {"ftp://127.0.0.1/file.zip", ""},
      {server.Url("/ok.zip"), ""},
  };
  const std::map<size_t, RowCheck> answers = Check(links);
  ASSERT_EQ(answers.size(), 3u);
  EXPECT_EQ(CheckStateWord(answers.at(0)), "refused");
  EXPECT_EQ(answers.at(0).status, 0);
  EXPECT_FALSE(answers.at(0).errorText.empty());
  EXPECT_EQ(CheckStateWord(answers.at(1)), "unsupported");
  EXPECT_EQ(answers.at(2).size, 5);
  EXPECT_EQ(CheckStateText(answers.at(2)), "200 OK");
}

TEST_F(LinkCheckTest, NoMoreRequestsInFlightToAServerThanTheConnections) {
  std::mutex mutex;
  int inFlight = 0, most = 0;
  server.Handle("/f/*", [&](const httplib::Request& req, httplib::Response& res) {
    {
      std::lock_guard lock(mutex);
      most = std::max(most, ++inFlight);
    }
    // Long enough for the others to pile up if the limit were not kept.
    server.WaitForStop(std::chrono::milliseconds(20));
    res.set_content(req.path, "application/zip");
    std::lock_guard lock(mutex);
    --inFlight;
  });
  InternetOptions options;
  options.connections = 3;
  form.Inet1.SetOptions(options);
  std::vector<LinkToCheck> links;
  for (int i = 0; i < 24; ++i) links.push_back({server.Url("/f/" + std::to_string(i)), ""});
  const std::map<size_t, RowCheck> answers = Check(links);
  ASSERT_EQ(answers.size(), links.size());
  for (const auto& [index, check] : answers) {
    EXPECT_EQ(check.size, static_cast<int64_t>(("/f/" + std::to_string(index)).size()));
  }
  EXPECT_LE(most, 3);
  EXPECT_EQ(server.Requests().size(), links.size());
}

TEST_F(LinkCheckTest, StopEndsTheCheckWhileAServerHoldsItsAnswer) {
  std::atomic<bool> asked{false};
  server.Handle("/held.zip", [&](const httplib::Request&, httplib::Response& res) {
    asked = true;
    server.WaitForStop(std::chrono::minutes(5));
    res.status = 200;
  });
  ui.OnYield([&] { return asked.load(); }, [&] { form.m_blnStop = true; });
  // One connection: the second link waits behind the held one, so after Stop it is never
  // asked, however late Stop is seen.
  InternetOptions options;
  options.connections = 1;
  form.Inet1.SetOptions(options);
  bool ended = true;
  const std::map<size_t, RowCheck> answers =
      Check({{server.Url("/held.zip"), ""}, {server.Url("/next.zip"), ""}}, &ended);
  EXPECT_FALSE(ended);
  EXPECT_TRUE(answers.empty());
  EXPECT_EQ(server.Requests().size(), 1u);
}

TEST_F(LinkCheckTest, ServersThatAskToSlowDownAreWaitedForAndAskedAgain) {
  std::atomic<int> busy{0}, dated{0};
  server.Handle("/busy.zip", [&](const httplib::Request&, httplib::Response& res) {
    if (busy++ == 0) {
      res.status = 429;
      res.set_header("Retry-After", "1");
      return;
    }
    res.set_content("12345", "application/zip");
  });
  server.Handle("/dated.zip", [&](const httplib::Request&, httplib::Response& res) {
    if (dated++ == 0) {
      res.status = 503;
      res.set_header("Retry-After", "Thu, 01 Jan 1970 00:00:00 GMT");  // past: no wait
      return;
    }
    res.set_content("123", "application/zip");
  });
  server.Handle("/always.zip", [&](const httplib::Request&, httplib::Response& res) {
    res.status = 429;
    res.set_header("Retry-After", "0");
  });
  const auto before = std::chrono::steady_clock::now();
  const std::map<size_t, RowCheck> answers = Check({{server.Url("/busy.zip"), ""},
                                                    {server.Url("/dated.zip"), ""},
                                                    {server.Url("/always.zip"), ""}});
  ASSERT_EQ(answers.size(), 3u);
  EXPECT_EQ(CheckStateWord(answers.at(0)), "200");
  EXPECT_EQ(answers.at(0).size, 5);
  EXPECT_EQ(CheckStateWord(answers.at(1)), "200");
  EXPECT_EQ(answers.at(1).size, 3);
  // Asked three times (twice again), then the answer stands.
  EXPECT_EQ(CheckStateWord(answers.at(2)), "429");
  EXPECT_EQ(server.TimesRequested("/always.zip"), 3);
  EXPECT_EQ(busy.load(), 2);
  EXPECT_EQ(dated.load(), 2);
  // The second's wait was kept: nothing ended before it could have.
  EXPECT_GE(std::chrono::steady_clock::now() - before, std::chrono::seconds(1));
  const bool said = std::any_of(ui.statuses.begin(), ui.statuses.end(), [](const std::string& t) {
    return t.find("の求めにより") != std::string::npos;
  });
  EXPECT_TRUE(said);
}

TEST_F(LinkCheckTest, StopEndsAWaitTheServerAskedFor) {
  server.Handle("/later.zip", [&](const httplib::Request&, httplib::Response& res) {
    res.status = 503;
    res.set_header("Retry-After", "100");
  });
  // Stop once the wait has been said in the status bar.
  ui.OnYield(
      [&] {
        return !ui.statuses.empty() && ui.statuses.back().find("の求めにより") != std::string::npos;
      },
      [&] { form.m_blnStop = true; });
  const auto before = std::chrono::steady_clock::now();
  bool ended = true;
  const std::map<size_t, RowCheck> answers = Check({{server.Url("/later.zip"), ""}}, &ended);
  EXPECT_FALSE(ended);
  EXPECT_TRUE(answers.empty());
  EXPECT_EQ(server.TimesRequested("/later.zip"), 1);
  EXPECT_LT(std::chrono::steady_clock::now() - before, std::chrono::seconds(30));
}

TEST(ResponseSizeTest, LengthsAndRangesAsServersWriteThem) {
  EXPECT_EQ(ResponseSize(200, "12345", ""), 12345);
  EXPECT_EQ(ResponseSize(200, " 42 ", ""), 42);
  EXPECT_EQ(ResponseSize(200, "", ""), -1);
  EXPECT_EQ(ResponseSize(200, "12a", ""), -1);
  EXPECT_EQ(ResponseSize(200, "-5", ""), -1);
  EXPECT_EQ(ResponseSize(200, "99999999999999999999999", ""), -1);
  EXPECT_EQ(ResponseSize(206, "1", "bytes 0-0/4000000000"), 4000000000);
  EXPECT_EQ(ResponseSize(206, "1", "bytes 0-0/*"), -1);
  EXPECT_EQ(ResponseSize(206, "1", "items 0-0/5"), -1);
  EXPECT_EQ(ResponseSize(206, "1", ""), -1);
}

}  // namespace
}  // namespace vendil
