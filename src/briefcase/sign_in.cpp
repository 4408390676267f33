// Sign-in: the sign-in link of a page, the login form of the login page, its hidden fields,
// and the submission, repeated after a wrong answer until the dialog is cancelled.
#include "briefcase/sign_in.h"

#include "briefcase/endpoints.h"
#include "briefcase/form_data.h"
#include "briefcase/input_tag.h"
#include "briefcase/sign_in_dialog.h"
#include "net/fetch_page.h"
#include "parse/c_get_html_tag.h"
#include "parse/mod_string.h"
#include "platform/casefold.h"
#include "state/ui.h"

namespace vendil {

namespace {

constexpr const char* kSigningIn = "サインインしています...";
constexpr const char* kSignInFailed = "サインインに失敗しました。";
constexpr const char* kSignedIn = "サインインに成功しました。";

struct LoginForm {
  std::string action;
  int64_t end = 0;  // position of the form's "</form"
};

// The first form whose action begins with the sign-in prefix.
bool FindLoginForm(const std::string& html, LoginForm& found) {
  size_t from = 1;
  for (;;) {
    const size_t start = FindNoCase(html, "<form ", from);
    if (start == 0) return false;
    const size_t end = FindNoCase(html, "</form", start);
    if (end == 0) return false;
    int64_t position = static_cast<int64_t>(start);
    std::string action = GetBetween(html, "action=\"", "\"", false, 0, position);
    if (StartsWithNoCase(action, kSignInPrefix)) {
      found.action = std::move(action);
      found.end = static_cast<int64_t>(end);
      return true;
    }
    from = end;
  }
}

}  // namespace

std::string BuildLoginFormData(const std::string& strHtml, int64_t lngFormEnd,
                               const std::string& strId, const std::string& strPassword) {
  std::string data;
  int64_t position = 1;
  for (;;) {
    const std::string tag = GetBetween(strHtml, "<input ", ">", false, 3, position);
    if (tag.empty() || position > lngFormEnd) break;
    std::string type, name, value;
    (void)ParseInputTag(tag, type, name, value);
    if (EqualsNoCase(type, "hidden")) AppendFormField(data, name, value);
  }
  AppendFormField(data, "login", strId);
  AppendFormField(data, "passwd", strPassword);
  return data;
}

bool SubmitSignIn(SearchRun& run, const std::string& strUrl) {
  std::string id, password;
  // A non-interactive answerer learns from the attempt number when to stop answering OK.
  for (int attempt = 0;; ++attempt) {
    run.SetStatusText(kSigningIn);
    if (!frmSignIn::ShowDialog(run.form, id, password, attempt)) return false;
    if (!FetchPage(run, strUrl, run.form.userAgent + "\r\n", "")) return false;
    const std::string page = run.m_strHtml;
    LoginForm login;
    if (!FindLoginForm(page, login)) return false;
    const std::string data = BuildLoginFormData(page, login.end, id, password);
    const std::string headers = "Referer: " + login.action + "\r\n" +
                                "Content-Type: application/x-www-form-urlencoded\r\n" +
                                run.form.userAgent + "\r\n";
    // The credentials go in the request body, never in a URL: URLs are shown in the status
    // text and kept in server logs.
    if (!FetchPage(run, login.action, headers, data)) return false;
    if (ContainsNoCase(run.m_strHtml, run.form.m_markers.SignedInTitle)) {
      run.SetStatusText(kSignedIn);
      return true;
    }
    run.SetStatusText(kSignInFailed);
    run.ui().MessageBox(kSignInFailed, kProductTitle, vb::OKOnly);
  }
}

bool SignInFromPage(SearchRun& run, const std::string& strUrl) {
  const std::string page = run.m_strHtml;
  std::string target = run.form.m_markers.SiteRoot;
  cGetHtmlTag scanner;
  std::string url, text;
  if (!page.empty()) {
    for (bool more = scanner.GetLinkFromHtml(url, &text, page, strUrl); more;
         more = scanner.GetLinkFromHtml(url, &text)) {
      if (EqualsNoCase(text, run.form.m_markers.SignInText)) {
        target = url;
        break;
      }
    }
  }
  const bool signedIn = SubmitSignIn(run, target);
  if (!signedIn) run.SetStatusText(kSignInFailed);
  return signedIn;
}

}  // namespace vendil
