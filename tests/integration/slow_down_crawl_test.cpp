// A crawl that fetches ahead, on a server that answers its start page with 429 once: from
// then on one request at a time, none started ahead and dropped, and the same rows as
// without the 429.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <map>
#include <mutex>
#include <string>
#include <vector>

#include "integration/crawl_fixture.h"
#include "state/form1.h"
#include "support/fake_ui.h"
#include "support/http_test_server.h"
#include "support/search_once.h"

namespace vendil {
namespace {

using test::A;
using test::Html;

class BusySite {
 public:
  explicit BusySite(bool tooManyFirst) : tooManyFirst_(tooManyFirst) {
    server_.Fallback([this](const httplib::Request& req, httplib::Response& res) {
      {
        std::lock_guard<std::mutex> lock(mutex_);
        maxInFlight_ = std::max(maxInFlight_, ++inFlight_);
        if (req.path == "/index.html" && tooManyFirst_) {
          tooManyFirst_ = false;
          --inFlight_;
          res.status = 429;
          res.set_header("Retry-After", "0");
          return res.set_content("slow down", "text/plain");
        }
      }
      // Each page takes a while, so that requests in flight at once would overlap here.
      server_.WaitForStop(std::chrono::milliseconds(20));
      std::string body;
      if (req.path == "/index.html") {
        for (int i = 1; i <= 12; ++i) body += A("p" + std::to_string(i) + ".html");
      } else {
        body = A(req.path.substr(1) + ".zip");
      }
      res.set_content(Html(body), "text/html");
      std::lock_guard<std::mutex> lock(mutex_);
      --inFlight_;
    });
  }
  std::string Url(const std::string& path) const { return server_.Url(path); }
  int MaxInFlight() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return maxInFlight_;
  }
  std::map<std::string, int> RequestsPerPath() const { return server_.RequestsPerPath(); }

 private:
  mutable std::mutex mutex_;
  bool tooManyFirst_;
  int inFlight_ = 0;
  int maxInFlight_ = 0;
  test::HttpTestServer server_;  // last: stops before what its handler reads goes away
};

std::vector<std::string> CrawlRows(BusySite& site) {
  test::FakeUi ui;
  Form1 form{ui};
  form.txtMask.SetText("*.zip");
  form.txtDepth.SetText("1");
  form.txtUrl.SetText(site.Url("/index.html"));
  InternetOptions options;
  options.connections = 4;
  options.connectTimeoutSeconds = 5;
  options.totalTimeoutSeconds = 10;
  form.Inet1.SetOptions(options);
  EXPECT_TRUE(test::CrawlOnce(form));
  std::vector<std::string> rows;
  const std::string origin = site.Url("");
  for (size_t i = 1; i <= form.lvwUrls.Count(); ++i)
    rows.push_back(form.lvwUrls.Row(i).Url.substr(origin.size()));  // each site has its port
  return rows;
}

TEST(SlowDownCrawl, AfterA429OneRequestAtATimeAndNothingFetchedAhead) {
  BusySite busy(true);
  const std::vector<std::string> rows = CrawlRows(busy);
  EXPECT_EQ(busy.MaxInFlight(), 1);
  const std::map<std::string, int> requests = busy.RequestsPerPath();
  EXPECT_EQ(requests.at("/index.html"), 2);
  ASSERT_EQ(requests.size(), 13u);
  for (const auto& [path, count] : requests) {
    if (path != "/index.html") {
      EXPECT_EQ(count, 1) << path;
    }
  }

  BusySite calm(false);
  EXPECT_EQ(CrawlRows(calm), rows);
  EXPECT_GT(calm.MaxInFlight(), 1);   // without the 429 it does fetch ahead
  EXPECT_EQ(rows.size(), 12u + 12u);  // the pages and their files
}

}  // namespace
}  // namespace vendil
