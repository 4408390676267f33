// Where the briefcase service lives: the two site roots, the redirect host whose "/M="
// links follow a folder listing, and the login host whose form signs a visitor in.
#pragma once

#include <string_view>

namespace vendil {

inline constexpr std::string_view kJapaneseSiteRoot = "http://briefcase.yahoo.co.jp/";
inline constexpr std::string_view kInternationalSiteRoot = "http://briefcase.yahoo.com/";

// File links of the service go out through this host; the first one ends a listing.
inline constexpr std::string_view kRedirectHost = "us.f1.yahoofs.com";
inline constexpr std::string_view kRedirectPrefix = "http://us.f1.yahoofs.com/M=";

// The login form's action begins with the scheme and the first five characters of the
// login host, 12 characters in all; both sites sign in through a host beginning so.
inline constexpr std::string_view kLoginHost = "login.yahoo.com";
inline constexpr std::string_view kJapaneseLoginHost = "login.yahoo.co.jp";
inline constexpr std::string_view kSignInPrefix = "http://login";
static_assert(kSignInPrefix.size() == 12);

}  // namespace vendil
