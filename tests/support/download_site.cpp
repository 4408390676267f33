// The download tests' site: files of known bytes, a 404 and a slow file held by the test.
#include "support/download_site.h"

#include <random>

namespace vendil::test {

namespace {

std::string Bytes(size_t size, unsigned seed) {
  std::mt19937 random(seed);
  std::string out(size, '\0');
  for (char& c : out) c = static_cast<char>(random() & 0xff);
  return out;
}

// A link to a file by its saved name: blanks and non-ASCII percent-encoded.
std::string Href(const std::string& name) {
  static const char hex[] = "0123456789ABCDEF";
  std::string out;
  for (unsigned char c : name) {
    if (c <= 0x20 || c >= 0x7f || c == '%' || c == '"') {
      out += '%';
      out += hex[c >> 4];
      out += hex[c & 15];
    } else {
      out += static_cast<char>(c);
    }
  }
  return out;
}

}  // namespace

DownloadSite::DownloadSite() {
  for (int i = 1; i <= 16; ++i) {
    const std::string name = "f" + std::string(i < 10 ? "0" : "") + std::to_string(i) + ".bin";
    files_[name] = Bytes(static_cast<size_t>(1000 + i * 17000), static_cast<unsigned>(i));
  }
  files_["sub/deep.bin"] = Bytes(123457, 40);
  files_["my file.bin"] = Bytes(5000, 41);
  files_["日本語.bin"] = Bytes(7000, 42);
  files_[kSlowName] = Bytes(3 * 1024 * 1024, 43);
  heldAt_ = 2 * 1024 * 1024 + 4096;
  std::string index = "<html><body>\n";
  for (const auto& [name, bytes] : files_)
    index += "<a href=\"" + Href(name) + "\">" + name + "</a>\n";
  index += "<a href=\"" + std::string(kMissingName) + "\">missing</a>\n</body></html>\n";
  server_.Page("/files/index.html", index);
  server_.Handle("/files/*",
                 [this](const httplib::Request& req, httplib::Response& res) { Serve(req, res); });
}

DownloadSite::~DownloadSite() { ReleaseSlow(); }

bool DownloadSite::WaitUntilSlowHeld(std::chrono::milliseconds timeout) {
  std::unique_lock lock(mutex_);
  return cv_.wait_for(lock, timeout, [this] { return held_; });
}

void DownloadSite::ReleaseSlow() {
  std::lock_guard lock(mutex_);
  released_ = true;
  cv_.notify_all();
}

void DownloadSite::Serve(const httplib::Request& req, httplib::Response& res) {
  const std::string name = req.path.substr(std::string("/files/").size());
  const auto it = files_.find(name);
  if (it == files_.end()) {
    res.status = 404;
    res.set_content("not found", "text/plain");
    return;
  }
  const std::string* bytes = &it->second;
  const bool slow = name == kSlowName;
  // httplib serves a Range from the provider's offset and answers 206; the slow file
  // stops at heldAt_ until the test releases it.
  res.set_content_provider(
      bytes->size(), "application/octet-stream",
      [this, bytes, slow](size_t offset, size_t length, httplib::DataSink& sink) {
        size_t n = std::min<size_t>(length, 64 * 1024);
        if (slow) {
          std::unique_lock lock(mutex_);
          if (!released_) {
            if (offset < heldAt_) {
              n = std::min(n, heldAt_ - offset);
            } else {
              held_ = true;
              cv_.notify_all();
              cv_.wait(lock, [this] { return released_; });
            }
          }
        }
        return sink.write(bytes->data() + offset, n);
      });
}

}  // namespace vendil::test
