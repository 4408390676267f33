// Click'n'Load: GET /jdcheck.js to find the listener, POST /flash/add with the form fields
// urls, source and package, once per referer so each package keeps its page.
#include "download/handoff_clicknload.h"

#include <map>

#include "export/aria2_rpc.h"
#include "parse/mod_url.h"
#include "platform/json_rpc_post.h"

namespace vendil {

namespace {

constexpr long kLookTimeoutSeconds = 2;

std::string WithoutTrailingSlash(std::string url) {
  while (!url.empty() && url.back() == '/') url.pop_back();
  return url;
}

}  // namespace

bool IsClickNLoadCheckAnswer(std::string_view body) {
  return body.find("jdownloader=true") != std::string_view::npos;
}

bool FindClickNLoad(const std::string& baseUrl) {
  LocalHttpReply reply;
  return GetLocal(WithoutTrailingSlash(baseUrl) + "/jdcheck.js", kLookTimeoutSeconds, reply) &&
         reply.status == 200 && IsClickNLoadCheckAnswer(reply.body);
}

std::string PackageNameOfPage(const std::string& pageUrl) {
  std::string name = SaveNameFromUrl(pageUrl);
  if (const size_t dot = name.rfind('.'); dot != std::string::npos && dot > 0) name.erase(dot);
  if (name.empty()) name = GetHostName(pageUrl);
  return name.empty() ? "Vendil" : name;
}

std::vector<ClickNLoadPackage> ClickNLoadPackages(const std::vector<HandoffRow>& rows,
                                                  const std::string& packageName) {
  std::vector<ClickNLoadPackage> packages;
  std::map<std::string, size_t> byReferer;
  for (const auto& row : rows) {
    auto [it, added] = byReferer.emplace(row.referer, packages.size());
    if (added) {
      ClickNLoadPackage p;
      p.source = row.referer;
      p.package = !packageName.empty()  ? packageName
                  : row.referer.empty() ? GetHostName(row.url)
                                        : PackageNameOfPage(row.referer);
      if (p.package.empty()) p.package = "Vendil";
      packages.push_back(std::move(p));
    }
    packages[it->second].urls.push_back(row.url);
  }
  return packages;
}

std::string ClickNLoadUrlsField(const std::vector<std::string>& urls) {
  std::string field;
  for (size_t i = 0; i < urls.size(); ++i) {
    if (i > 0) field += "\r\n";
    field += EncodeControlCharacters(urls[i]);
  }
  return field;
}

HandoffOutcome SendRowsToClickNLoad(const std::vector<HandoffRow>& rows, const std::string& baseUrl,
                                    const std::string& packageName) {
  const std::string addUrl = WithoutTrailingSlash(baseUrl) + "/flash/add";
  size_t sent = 0;
  std::string firstFault;
  bool anyAnswer = false;
  for (const auto& p : ClickNLoadPackages(rows, packageName)) {
    LocalHttpReply reply;
    const bool ok = PostLocalForm(
        addUrl,
        {{"urls", ClickNLoadUrlsField(p.urls)}, {"source", p.source}, {"package", p.package}},
        reply);
    anyAnswer = anyAnswer || reply.connected;
    if (ok && reply.status >= 200 && reply.status < 300) {
      sent += p.urls.size();
    } else if (firstFault.empty()) {
      firstFault = reply.connected ? "HTTP " + std::to_string(reply.status) : reply.error;
    }
  }
  if (!rows.empty() && !anyAnswer) {
    HandoffOutcome o;
    o.status = HandoffStatus::NotRunning;
    o.total = rows.size();
    o.detail = baseUrl + (firstFault.empty() ? "" : "\r\n" + firstFault);
    return o;
  }
  return OutcomeOfCount(sent, rows.size(), firstFault);
}

}  // namespace vendil
