// Fetching ahead changes nothing but the time a crawl takes: on a generated site with
// random delays, redirects, a page that fails twice, a refused content type, an add-URL
// script and a Stop at a chosen page, one request at a time and several in flight give the
// same rows, status texts and counts; the requests in flight per server stay within the
// setting, the delay between starts is kept, and held pages stay within their memory bound.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "crawl/add_url_script.h"
#include "crawl/crawl_links.h"
#include "integration/crawl_fixture.h"
#include "state/form1.h"
#include "support/fake_ui.h"
#include "support/http_test_server.h"
#include "support/search_once.h"
#include "support/temp_folder.h"

namespace vendil {
namespace {

using test::A;
using test::Html;
using Clock = std::chrono::steady_clock;

// What one crawl gave, in a form two crawls can be compared by.
struct CrawlResult {
  std::vector<std::string> rows;      // every field of every row, in list order
  std::vector<std::string> statuses;  // every status text, error texts cut after the number
  bool completed = false;
  int maxInFlight = 0;
  std::map<std::string, int> requestsPerPath;
  // When the program started each request, by its own clock.
  std::vector<Clock::time_point> starts;
};

// The generated site: a tree three levels deep whose pages also link back to pages seen
// before, with the special pages among them.
class GeneratedSite {
 public:
  GeneratedSite() {
    server_.Fallback(
        [this](const httplib::Request& req, httplib::Response& res) { Serve(req, res); });
    std::vector<std::string> level = {"/index.html"};
    int n = 0;
    for (int depth = 0; depth < 3; ++depth) {
      std::vector<std::string> next;
      for (size_t i = 0; i < level.size(); ++i) {
        std::string body;
        for (int k = 0; k < (depth == 0 ? 6 : 4); ++k) {
          const std::string child = "/p" + std::to_string(++n) + ".html";
          body += A(child.substr(1), "page " + std::to_string(n));
          next.push_back(child);
        }
        body += A("/" + level[(i + 1) % level.size()].substr(1), "again");  // already queued
        body += A("files/f" + std::to_string(n) + ".zip", "file " + std::to_string(n));
        body += A("files/f" + std::to_string(n) + ".lzh");
        pages_[level[i]] = body;
      }
      level = next;
    }
    for (const std::string& page : level) pages_[page] = A("leaf.zip", "leaf");
    // The special pages, linked from the start page.
    pages_["/index.html"] += A("redirect.html") + A("offsite.html") + A("flaky.html") +
                             A("data.bin") + A("missing.html");
    pages_["/moved/target.html"] = A("moved.zip", "moved");
    pages_["/flaky.html"] = A("flaky.zip", "flaky");
  }

  std::string Url(const std::string& path) const { return server_.Url(path); }
  // The other host that the off-site redirect names, answered here too.
  std::string ConnectTo() const {
    return "elsewhere.test:80:127.0.0.1:" + std::to_string(server_.Port());
  }
  void NewRun() {
    std::lock_guard<std::mutex> lock(mutex_);
    flakyCalls_ = 0;
    inFlight_ = 0;
    maxInFlight_ = 0;
    server_.ClearRequests();
  }
  int MaxInFlight() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return maxInFlight_;
  }
  std::map<std::string, int> RequestsPerPath() const { return server_.RequestsPerPath(); }
  // Every page the same large size, for the memory bound.
  void MakePagesLarge(size_t bytes) {
    for (auto& [path, body] : pages_) body += "<!--" + std::string(bytes, 'x') + "-->";
  }

 private:
  void Serve(const httplib::Request& req, httplib::Response& res) {
    {
      std::lock_guard<std::mutex> lock(mutex_);
      maxInFlight_ = std::max(maxInFlight_, ++inFlight_);
    }
    // A delay of its own for every page, as real round trips vary.
    const size_t delay = std::hash<std::string>{}(req.path) % 20;
    std::this_thread::sleep_for(std::chrono::milliseconds(delay));
    Answer(req, res);
    std::lock_guard<std::mutex> lock(mutex_);
    --inFlight_;
  }

