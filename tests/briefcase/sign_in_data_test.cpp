// The login form data and the start folder path: encoding, the bound of the field scan,
// and the folder a start URL gives.
#include <gtest/gtest.h>

#include <string>

#include "briefcase/folder_path.h"
#include "briefcase/form_data.h"
#include "briefcase/sign_in.h"

namespace vendil {
namespace {

TEST(FormUrlEncode, PlainCharactersStayOthersArePercentEncoded) {
  EXPECT_EQ(FormUrlEncode("Abc-09._*"), "Abc-09._*");
  EXPECT_EQ(FormUrlEncode("a&b=c+d e#f"), "a%26b%3Dc%2Bd+e%23f");
  EXPECT_EQ(FormUrlEncode("ä/%"), "%C3%A4%2F%25");
  EXPECT_EQ(FormUrlEncode(std::string("\0\xff", 2)), "%00%FF");
}

TEST(BuildLoginFormData, HiddenFieldsUpToTheFormEndThenTheCredentials) {
  const std::string page =
      "<input type=\"hidden\" name=\"a\" value=\"1\">"
      "<input type=\"text\" name=\"t\" value=\"no\">"
      "<INPUT type=\"hidden\" name=\"upper\" value=\"no\">"
      "<input type=hidden name=\"b c\" value=\"x&y\">"
      "</form><input type=\"hidden\" name=\"after\" value=\"no\">";
  const int64_t formEnd = static_cast<int64_t>(page.find("</form") + 1);
  EXPECT_EQ(BuildLoginFormData(page, formEnd, "me&you", "p+ä"),
            "a=1&b+c=x%26y&login=me%26you&passwd=p%2B%C3%A4");
  // A tag that reaches past the form's end is not part of the data.
  EXPECT_EQ(BuildLoginFormData(page, 10, "id", "pw"), "login=id&passwd=pw");
}

TEST(StartFolderPath, LastSegmentWithOrWithoutTrailingSlash) {
  EXPECT_EQ(StartFolderPath("http://briefcase.yahoo.com/bc/alice"), "alice\\");
  EXPECT_EQ(StartFolderPath("http://briefcase.yahoo.com/bc/alice/"), "alice\\");
  EXPECT_EQ(StartFolderPath("http://briefcase.yahoo.com/bc/alice/lst?.dir=/Photos"), "Photos\\");
  EXPECT_EQ(StartFolderPath("briefcase.yahoo.com"), "");
  EXPECT_EQ(StartFolderPath("/"), "");
  EXPECT_EQ(StartFolderPath(""), "");
}

}  // namespace
}  // namespace vendil
