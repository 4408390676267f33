// The briefcase stand-in: host routing, the folder pages of both sites, the login pages and
// the sign-in submission with its cookies.
#include "support/briefcase_stand_in.h"

#include "platform/codec.h"

#include <iconv.h>

#include <cerrno>
#include <chrono>

namespace vendil::test {

namespace {

constexpr const char* kBrowserCookie = "B=standin-browser";
constexpr const char* kSessionCookie = "Y=standin-session";

struct SiteTexts {
  const char* briefcaseHost;
  const char* loginHost;
  const char* cookieDomain;
  const char* title;
  const char* signIn;
  const char* signOut;
  const char* name;
  const char* lastModified;
  const char* checkAll;
  const char* showAll;
  const char* empty;
  const char* notFound;
  const char* signedInTitle;
  const char* loginTitle;
};

const SiteTexts kInternational{"briefcase.yahoo.com",
                               "login.yahoo.com",
                               ".yahoo.com",
                               "<title>Yahoo! Briefcase",
                               "Sign In",
                               "Sign Out",
                               "Name",
                               "Last Modified",
                               "Check All",
                               "Show All",
                               "This folder is currently empty.",
                               "The briefcase or file you are seeking does not exist.",
                               "<title>Yahoo! Briefcase - Welcome</title>",
                               "<title>Sign in to Yahoo!</title>"};
const SiteTexts kJapanese{"briefcase.yahoo.co.jp",
                          "login.yahoo.co.jp",
                          ".yahoo.co.jp",
                          "<title>Yahoo!ブリーフケース",
                          "ログイン",
                          "ログアウト",
                          "名前",
                          "最終変更日",
                          "すべてを選択",
                          "すべてを表示",
                          "このフォルダには現在、何も入っていません。",
                          "お探しのブリーフケースやファイルはありません。",
                          "<title>Yahoo!ブリーフケース - ようこそ</title>",
                          "<title>ログイン - Yahoo! JAPAN ID</title>"};

const SiteTexts& Texts(BriefcaseStandIn::Site site) {
  return site == BriefcaseStandIn::Site::Japanese ? kJapanese : kInternational;
}

constexpr const char* kRedirectHost = "us.f1.yahoofs.com";

std::string HostOf(const httplib::Request& req) {
  std::string host = req.get_header_value("Host");
  if (const size_t colon = host.find(':'); colon != std::string::npos) host.resize(colon);
  return host;
}

std::string A(const std::string& href, const std::string& text) {
  return "<a href=\"" + href + "\">" + text + "</a>";
}

std::string LastSegment(const std::string& path) { return path.substr(path.rfind('/') + 1); }

std::string ParentOf(const std::string& path) {
  const size_t slash = path.rfind('/');
  return slash == 0 ? "/" : path.substr(0, slash);
}

std::string FolderPath(const std::string& user, const std::string& path) {
  return "/bc/" + user + "/lst?.dir=" + path;
}

// The login page and the site's front page: a search form first, then the login form.
std::string LoginFormPage(BriefcaseStandIn::Site site) {
  const SiteTexts& t = Texts(site);
  return std::string("<html><head>") + t.loginTitle + "</head><body>\n" +
         "<form name=\"search\" action=\"http://search.yahoo.com/search\" method=\"get\">\n"
         "<input type=\"hidden\" name=\"fr\" value=\"bc-top\">\n"
         "<input type=\"text\" name=\"p\"></form>\n"
         "<form method=\"post\" action=\"" +
         BriefcaseStandIn::LoginActionUrl(site) +
         "\" name=\"login_form\">\n"
         "<input type=\"hidden\" name=\".tries\" value=\"1\">\n"
         "<input TYPE=\"HIDDEN\" NAME=\".src\" VALUE=\"bc\">\n"
         "<INPUT type=\"hidden\" name=\".upper\" value=\"1\">\n"
         "Yahoo! ID: <input type=\"text\" name=\"login\">\n"
         "Password: <input type=\"password\" name=\"passwd\">\n"
         "<input type=hidden name=.done value=bc>\n"
         "</form>\n"
         "<input type=\"hidden\" name=\"after\" value=\"1\">\n"
         "</body></html>\n";
}

}  // namespace

std::string Utf8ToEucJpForTest(const std::string& utf8) {
  // Closes the conversion descriptor on every way out.
  struct Converter {
    iconv_t cd = iconv_open("EUC-JP", "UTF-8");
    ~Converter() {
      if (cd != reinterpret_cast<iconv_t>(-1)) iconv_close(cd);
    }
  } converter;
  if (converter.cd == reinterpret_cast<iconv_t>(-1)) return utf8;
  std::string out;
  std::string in = utf8;
  char* inPtr = in.data();
  size_t inLeft = in.size();
  while (inLeft > 0) {
    char buffer[256];
    char* outPtr = buffer;
    size_t outLeft = sizeof buffer;
    const size_t r = iconv(converter.cd, &inPtr, &inLeft, &outPtr, &outLeft);
    out.append(buffer, static_cast<size_t>(outPtr - buffer));
    if (r == static_cast<size_t>(-1) && errno != E2BIG) {
      // Skip one character that has no EUC-JP form.
      out += '?';
      ++inPtr;
      --inLeft;
      while (inLeft > 0 && (static_cast<unsigned char>(*inPtr) & 0xC0) == 0x80) {
        ++inPtr;
        --inLeft;
      }
    }
  }
  return out;
}

BriefcaseStandIn::BriefcaseStandIn() {
  server_.Fallback(
      [this](const httplib::Request& req, httplib::Response& res) { Serve(req, res); });
}

std::vector<std::string> BriefcaseStandIn::ConnectTo() const {
  std::vector<std::string> entries;
  for (const char* host : {kInternational.briefcaseHost, kJapanese.briefcaseHost,
                           kInternational.loginHost, kJapanese.loginHost, kRedirectHost}) {
    entries.push_back(std::string(host) + ":80:" + server_.HostPort());
  }
  return entries;
}

void BriefcaseStandIn::AddFolder(Site site, const std::string& user, const std::string& path,
                                 StandInFolder folder) {
  std::lock_guard<std::mutex> lock(mutex_);
  Briefcase* bc = Find(site, user);
  if (bc == nullptr) {
    briefcases_.push_back({site, user, State::Open, {}});
    bc = &briefcases_.back();
  }
  bc->folders.push_back({path, std::move(folder)});
}

void BriefcaseStandIn::SetState(Site site, const std::string& user, State state) {
  std::lock_guard<std::mutex> lock(mutex_);
  Briefcase* bc = Find(site, user);
  if (bc == nullptr) {
    briefcases_.push_back({site, user, state, {}});
  } else {
    bc->state = state;
  }
}

void BriefcaseStandIn::SetAccount(const std::string& id, const std::string& password) {
  std::lock_guard<std::mutex> lock(mutex_);
  id_ = id;
  password_ = password;
}

void BriefcaseStandIn::SetPageSize(size_t files) {
  std::lock_guard<std::mutex> lock(mutex_);
  pageSize_ = files;
}

std::string BriefcaseStandIn::TopUrl(Site site, const std::string& user) {
  return std::string("http://") + Texts(site).briefcaseHost + "/bc/" + user + "/";
}

std::string BriefcaseStandIn::FolderUrl(Site site, const std::string& user,
                                        const std::string& path) {
  return std::string("http://") + Texts(site).briefcaseHost + FolderPath(user, path);
}

std::string BriefcaseStandIn::ShowAllUrl(Site site, const std::string& user,
                                         const std::string& path) {
  return FolderUrl(site, user, path) + "&.view=a";
}

std::string BriefcaseStandIn::FileUrl(Site, const std::string& user, const std::string& path,
                                      const std::string& name) {
  return std::string("http://") + kRedirectHost + "/bc/" + user + "/bc" +
         (path == "/" ? "/" : path + "/") + name + "?bcStandIn";
}

std::string BriefcaseStandIn::LoginPageUrl(Site site) {
  return std::string("http://") + Texts(site).loginHost + "/config/login?.src=bc";
}

std::string BriefcaseStandIn::LoginActionUrl(Site site) {
  return std::string("http://") + Texts(site).loginHost + "/config/login_verify";
}

std::string BriefcaseStandIn::UrlOf(const RecordedRequest& request) {
  return "http://" + request.Header("Host") + request.target;
}

std::vector<std::string> BriefcaseStandIn::RequestedUrls() const {
  std::vector<std::string> urls;
  for (const RecordedRequest& r : server_.Requests()) urls.push_back(UrlOf(r));
  return urls;
}

std::vector<BriefcaseStandIn::Submission> BriefcaseStandIn::Submissions() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return submissions_;
}

