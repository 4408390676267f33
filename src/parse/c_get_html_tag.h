// The HTML tag scanner: walks the page text from one "<" to the next ">", hands out tags
// as tokens, and finds the links of the chosen tags, resolved against the page URL or the
// page's BASE HREF. The two link scans read the caller's page in place: it must stay
// unchanged until the scan has run out of links or starts on another page.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

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
  std::optional<TokenSpan> FindToken(int64_t from) const;
  // GetTag without the copy: a view into `html_`, empty when the tokens have run out.
  std::string_view NextToken();
  // The link in one tag of the tag scan: the entry index, its URL value left in `value_`;
  // nullopt when the tag holds no link.
  std::optional<size_t> MatchEntry(std::string_view token);
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
  std::string linkBaseUrl_;
  std::string tagBaseUrl_;
  std::string value_;  // reused from one tag to the next
  // The first tokens FindLinkTextEnd walked over, with the position each was searched
  // from: the scan takes them from here instead of finding them a second time.
  static constexpr size_t kWalkedTokens = 64;
  mutable std::vector<std::pair<int64_t, TokenSpan>> walked_;
  mutable size_t walkedNext_ = 0;
  std::vector<std::string> m_colTagNames, m_colUrlAttrs, m_colTextAttrs;
  // Which bytes after "<" may begin the name of an entry or of BASE: every other tag is
  // passed over on its first letter.
  std::array<bool, 256> entryStart_{};
};

}  // namespace vendil
