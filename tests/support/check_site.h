// A loopback site whose files answer a link check in every way that matters: a length, no
// length (chunked, with and without ranges), HEAD refused, an empty file, a redirect, a
// redirect to another server, a 404. Its index page links each of them.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "support/http_test_server.h"

namespace vendil::test {

struct CheckSiteFile {
  std::string path;   // "/files/a.zip"
  int64_t size;       // what a check must learn; -1: unknown
  std::string type;   // the Content-Type a check must report
  std::string state;  // the command line's state word
};

class CheckSite {
 public:
  CheckSite();
  HttpTestServer& server() { return server_; }
  std::string IndexUrl() const { return server_.Url("/files/index.html"); }
  // Every linked file with what a check must learn of it, in page order.
  std::vector<CheckSiteFile> Files() const;
  // Requests that asked for a body: a GET without a Range header (none may come).
  int WholeBodyRequests() const;
  // Requests that reached the server a refused redirect names (none may).
  int OtherServerRequests() const { return static_cast<int>(other_.Requests().size()); }

 private:
  HttpTestServer other_;  // the server a refused redirect names
  HttpTestServer server_;
};

}  // namespace vendil::test