BriefcaseStandIn::Briefcase* BriefcaseStandIn::Find(Site site, const std::string& user) {
  for (Briefcase& bc : briefcases_) {
    if (bc.site == site && bc.user == user) return &bc;
  }
  return nullptr;
}

bool BriefcaseStandIn::SignedIn(const httplib::Request& req) {
  return req.get_header_value("Cookie").find(kSessionCookie) != std::string::npos;
}

void BriefcaseStandIn::Send(Site site, httplib::Response& res, const std::string& utf8Html) {
  // The Japanese site declares no charset: its pages are EUC-JP by convention.
  res.set_content(site == Site::Japanese ? Utf8ToEucJpForTest(utf8Html) : utf8Html, "text/html");
}

void BriefcaseStandIn::Serve(const httplib::Request& req, httplib::Response& res) {
  const std::string host = HostOf(req);
  for (Site site : {Site::International, Site::Japanese}) {
    const SiteTexts& t = Texts(site);
    if (host == t.loginHost) {
      ServeLogin(site, req, res);
      return;
    }
    if (host == t.briefcaseHost) {
      if (req.path == "/") {
        res.set_header("Set-Cookie",
                       std::string(kBrowserCookie) + "; Domain=" + t.cookieDomain + "; Path=/");
        Send(site, res, LoginFormPage(site));
      } else if (req.path.rfind("/bc/", 0) == 0) {
        ServeFolder(site, req, res);
      } else {
        Send(site, res, "<html><head><title>Elsewhere</title></head><body>nothing</body></html>");
      }
      return;
    }
  }
  res.status = 404;
  res.set_content("<html>unknown host</html>", "text/html");
}