  void Answer(const httplib::Request& req, httplib::Response& res) {
    if (req.path == "/redirect.html") return res.set_redirect("/moved/target.html");
    if (req.path == "/offsite.html") return res.set_redirect("http://elsewhere.test/x.html");
    if (req.path == "/data.bin") return res.set_content("\x01\x02", "application/octet-stream");
    if (req.path == "/flaky.html") {
      std::lock_guard<std::mutex> lock(mutex_);
      if (++flakyCalls_ <= 2) {  // cut short twice, then whole
        res.set_content_provider(1000, "text/html", [](size_t, size_t, httplib::DataSink& sink) {
          sink.write("<html>", 6);
          return false;
        });
        return;
      }
    }
    auto page = pages_.find(req.path);
    if (page == pages_.end()) {
      res.status = 404;
      return res.set_content("<html>no such page</html>", "text/html");
    }
    res.set_content(Html(page->second), "text/html");
  }

  std::map<std::string, std::string> pages_;  // fixed before the server answers
  mutable std::mutex mutex_;
  int flakyCalls_ = 0;
  int inFlight_ = 0;
  int maxInFlight_ = 0;
  test::HttpTestServer server_;  // last: stops before what its handlers read goes away
};

class IntegrationFetchAhead : public ::testing::Test {
 protected:
  void SetUp() override {
    std::filesystem::create_directory(folder.File("scripts"));
    // The script numbers what it adds across pages: another order of pages would show.
    test::WriteBytes(folder.File("scripts/count.vbs"),
                     "n = n + 1\r\n"
                     "VendilInfo.AddUrl \"http://elsewhere.test/added\" & n & \".zip\"\r\n");
  }

  // One crawl with `connections` per server; `stopAt` names the page at which Stop is
  // pressed, `stopAfterStarts` the number of requests after which it is.
  CrawlResult Run(int connections, const std::string& stopAt = "", int delayMs = 0,
                  size_t budget = 0, size_t stopAfterStarts = 0) {
    site.NewRun();
    test::FakeUi ui;
    Form1 form{ui};
    form.programFolder = folder.Path();
    form.userAgent = "User-Agent: Mozilla/4.0 (compatible; test)";
    form.txtMask.SetText("*.zip");
    form.txtDepth.SetText("3");
    form.txtUrl.SetText(site.Url("/index.html"));
    FillScriptList(form);
    CreateScriptEngine(form);
    EXPECT_TRUE(form.cmbScript.SetText("count.vbs"));
    InternetOptions options;
    options.connections = connections;
    options.delayMs = delayMs;
    options.connectTimeoutSeconds = 5;
    options.totalTimeoutSeconds = 10;
    form.Inet1.SetOptions(options);
    form.Inet1.SetConnectTo({site.ConnectTo()});
    if (budget > 0) form.Inet1.SetBackgroundBudget(budget);
    CrawlResult result;
    form.Inet1.OnTransferStarted(
        [&result](const std::string&, Clock::time_point at) { result.starts.push_back(at); });
    if (stopAfterStarts > 0) {
      ui.OnYield([&result, stopAfterStarts] { return result.starts.size() >= stopAfterStarts; },
                 [&form] { form.m_blnStop = true; });
    }
    if (!stopAt.empty()) {
      const std::string getting = "Getting " + site.Url(stopAt) + "...";
      ui.OnYield([&form, getting] { return form.StatusText() == getting; },
                 [&form] { form.m_blnStop = true; });
    }

    result.completed = test::CrawlOnce(form);
    for (size_t i = 1; i <= form.lvwUrls.Count(); ++i) {
      const LinkRow& r = form.lvwUrls.Row(i);
      result.rows.push_back(std::string(form.lvwUrls.Checked(i) ? "1" : "0") + "|" + r.FileName +
                            "|" + r.Url + "|" + r.Referer + "|" + r.Title + "|" + r.Folder + "|" +
                            r.DownloadFolder + "|" + r.Depth);
    }
    for (const std::string& status : ui.statuses) {
      // curl's words for a cut transfer depend on where the cut fell; its number does not.
      const size_t words =
          status.rfind("ErrorCode: ", 0) == 0 ? status.find(" : ") : std::string::npos;
      result.statuses.push_back(status.substr(0, words));
    }
    result.maxInFlight = site.MaxInFlight();
    result.requestsPerPath = site.RequestsPerPath();
    peakHeld = form.Inet1.PeakBackgroundBytes();
    return result;
  }

