// Signing in to the briefcase service: find the sign-in link of a page (or use the site
// root), ask for the ID and password, and submit the service's login run.
#pragma once

#include <string>

#include "state/search_run.h"

namespace vendil {

// True when signed in; on failure the status reads "サインインに失敗しました。".
bool SignInFromPage(SearchRun& run, const std::string& strUrl);
// Asks, fetches the login page, submits its login form; repeats after a wrong answer.
bool SubmitSignIn(SearchRun& run, const std::string& strUrl);

// The login form data: the hidden fields of the page up to the login form's end, then
// login and passwd, each name and value form-encoded.
std::string BuildLoginFormData(const std::string& strHtml, int64_t lngFormEnd,
                               const std::string& strId, const std::string& strPassword);

}  // namespace vendil