void BriefcaseStandIn::ServeLogin(Site site, const httplib::Request& req, httplib::Response& res) {
  const SiteTexts& t = Texts(site);
  if (req.path == "/config/login") {
    res.set_header("Set-Cookie",
                   std::string(kBrowserCookie) + "; Domain=" + t.cookieDomain + "; Path=/");
    Send(site, res, LoginFormPage(site));
    return;
  }
  if (req.path != "/config/login_verify") {
    res.status = 404;
    Send(site, res, "<html>not found</html>");
    return;
  }
  Submission s;
  s.id = req.get_param_value("login");
  s.password = req.get_param_value("passwd");
  s.rawData = req.method == "POST" ? req.body : req.target.substr(req.target.find('?') + 1);
  s.hadBrowserCookie = req.get_header_value("Cookie").find(kBrowserCookie) != std::string::npos;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    s.accepted = s.hadBrowserCookie && s.id == id_ && s.password == password_ &&
                 req.get_param_value(".src") == "bc" && req.get_param_value(".tries") == "1";
    submissions_.push_back(s);
  }
  if (s.accepted) {
    res.set_header("Set-Cookie",
                   std::string(kSessionCookie) + "; Domain=" + t.cookieDomain + "; Path=/");
    Send(site, res, std::string("<html><head>") + t.signedInTitle + "</head><body></body></html>");
  } else {
    Send(site, res,
         std::string("<html><head>") + t.loginTitle +
             "</head><body>Invalid ID or password.</body></html>");
  }
}

void BriefcaseStandIn::ServeFolder(Site site, const httplib::Request& req, httplib::Response& res) {
  const SiteTexts& t = Texts(site);
  // "/bc/USER", "/bc/USER/" or "/bc/USER/lst?.dir=PATH".
  std::string rest = req.path.substr(4);
  std::string user = rest.substr(0, rest.find('/'));
  std::string path = "/";
  if (rest.size() > user.size() + 1) {
    if (rest.substr(user.size()) != "/lst" || !req.has_param(".dir")) {
      Send(site, res,
           std::string("<html><head>") + t.title + "</title></head><body>" + t.notFound +
               "</body></html>");
      return;
    }
    path = req.get_param_value(".dir");
    // The Japanese site's queries are EUC-JP, as its pages are.
    if (site == Site::Japanese) path = EucJpToUtf8(path);
  }
  std::string page;
  bool stalls = false;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    const Briefcase* bc = Find(site, user);
    const Folder* folder = nullptr;
    if (bc != nullptr) {
      for (const Folder& f : bc->folders) {
        if (f.path == path) folder = &f;
      }
    }
    if (bc != nullptr && bc->state == State::Disabled) {
      page = std::string("<html><head>") + t.title +
             "</title></head><body>Access to this Briefcase has been disabled.</body></html>";
    } else if (folder == nullptr) {
      page = std::string("<html><head>") + t.title + "</title></head><body>" + t.notFound +
             "</body></html>";
    } else if (folder->content.failing) {
      res.set_content("\x01\x02", "application/octet-stream");
      return;
    } else if (folder->content.stalls) {
      stalls = true;
    } else {
      page = FolderPage(site, *bc, *folder, SignedIn(req), req.get_param_value(".view") == "a");
    }
  }
  if (stalls) {
    server_.WaitForStop(std::chrono::minutes(5));
    return;
  }
  Send(site, res, page);
}

