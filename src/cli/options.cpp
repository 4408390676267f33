// Parsing of vendil-cli's command line.
#include "cli/options.h"

#include <set>

namespace vendil::cli {

namespace {

const std::set<std::string> kCommands = {"search", "create", "check", "check-list", "vbs"};
const std::set<std::string> kExportFormats = {"text", "iri", "irv", "wrg", "grx", "aria2"};
const std::set<std::string> kSendTargets = {"iria",  "irvine",     "flashget", "reget",
                                            "aria2", "clicknload", "kget",     "uget"};

// The search options given: a profile holds its own, so check and check-list refuse them.
std::string GivenSearchOptions(const Options& o) {
  std::string given;
  auto note = [&given](bool set, const char* name) {
    if (set) given += (given.empty() ? "" : " ") + std::string(name);
  };
  note(o.url.has_value(), "--url");
  note(o.mask.has_value(), "--mask");
  note(o.depth.has_value(), "--depth");
  note(o.urlFilter.has_value(), "--url-filter");
  note(o.contentType.has_value(), "--content-type");
  note(o.tags.has_value(), "--tags");
  note(o.customTags.has_value(), "--custom-tags");
  note(o.script.has_value(), "--script");
  note(o.saveFolder.has_value(), "--save-folder");
  note(o.otherServers, "--other-servers");
  note(o.upperDirs, "--upper-dirs");
  note(o.briefcaseDirs, "--briefcase-dirs");
  note(o.alwaysBriefcase, "--always-briefcase");
  return given;
}

}  // namespace

std::string UsageText() {
  return R"(usage:
  vendil-cli search [options] URL...     one search per URL (several: the several-URLs command)
  vendil-cli create PROFILE.nlc --url URL [options]  write a new-links profile from the options
  vendil-cli check PROFILE.nlc [options]  one new-links check; the new rows are printed
  vendil-cli check-list LIST.txt [options] a new-links check of every profile in the list
                                          (the profile's settings: no search options)
  vendil-cli vbs FILE.vbs [ARGS]          run a script on its own
  vendil-cli --help | --version

search options:
  --settings FILE        read the search settings (sections General, Options) from an INI file
  --url URL              start URL (create)
  --mask M               file-name mask (patterns separated by ;)
  --depth N              depth of the link crawl
  --url-filter F         URL filter
  --content-type C       content-type filter
  --tags BITS            tags to follow: 1 a href, 2 frame, 4 iframe, 8 img, 16 area, 32 custom
  --custom-tags T        custom tags, e.g. "object src;img dynsrc alt"
  --script NAME          add-URL script in the scripts folder
  --save-folder DIR      save folder handed to the exports
  --other-servers        also search pages on other servers
  --upper-dirs           also search pages in upper directories
  --briefcase-dirs       use the briefcase folder names for the download folder
  --always-briefcase     treat every URL as a briefcase folder
  --connect-to H:P:H2:P2 send requests for H:P to H2:P2 (repeatable)
  --proxy URL|none       the proxy for this run: [http://][USER[:PASSWORD]@]HOST[:PORT], or
                         none (not even the one http_proxy names)
  --connections N        requests in flight per server (1 to 32; 1 reads one page at a time)
  --delay MS             pause between the starts of two requests to one server
  --format tsv|json      how the list is printed on stdout (default tsv)
  --head                 ask each row's server for its size, type and state before the
                         rows are printed (TSV fields 9-11, JSON size/type/state)
  --sign-in              answer the sign-in dialog with the stored ID and password
  --id ID                the ID for the sign-in dialog (stored with --save-settings)
  --password-stdin       read the password for the sign-in dialog from stdin (likewise)
  --export FORMAT:FILE   write the checked rows (text|iri|irv|wrg|grx|aria2), repeatable
  --send TARGET          hand the checked rows to iria|irvine|flashget|reget, or to a
                         running manager: aria2|clicknload|kget|uget (repeatable)
  --rpc-url URL          aria2's JSON-RPC address (default http://127.0.0.1:6800/jsonrpc)
  --rpc-secret-file FILE aria2's RPC secret, read from FILE (a trailing newline dropped)
  --cnl-url URL          the Click'n'Load listener (default http://127.0.0.1:9666)
  --skipped FILE         write the links the search did not read to FILE (search): one
                         line each, LINK TAB REFERER TAB REASON, in UTF-8
  --save-settings        read the settings file before the run and write it after
  --download             download the checked rows with aria2c into --save-folder after
                         the search (one line per file on stderr; exit 1 unless all arrived)
)";
}

std::variant<Options, std::string> ParseCommandLine(const std::vector<std::string>& args) {
  Options o;
  size_t i = 0;
  auto value = [&](const std::string& name) -> std::optional<std::string> {
    if (i + 1 >= args.size()) return std::nullopt;
    (void)name;
    return args[++i];
  };
  for (; i < args.size(); ++i) {
    const std::string& a = args[i];
    if (o.command == "vbs" && !o.positional.empty()) {
      o.positional.push_back(a);  // script arguments are the script's own
      continue;
    }
    if (a == "--help" || a == "-h") {
      o.help = true;
    } else if (a == "--version") {
      o.version = true;
    } else if (a == "--other-servers") {
      o.otherServers = true;
    } else if (a == "--upper-dirs") {
      o.upperDirs = true;
    } else if (a == "--briefcase-dirs") {
      o.briefcaseDirs = true;
    } else if (a == "--always-briefcase") {
      o.alwaysBriefcase = true;
    } else if (a == "--sign-in") {
      o.signIn = true;
    } else if (a == "--password-stdin") {
      o.passwordStdin = true;
    } else if (a == "--save-settings") {
      o.saveSettings = true;
    } else if (a == "--download") {
      o.download = true;
    } else if (a == "--head") {
      o.head = true;
    } else if (a.rfind("--", 0) == 0 && a.size() > 2) {
      std::string name = a;
      std::optional<std::string> inlineValue;
      if (auto eq = a.find('='); eq != std::string::npos) {
        name = a.substr(0, eq);
        inlineValue = a.substr(eq + 1);
      }
      std::optional<std::string> v = inlineValue ? inlineValue : value(name);
      if (!v) return "option " + name + " needs a value";
      if (name == "--settings") {
        o.settingsFile = *v;
      } else if (name == "--url") {
        o.url = *v;
      } else if (name == "--mask") {
        o.mask = *v;
      } else if (name == "--depth") {
        o.depth = *v;
      } else if (name == "--url-filter") {
        o.urlFilter = *v;
      } else if (name == "--content-type") {
        o.contentType = *v;
      } else if (name == "--tags") {
        o.tags = *v;
      } else if (name == "--custom-tags") {
        o.customTags = *v;
      } else if (name == "--script") {
        o.script = *v;
      } else if (name == "--save-folder") {
        o.saveFolder = *v;
      } else if (name == "--connect-to") {
        int colons = 0;
        for (char c : *v) colons += c == ':';
        if (colons != 3) return "--connect-to wants HOST:PORT:HOST2:PORT2, not " + *v;
        o.connectTo.push_back(*v);
      } else if (name == "--proxy") {
        o.proxy = *v;
      } else if (name == "--connections") {
        o.connections = *v;
      } else if (name == "--delay") {
        o.delay = *v;
      } else if (name == "--format") {
        if (*v != "tsv" && *v != "json") return "--format is tsv or json, not " + *v;
        o.format = *v;
      } else if (name == "--skipped") {
        o.skippedFile = *v;
      } else if (name == "--id") {
        o.id = *v;
      } else if (name == "--export") {
        auto colon = v->find(':');
        if (colon == std::string::npos || colon + 1 == v->size())
          return "--export wants FORMAT:FILE, not " + *v;
        ExportTarget t{v->substr(0, colon), v->substr(colon + 1)};
        if (!kExportFormats.count(t.format)) return "unknown export format " + t.format;
        o.exports.push_back(t);
      } else if (name == "--rpc-url") {
        o.rpcUrl = *v;
      } else if (name == "--rpc-secret-file") {
        o.rpcSecretFile = *v;
      } else if (name == "--cnl-url") {
        o.cnlUrl = *v;
      } else if (name == "--send") {
        if (!kSendTargets.count(*v)) return "unknown send target " + *v;
        o.sends.push_back(*v);
      } else {
        return "unknown option " + name;
      }
    } else if (o.command.empty()) {
      if (!kCommands.count(a)) return "unknown command " + a;
      o.command = a;
    } else {
      o.positional.push_back(a);
    }
  }
  if (o.help || o.version) return o;
  if (o.command.empty()) return std::string("no command given");
  if (o.positional.empty()) {
    if (o.command == "search") return std::string("search needs at least one URL");
    return o.command + " needs a file";
  }
  if ((o.command == "create" || o.command == "check" || o.command == "check-list") &&
      o.positional.size() != 1)
    return o.command + " takes exactly one file";
  if ((o.command == "vbs" || o.command == "create") && (!o.exports.empty() || !o.sends.empty()))
    return o.command + " takes no --export or --send";
  if ((o.command == "vbs" || o.command == "create") && o.download)
    return o.command + " takes no --download";
  if ((o.command == "vbs" || o.command == "create") && o.head)
    return o.command + " takes no --head";
  if (o.skippedFile && o.command != "search") return o.command + " takes no --skipped";
  if (o.command == "check" || o.command == "check-list") {
    const std::string given = GivenSearchOptions(o);
    if (!given.empty())
      return o.command + " searches with the profile's own settings and takes no " + given +
             "; it takes --export, --send, --format, --connect-to, --proxy, --connections, "
             "--delay, --sign-in, --id, --password-stdin, --settings and --save-settings";
  }
  return o;
}

}  // namespace vendil::cli
