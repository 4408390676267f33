// Request URLs as a browser sends them: what is percent-encoded in the path and in the
// query, in which charset, and what is left alone.
#include "parse/request_url.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace vendil {
namespace {

TEST(RequestUrl, PathInUtf8AndQueryInThePagesCharset) {
  struct Case {
    std::string url, charset, expected;
  };
  const std::vector<Case> cases = {
      {"http://h/写真/a b.html?q=写真", "",
       "http://h/%E5%86%99%E7%9C%9F/a%20b.html?q=%E5%86%99%E7%9C%9F"},
      {"http://h/写真?q=写真", "EUC-JP", "http://h/%E5%86%99%E7%9C%9F?q=%BC%CC%BF%BF"},
      {"http://h/?q=写真", "Shift_JIS", "http://h/?q=%8E%CA%90%5E"},
      {"http://h/?q=写真", "utf-16", "http://h/?q=%E5%86%99%E7%9C%9F"},
      // What the charset cannot hold goes as a character reference.
      {"http://h/?q=😀x", "EUC-JP", "http://h/?q=%26%23128512%3Bx"},
      // Control characters, quotes and angle brackets; bytes that are no UTF-8 go as they are.
      // A TAB is dropped, as from a link.
      {"http://h/a\"<>\x01\x7f?x=\t\"", "", "http://h/a%22%3C%3E%01%7F?x=%22"},
      {"http://h/\xff?\xfe", "EUC-JP", "http://h/%FF?%FE"},
      // The fragment never goes in a request, but it is kept well-formed too.
      {"http://h/p?q=1#節", "EUC-JP", "http://h/p?q=1#%E7%AF%80"},
      {"http://h?q=写", "", "http://h/?q=%E5%86%99"},
      // A web URL goes in the form a browser gives it.
      {"http://写真.jp\\a\\..\\b", "", "http://xn--g7qs82g.jp/b"},
      {"HTTP://H:80/%2e%2E/x", "", "http://h/x"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.url + " in " + c.charset);
    EXPECT_EQ(RequestUrl(c.url, c.charset), c.expected);
  }
}

TEST(RequestUrl, WhatNeedsNothingIsLeftAlone) {
  for (const std::string url :
       {"http://h/a/b.html?x=1&y=%E5%86%99#top", "http://h/", "not a url 写真", "ftp2://写真"}) {
    EXPECT_EQ(RequestUrl(url, "EUC-JP"), url);
  }
}

}  // namespace
}  // namespace vendil
