// File names from URLs, decoded for people when the result is sound text.
#include "parse/decoded_name.h"

#include <gtest/gtest.h>

namespace vendil {
namespace {

TEST(DecodedFileName, EscapesBecomeTheTextTheyStandFor) {
  EXPECT_EQ(DecodedFileName("with%20space.zip"), "with space.zip");
  EXPECT_EQ(DecodedFileName("%E6%97%A5%E6%9C%AC.zip"), "日本.zip");
  EXPECT_EQ(DecodedFileName("100%25.zip"), "100%.zip");
  EXPECT_EQ(DecodedFileName("a%2bb%2Bc.zip"), "a+b+c.zip");        // either letter case
  EXPECT_EQ(DecodedFileName("plain+name.zip"), "plain+name.zip");  // "+" is no blank here
  EXPECT_EQ(DecodedFileName(""), "");
}

TEST(DecodedFileName, AnythingUnsoundKeepsTheNameAsItWas) {
  // Malformed escapes.
  for (const char* name : {"bad%2.zip", "bad%zz.zip", "end%", "end%4"})
    EXPECT_EQ(DecodedFileName(name), name) << name;
  // Bytes that are no UTF-8: a Shift_JIS name, an overlong "/", a surrogate.
  for (const char* name : {"%93%FA%96%7B.zip", "%C0%AF.zip", "%ED%A0%80.zip", "%F5%80%80%80"})
    EXPECT_EQ(DecodedFileName(name), name) << name;
  // A name that would become a path, a dot folder or carry control characters.
  for (const char* name : {"..%2F..%2Fetc%2Fpasswd", "a%5Cb.zip", "%2E%2E", "%2E", "a%0D%0Ab.zip",
                           "a%00b.zip", "a%09b.zip", "a%7Fb.zip"})
    EXPECT_EQ(DecodedFileName(name), name) << name;
}

}  // namespace
}  // namespace vendil
