// The set-up of whole-crawl tests: a site on loopback, the scripted Ui, and a main window
// with a browser-like user agent, the "*.zip" mask and short time-outs.
#pragma once

#include <gtest/gtest.h>

#include <deque>
#include <memory>
#include <string>
#include <vector>

#include "crawl/crawl_links.h"
#include "state/form1.h"
#include "state/search_run.h"
#include "support/fake_ui.h"
#include "support/http_test_server.h"
#include "support/search_once.h"

namespace vendil::test {

inline std::string Html(const std::string& body) {
  return "<html><body>" + body + "</body></html>";
}
inline std::string A(const std::string& href, const std::string& text = "link") {
  return "<a href=\"" + href + "\">" + text + "</a>\n";
}

class CrawlFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    form.userAgent = "User-Agent: Mozilla/4.0 (compatible; test)";
    form.txtMask.SetText("*.zip");
    form.Inet1.SetTimeouts(5, 10);
  }
  // Rows of earlier crawls stay in the list, as they do in the window.
  bool Crawl(const std::string& path, const std::string& depth) {
    form.txtUrl.SetText(site.Url(path));
    form.txtDepth.SetText(depth);
    lastRun = std::make_unique<SearchRun>(form);
    return CrawlLinks(*lastRun);
  }
  std::vector<std::string> Urls() const {
    std::vector<std::string> urls;
    for (size_t i = 1; i <= form.lvwUrls.Count(); ++i) urls.push_back(form.lvwUrls.Row(i).Url);
    return urls;
  }
  // A copy of the row, kept by the fixture so the pointer stays valid for the test.
  const LinkRow* RowWithUrl(const std::string& url) const {
    const size_t position = form.lvwUrls.FindUrl(url);
    if (position == 0) return nullptr;
    return &rowCopies_.emplace_back(form.lvwUrls.Row(position));
  }
  const LinkRow* RowFor(const std::string& path) const { return RowWithUrl(site.Url(path)); }
  bool Listed(const std::string& path) const { return RowFor(path) != nullptr; }

  HttpTestServer site;
  FakeUi ui;
  Form1 form{ui};
  // The state of the last crawl (made when it starts), as it stood when it ended.
  std::unique_ptr<SearchRun> lastRun;
  mutable std::deque<LinkRow> rowCopies_;
};

}  // namespace vendil::test
