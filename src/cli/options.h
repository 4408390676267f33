// The command line of vendil-cli: subcommand, search options, export and send targets.
#pragma once

#include <optional>
#include <string>
#include <utility>
#include <variant>
#include <vector>

namespace vendil::cli {

struct ExportTarget {
  std::string format;  // text|iri|irv|wrg|grx|aria2
  std::string file;
};

struct Options {
  std::string command;                  // search, create, check, check-list, vbs
  std::vector<std::string> positional;  // URLs, the profile or list, or the script and its args

  std::optional<std::string> settingsFile;
  std::optional<std::string> url;  // the start URL a profile is created with
  std::optional<std::string> mask, depth, urlFilter, contentType, tags, customTags, script,
      saveFolder;
  bool otherServers = false, upperDirs = false, briefcaseDirs = false, alwaysBriefcase = false;
  std::vector<std::string> connectTo;
  // Internet options over the settings: "none" or a proxy URL, requests per server, the
  // delay between requests to one server (ms).
  std::optional<std::string> proxy, connections, delay;
  std::string format = "tsv";

  std::vector<ExportTarget> exports;
  std::vector<std::string> sends;  // iria|irvine|flashget|reget|aria2|clicknload|kget|uget

  // Where the running managers listen, over the settings file.
  std::optional<std::string> rpcUrl, rpcSecretFile, cnlUrl;

  // --skipped FILE (search): the links the search did not read, and why, written as TSV.
  std::optional<std::string> skippedFile;

  // --download: the checked rows downloaded with aria2c into the save folder after the run.
  bool download = false;
  // --head: every row's link checked (size, type, state) before the rows are printed.
  bool head = false;

  bool signIn = false;
  std::optional<std::string> id;
  bool passwordStdin = false;
  bool saveSettings = false;

  bool help = false;
  bool version = false;
};

// The options, or the text of what is wrong with the command line.
std::variant<Options, std::string> ParseCommandLine(const std::vector<std::string>& args);

std::string UsageText();

}  // namespace vendil::cli
