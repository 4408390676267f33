// The hand-off to a Click'n'Load listener (a manager listening on 127.0.0.1:9666): found by
// the answer of /jdcheck.js, fed one form POST to /flash/add per page the rows came from.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "download/handoff_rows.h"
#include "settings/settings_keys.h"

namespace vendil {

inline constexpr const char* kDefaultClickNLoadUrl = setting::ClickNLoadUrl.fallback;

// Whether the answer of /jdcheck.js is a listener's ("jdownloader=true;").
bool IsClickNLoadCheckAnswer(std::string_view body);

// Whether a listener answers at `baseUrl`.
bool FindClickNLoad(const std::string& baseUrl);

// One package: the rows of one referer, in list order.
struct ClickNLoadPackage {
  std::string source;   // the page the rows came from (their referer)
  std::string package;  // the package name the manager shows
  std::vector<std::string> urls;
};

// The rows grouped by referer, in the order each referer first appears. `packageName`
// names every package when given; else each is named after its page (rows without one:
// after the host of their URL).
std::vector<ClickNLoadPackage> ClickNLoadPackages(const std::vector<HandoffRow>& rows,
                                                  const std::string& packageName);

// The "urls" field: one URL a line, CR LF between them. A line break inside a URL is
// percent-encoded, so one URL never becomes two.
std::string ClickNLoadUrlsField(const std::vector<std::string>& urls);

// A name for the package of a page: its file name without extension, else its host.
std::string PackageNameOfPage(const std::string& pageUrl);

HandoffOutcome SendRowsToClickNLoad(const std::vector<HandoffRow>& rows, const std::string& baseUrl,
                                    const std::string& packageName);

}  // namespace vendil
