// A loopback site of files to download, for the download tests: an index page linking
// about twenty files (a few MB in all; one in a subfolder, names with a blank and in
// Japanese), one link that answers 404, and one slow file whose second part the server
// holds until the test releases it. Ranges are served, so a resumed download shows.
#pragma once

#include <condition_variable>
#include <map>
#include <mutex>
#include <string>

#include "support/http_test_server.h"

namespace vendil::test {

class DownloadSite {
 public:
  DownloadSite();
  ~DownloadSite();  // releases the slow file first, so the server can stop
  DownloadSite(const DownloadSite&) = delete;
  DownloadSite& operator=(const DownloadSite&) = delete;

  HttpTestServer& server() { return server_; }
  const HttpTestServer& server() const { return server_; }
  std::string IndexUrl() const { return server_.Url("/files/index.html"); }
  // Files the site serves: the name as saved (decoded) -> its bytes.
  const std::map<std::string, std::string>& Files() const { return files_; }
  // The path (decoded, below /files/) of the slow file and its bytes.
  static constexpr const char* kSlowName = "slow.bin";
  static constexpr const char* kMissingName = "missing.bin";
  const std::string& SlowBytes() const { return files_.at(kSlowName); }

  // Blocks until the slow file's first part has been written to a client (true), or until
  // the time is up (false).
  bool WaitUntilSlowHeld(std::chrono::milliseconds timeout);
  // Lets the slow file's answers run to their end, now and from now on.
  void ReleaseSlow();

 private:
  void Serve(const httplib::Request& req, httplib::Response& res);

  std::map<std::string, std::string> files_;
  size_t heldAt_ = 0;
  std::mutex mutex_;
  std::condition_variable cv_;
  bool released_ = false;
  bool held_ = false;
  HttpTestServer server_;  // last: stops (and joins its handlers) before the rest goes
};

}  // namespace vendil::test