std::string BriefcaseStandIn::FolderPage(Site site, const Briefcase& bc, const Folder& folder,
                                         bool signedIn, bool showAll) const {
  const SiteTexts& t = Texts(site);
  const std::string& user = bc.user;
  std::string html = std::string("<html><head>") + t.title + " - " + user + "</title></head>\n" +
                     "<body>\n" + A("http://www.yahoo.com/", "Yahoo!") + " | ";
  html += signedIn ? A(std::string("http://") + t.loginHost + "/config/logout", t.signOut)
                   : A(LoginPageUrl(site), t.signIn);
  // Navigation before the listing looks like a folder link and a file link; neither counts.
  html += " | " + A(FolderPath(user, "/"), "My Briefcase") + " | " +
          A(FileUrl(site, user, "/", "guide.pdf"), "Guide") + "\n";
  const bool locked = !signedIn && (folder.content.signInOnly || folder.content.passwordPage);
  if (locked && folder.content.passwordPage) {
    return html + "<h2>Verify Password</h2><p>Please verify your password to continue.</p>" +
           "</body></html>\n";
  }
  std::vector<std::string> subfolders;
  for (const Folder& f : bc.folders) {
    if (f.path != "/" && f.path != folder.path && ParentOf(f.path) == folder.path) {
      subfolders.push_back(f.path);
    }
  }
  const StandInFolder& c = folder.content;
  if (locked || (subfolders.empty() && c.files.empty() && c.filesAfterRedirect.empty())) {
    return html + "<p>" + t.empty + "</p></body></html>\n";
  }
  html +=
      "<h1>Folder: <b>" + (folder.path == "/" ? user : LastSegment(folder.path)) + "</b></h1>\n";
  size_t shown = c.files.size();
  if (pageSize_ > 0 && shown > pageSize_ && !showAll) {
    html += A(FolderPath(user, folder.path) + "&.view=a", t.showAll) + "\n";
    shown = pageSize_;
  }
  html += "<table>\n<tr><th>" + A(FolderPath(user, folder.path) + "&.sort=n", t.name) +
          "</th><th>" + A(FolderPath(user, folder.path) + "&.sort=d", t.lastModified) +
          "</th></tr>\n";
  for (const std::string& sub : subfolders) {
    const std::string href = FolderPath(user, sub);
    html += "<tr><td>" + A(href, "<img src=\"/i/folder.gif\" alt=\"\">") + " " +
            A(href, "<b>" + LastSegment(sub) + "</b>") + "</td><td>2003/01/02</td></tr>\n";
  }
  for (size_t i = 0; i < shown; ++i) {
    const std::string href = FileUrl(site, user, folder.path, c.files[i]);
    html += "<tr><td>" + A(href, "<img src=\"/i/file.gif\" alt=\"\">") + " " + A(href, c.files[i]) +
            "</td><td>2003/01/02</td></tr>\n";
  }
  if (!c.filesAfterRedirect.empty()) {
    html += "<tr><td>" + A(std::string("http://") + kRedirectHost + "/M=sponsor/bc", "Sponsor") +
            "</td></tr>\n";
    for (const std::string& name : c.filesAfterRedirect) {
      html += "<tr><td>" + A(FileUrl(site, user, folder.path, name), name) + "</td></tr>\n";
    }
  }
  html += "</table>\n" + A(FolderPath(user, folder.path) + "&.check=all", t.checkAll) + " " +
          A(std::string("http://") + kRedirectHost + "/M=upgrade/bc", "Upgrade") + "\n" +
          A(FileUrl(site, user, "/", "footer.zip"), "footer.zip") + "\n</body></html>\n";
  return html;
}

}  // namespace vendil::test
