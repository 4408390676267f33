// The check site's files and answers.
#include "support/check_site.h"

namespace vendil::test {
namespace {

const int64_t kBigSize = 4'000'000'000;  // beyond 32 bits

void Chunked(httplib::Response& res, const std::string& body, const std::string& type) {
  res.set_chunked_content_provider(type, [body](size_t offset, httplib::DataSink& sink) {
    if (offset < body.size()) sink.write(body.data() + offset, body.size() - offset);
    sink.done();
    return true;
  });
}

bool WantsFirstByte(const httplib::Request& req) {
  return req.method == "GET" && req.get_header_value("Range") == "bytes=0-0";
}

}  // namespace

CheckSite::CheckSite() {
  std::string index = "<html><body>\n";
  for (const CheckSiteFile& f : Files()) {
    const std::string name = f.path.substr(f.path.rfind('/') + 1);
    index += "<a href=\"" + name + "\">" + name + "</a>\n";
  }
  server_.Page("/files/index.html", index + "</body></html>");
  server_.Page("/files/a.zip", std::string(12345, 'a'), "application/zip");
  server_.Page("/files/empty.txt", "", "text/plain");
  server_.Handle("/files/chunked.bin", [](const httplib::Request& req, httplib::Response& res) {
    if (WantsFirstByte(req)) {
      res.status = 206;
      res.set_header("Content-Range", "bytes 0-0/777");
      res.set_content("c", "application/octet-stream");
      return;
    }
    Chunked(res, std::string(777, 'c'), "application/octet-stream");
  });
  // Chunked and deaf to ranges: nobody can tell its size without reading it.
  server_.Handle("/files/stream.ogg", [](const httplib::Request& req, httplib::Response& res) {
    // The server library would answer the range itself: a server that knows no ranges
    // never saw one.
    const_cast<httplib::Request&>(req).ranges.clear();
    Chunked(res, std::string(300, 's'), "audio/ogg");
  });
  server_.Handle("/files/nohead.iso", [](const httplib::Request& req, httplib::Response& res) {
    if (req.method == "HEAD") {
      res.status = 405;
      res.set_header("Allow", "GET");
      return;
    }
    if (WantsFirstByte(req)) {
      res.status = 206;
      res.set_header("Content-Range", "bytes 0-0/" + std::to_string(kBigSize));
      res.set_content("i", "application/x-iso9660-image");
      return;
    }
    res.status = 500;  // a whole body was asked for
  });
  server_.Handle("/files/moved.zip", [](const httplib::Request&, httplib::Response& res) {
    res.status = 302;
    res.set_header("Location", "a.zip");
  });
  server_.Handle("/files/away.zip", [this](const httplib::Request&, httplib::Response& res) {
    res.status = 302;
    res.set_header("Location", other_.Url("/elsewhere.zip"));
  });
  other_.Page("/elsewhere.zip", "far", "application/zip");
}

std::vector<CheckSiteFile> CheckSite::Files() const {
  return {
      {"/files/a.zip", 12345, "application/zip", "200"},
      {"/files/empty.txt", 0, "text/plain", "200"},
      {"/files/chunked.bin", 777, "application/octet-stream", "206"},
      {"/files/stream.ogg", -1, "audio/ogg", "200"},
      {"/files/nohead.iso", kBigSize, "application/x-iso9660-image", "206"},
      {"/files/moved.zip", 12345, "application/zip", server_.Url("/files/a.zip")},
      {"/files/away.zip", -1, "", "redirect-refused"},
      {"/files/missing.zip", -1, "text/html", "404"},
  };
}

int CheckSite::WholeBodyRequests() const {
  int count = 0;
  for (const RecordedRequest& r : server_.Requests()) {
    if (r.path != "/files/index.html" && r.method == "GET" && !r.HasHeader("Range")) ++count;
  }
  return count;
}

}  // namespace vendil::test