  test::TempFolder folder;
  GeneratedSite site;
  size_t peakHeld = 0;
};

void ExpectSameCrawl(const CrawlResult& one, const CrawlResult& many) {
  EXPECT_EQ(one.completed, many.completed);
  EXPECT_EQ(one.rows, many.rows);
  EXPECT_EQ(one.statuses, many.statuses);
}

TEST_F(IntegrationFetchAhead, SeveralInFlightGiveWhatOneAtATimeGives) {
  const CrawlResult one = Run(1);
  ASSERT_TRUE(one.completed);
  ASSERT_GT(one.rows.size(), 100u);
  EXPECT_EQ(one.maxInFlight, 1);
  EXPECT_EQ(one.requestsPerPath.at("/flaky.html"), 3);
  EXPECT_NE(std::find(one.statuses.begin(), one.statuses.end(), "Retry:" + site.Url("/flaky.html")),
            one.statuses.end());
  for (const int connections : {4, 8}) {
    SCOPED_TRACE(std::to_string(connections) + " connections");
    const CrawlResult many = Run(connections);
    ExpectSameCrawl(one, many);
    EXPECT_GT(many.maxInFlight, 1);  // it did fetch ahead
    EXPECT_LE(many.maxInFlight, connections);
    // Every page was asked for once (the flaky one three times), however they overlapped.
    EXPECT_EQ(many.requestsPerPath, one.requestsPerPath);
  }
}

TEST_F(IntegrationFetchAhead, StopAtAChosenPageGivesTheSameRowsAndNothingFetchedAhead) {
  const CrawlResult one = Run(1, "/p20.html");
  ASSERT_FALSE(one.completed);
  ASSERT_EQ(one.statuses.back(), "キャンセルされました。");
  const CrawlResult many = Run(8, "/p20.html");
  ExpectSameCrawl(one, many);
}

TEST_F(IntegrationFetchAhead, DelayIsKeptBetweenTheStartsOfRequestsToOneServer) {
  // Stopped once six requests have started, however fast the machine is: the start page and
  // the first five pages it links, none of which redirects. The starts are the program's
  // own, so a busy network or server cannot make them look closer.
  const CrawlResult many = Run(4, "", 40, 0, 6);
  ASSERT_GE(many.starts.size(), 6u);
  for (size_t i = 1; i < 6; ++i) {
    EXPECT_GE(many.starts[i] - many.starts[i - 1], std::chrono::milliseconds(40))
        << "request " << i;
  }
  ExpectSameCrawl(Run(1, "/p3.html", 40), Run(4, "/p3.html", 40));
}

TEST_F(IntegrationFetchAhead, PagesHeldAheadStayWithinTheirMemoryBound) {
  site.MakePagesLarge(64 * 1024);
  const size_t budget = 256 * 1024;
  const CrawlResult one = Run(1);
  const CrawlResult many = Run(8, "", 0, budget);
  ExpectSameCrawl(one, many);
  EXPECT_GT(peakHeld, 0u);  // pages were held ahead
  EXPECT_LE(peakHeld, budget);
}

}  // namespace
}  // namespace vendil
