// The HTML tag scanner: walks the page text from one "<" to the next ">", hands out tags
// as tokens, and finds the links of the chosen tags, resolved against the page URL or the
// page's BASE HREF. The two link scans read the caller's page in place: it must stay
// unchanged until the scan has run out of links or starts on another page.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "parse/mod_url.h"

namespace vendil {

class cGetHtmlTag {
 public:
  std::string_view Html() const { return html_; }
  int64_t SearchPosition() const { return position_; }
  void CustomTags(const std::string& strNew);

  std::string GetTag(const std::string& strNewData = "");
  bool IsBaseHrefUrl(const std::string& strTag) const;
  std::string GetBaseHrefUrl(const std::string& strTag) const;
  bool IsAHrefUrl(const std::string& strTag) const;
  bool IsThisTag(const std::string& strString, const std::string& strTag1,
                 const std::string& strTag2) const;
  std::string GetAHrefUrl(const std::string& strTag) const;
  std::string GetAHrefLinkString();

  // `strText` may be null when the caller does not want the link text.
  bool GetLinkFromHtml(std::string& strUrl, std::string* strText = nullptr,
                       const std::string& strHtml = "", const std::string& strBaseUrl = "");
  bool GetTagFromHtml(int32_t enumEnableTags, std::string& strUrl, std::string* strText = nullptr,
                      const std::string& strHtml = "", const std::string& strBaseUrl = "");

 private:
  std::string GetAttributeValue(const std::string& tag, const std::string& name) const;

  // One token as GetTag hands it out: 1-based first and last position, and where the
  // next search starts. `complete` is false when the "<" at `start` is never closed.
  struct TokenSpan {
    int64_t start = 0;
    int64_t last = 0;
    int64_t next = 0;
    bool complete = false;
  };
  // The token whose search starts at `from`; false when the tokens have run out.
  bool FindToken(int64_t from, TokenSpan& span) const;
  // FindToken for a comment or the start tag of a raw-text element at `open`; kept out of
  // line, so the search for an ordinary tag stays short.
  [[gnu::noinline]] void FindLongToken(size_t open, TokenSpan& span) const;
  // GetTag without the copy: a view into `html_`, empty when the tokens have run out.
  std::string_view NextToken();
  // A tag kind the tag scan looks for: the tag, the attribute that holds its URL and the
  // one that holds its text (none for an anchor, whose text is the link text).
  struct Entry {
    std::string upperName;  // in ASCII upper case
    std::string urlAttribute;
    std::string textAttribute;
    bool anchor = false;
  };
  // The entry one tag of the tag scan is a link of, its URL value left in `value_`; null
  // when the tag holds no link.
  const Entry* MatchEntry(std::string_view token);
  // Where the text of a link that starts at `from` ends: the start of the first token that
  // closes an anchor, begins one, or is an A-named tag with an HREF (a link of the anchor
  // scan), as a browser ends an open anchor where the next begins. 0 when the tokens run
  // out first. Link texts thus never overlap, and all of a page's texts together are no
  // longer than the page.
  int64_t FindLinkTextEnd(int64_t from) const;
  // GetAHrefLinkString without the copy.
  std::string_view LinkText() const;
  void BuildEntries(int32_t enumEnableTags);
  // GetTag keeps its own copy of the text; the link scans only look at the caller's.
  void ResetText(const std::string& text, bool copy);

  std::string ownHtml_;
  std::string_view html_;
  int64_t position_ = 0;
  std::string customTags_;
  LinkResolver linkBase_;
  LinkResolver tagBase_;
  std::string_view value_;  // into the page, or into `decoded_`
  std::string decoded_;     // a value with character references, decoded
  std::string url_;         // the storage of the next link's URL: swapped with the caller's
  // The first tokens FindLinkTextEnd walked over, with the position each was searched
  // from: the scan takes them from here instead of finding them a second time.
  static constexpr size_t kWalkedTokens = 64;
  mutable std::vector<std::pair<int64_t, TokenSpan>> walked_;
  mutable size_t walkedNext_ = 0;
  std::vector<Entry> entries_;
  // Which bytes after "<" may begin the name of BASE or of an entry: every other tag is
  // passed over on its first letter.
  static constexpr uint8_t kBaseStart = 1;
  static constexpr uint8_t kEntryStart = 2;
  std::array<uint8_t, 256> tagStart_{};
};

}  // namespace vendil
