// The tag scanner: tokens and comments, attribute values, the tag tests, link text up to
// the closing anchor, and both link scans with bits, custom tags and BASE HREF.
#include "parse/c_get_html_tag.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace vendil {
namespace {

using Links = std::vector<std::pair<std::string, std::string>>;

Links AllTagLinks(cGetHtmlTag& scanner, int32_t bits, const std::string& html,
                  const std::string& base = "http://h/d/page.html") {
  Links links;
  std::string url;
  std::string text;
  for (bool found = scanner.GetTagFromHtml(bits, url, &text, html, base); found;
       found = scanner.GetTagFromHtml(bits, url, &text)) {
    links.emplace_back(url, text);
  }
  return links;
}

Links AllAnchorLinks(cGetHtmlTag& scanner, const std::string& html,
                     const std::string& base = "http://h/d/page.html") {
  Links links;
  std::string url;
  std::string text;
  for (bool found = scanner.GetLinkFromHtml(url, &text, html, base); found;
       found = scanner.GetLinkFromHtml(url, &text)) {
    links.emplace_back(url, text);
  }
  return links;
}

TEST(HtmlTagTokens, TagsCommentsAndPositions) {
  cGetHtmlTag scanner;
  EXPECT_EQ(scanner.SearchPosition(), 0);
  EXPECT_EQ(scanner.GetTag(), "");
  EXPECT_EQ(scanner.GetTag("x<a href=\"1>2\">t<!-- <a href=y> -->z<b>"), "<a href=\"1>");
  EXPECT_EQ(scanner.SearchPosition(), 13);
  EXPECT_EQ(scanner.GetTag(), "<!-- <a href=y> --");
  EXPECT_EQ(scanner.GetTag(), "<b>");
  EXPECT_EQ(scanner.GetTag(), "");
  // The position ran past the end: the text is let go.
  EXPECT_EQ(scanner.Html(), "");
}

TEST(HtmlTagTokens, UnterminatedTagOrCommentEndsTheScan) {
  cGetHtmlTag scanner;
  EXPECT_EQ(scanner.GetTag("<a> text <b"), "<a>");
  EXPECT_EQ(scanner.GetTag(), "");
  EXPECT_EQ(scanner.GetTag(), "");
  EXPECT_EQ(scanner.SearchPosition(), 4);
  EXPECT_EQ(scanner.GetTag("<!-- open <a href=x>"), "");
}

// The scanner reads 16 bytes at a time: a tag, a stray "<" inside it and the page's end may
// fall anywhere in such a block, and the tokens stay the same.
TEST(HtmlTagTokens, TagsAtEveryOffsetAndOfEveryLength) {
  for (size_t offset = 0; offset < 34; ++offset) {
    for (size_t length = 2; length < 40; ++length) {
      std::string tag = "<" + std::string(length - 2, 'p') + ">";
      if (length > 4) tag[length / 2] = '<';
      const std::string html = std::string(offset, 'x') + tag + "yy<b>";
      SCOPED_TRACE("offset " + std::to_string(offset) + ", length " + std::to_string(length));
      cGetHtmlTag scanner;
      EXPECT_EQ(scanner.GetTag(html), tag);
      EXPECT_EQ(scanner.GetTag(), "<b>");
      EXPECT_EQ(scanner.GetTag(), "");
      EXPECT_EQ(scanner.GetTag(html + "<i"), tag);
      EXPECT_EQ(scanner.GetTag(), "<b>");
      EXPECT_EQ(scanner.GetTag(), "");  // the last "<" is never closed
    }
  }
}

TEST(HtmlTagAttributes, QuotedUnquotedAndSpacedValues) {
  cGetHtmlTag scanner;
  EXPECT_EQ(scanner.GetAHrefUrl("<a href = x.html>"), "x.html");
  EXPECT_EQ(scanner.GetAHrefUrl("<a href=\" a b>c.html \">"), "a b>c.html");
  EXPECT_EQ(scanner.GetAHrefUrl("<a href=\r\n\"q.html\">"), "q.html");
  EXPECT_EQ(scanner.GetAHrefUrl("<a href=x y=\"z\">"), "x");
  EXPECT_EQ(scanner.GetAHrefUrl("<a href=>"), "");
  EXPECT_EQ(scanner.GetAHrefUrl("<a href=x"), "");
  EXPECT_EQ(scanner.GetAHrefUrl("<a href"), "");
}

TEST(HtmlTagAttributes, SingleQuotesAreQuotesAndWhiteSpaceAroundAValueGoes) {
  cGetHtmlTag scanner;
  EXPECT_EQ(scanner.GetAHrefUrl("<a href='x.html'>"), "x.html");
  EXPECT_EQ(scanner.GetAHrefUrl("<a href = '\tsp ace.html\n' >"), "sp ace.html");
  EXPECT_EQ(scanner.GetAHrefUrl("<a href='say \"hi\".html'>"), "say \"hi\".html");
  EXPECT_EQ(scanner.GetAHrefUrl("<a href=\"it's.html\">"), "it's.html");
  EXPECT_EQ(scanner.GetAHrefUrl("<a href=''>"), "");
  // A tag cut at a ">" inside a quoted value: the value runs to the end of the tag.
  EXPECT_EQ(scanner.GetAHrefUrl("<a href='a>"), "a");
  EXPECT_EQ(scanner.GetAHrefUrl("<a href=\"a b>"), "a b");
  // Mixed quoting in one tag: each value by its own quotes.
  const std::string html =
      "<img alt='A \"quoted\" name' src=\"p.gif\"><a href='u.html' title=\"t\">U</a>"
      "<area alt=\"m\" href='m.html'><frame src='f.html'><iframe src=\ti.html >";
  EXPECT_EQ(AllTagLinks(scanner, 31, html), (Links{{"http://h/d/p.gif", "A \"quoted\" name"},
                                                   {"http://h/d/u.html", "U"},
                                                   {"http://h/d/m.html", "m"},
                                                   {"http://h/d/f.html", ""},
                                                   {"http://h/d/i.html", ""}}));
  EXPECT_EQ(AllAnchorLinks(scanner, "<base href='http://b/e/'><a href='x.zip'>x</a>"),
            (Links{{"http://b/e/x.zip", "x"}}));
}

TEST(HtmlTagAttributes, CharacterReferencesInUrlValuesAreDecoded) {
  cGetHtmlTag scanner;
  EXPECT_EQ(scanner.GetAHrefUrl("<a href=\"man.cgi?section=5&amp;topic=mbox\">"),
            "man.cgi?section=5&topic=mbox");
  EXPECT_EQ(scanner.GetAHrefUrl("<a href='mail&#64;x&#x2e;html'>"), "mail@x.html");
  EXPECT_EQ(scanner.GetAHrefUrl("<a href=q?a=1&amp;b=2&copy=3>"), "q?a=1&b=2&copy=3");
  EXPECT_EQ(scanner.GetBaseHrefUrl("<base href=\"http://b/?x=1&amp;y=/\">"), "http://b/?x=1&y=/");
  const std::string html =
      "<a href=\"get.cgi?f=1&amp;t=zip\">One &amp; two</a>"
      "<img src=i.cgi?a&#61;1&amp;b alt=\"A &amp; B\">"
      "<a href=\"&#32;sp.html&#9;\">s</a><a href=\"&amp;\">amp</a>";
  EXPECT_EQ(AllTagLinks(scanner, 9, html), (Links{{"http://h/d/get.cgi?f=1&t=zip", "One &amp; two"},
                                                  {"http://h/d/i.cgi?a=1&b", "A &amp; B"},
                                                  {"http://h/d/sp.html", "s"},
                                                  {"http://h/d/&", "amp"}}));
  EXPECT_EQ(AllAnchorLinks(scanner, "<base href='http://b/&#100;/'><a href=x&amp;y>t</a>"),
            (Links{{"http://b/d/x&y", "t"}}));
}

TEST(HtmlTagTests, HrefBeforeFirstEqualsAndTagNames) {
  cGetHtmlTag scanner;
  EXPECT_TRUE(scanner.IsAHrefUrl("<a href=x>"));
  EXPECT_TRUE(scanner.IsAHrefUrl("<AREA HREF=x alt=y>"));
  EXPECT_FALSE(scanner.IsAHrefUrl("<a target=_blank href=x>"));
  EXPECT_FALSE(scanner.IsAHrefUrl("<a name=x>"));
  EXPECT_FALSE(scanner.IsAHrefUrl("<a href>"));
  EXPECT_TRUE(scanner.IsBaseHrefUrl("<base href=\"http://b/\">"));
  EXPECT_FALSE(scanner.IsBaseHrefUrl("<base target=x>"));
  EXPECT_EQ(scanner.GetBaseHrefUrl("<base href=\"http://b/\">"), "http://b/");

  EXPECT_TRUE(scanner.IsThisTag("<img src=x>", "IMG", "SRC"));
  EXPECT_TRUE(scanner.IsThisTag("<IMG\nSRC=x>", "img", "src"));
  EXPECT_FALSE(scanner.IsThisTag("<a>", "A", "HREF"));
  EXPECT_FALSE(scanner.IsThisTag("<img/ src=x>", "IMG", "SRC"));
  EXPECT_FALSE(scanner.IsThisTag("<imgx src=x>", "IMG", "SRC"));
  EXPECT_FALSE(scanner.IsThisTag("<img alt=a src>", "IMG", "SRC"));
}

TEST(HtmlTagLinkText, TextUpToTheClosingAnchor) {
  cGetHtmlTag scanner;
  scanner.GetTag("<a href=x><b>Bold</b> text</ A\n>rest");
  EXPECT_EQ(scanner.GetAHrefLinkString(), "<b>Bold</b> text");
  EXPECT_EQ(scanner.SearchPosition(), 11);
  EXPECT_EQ(scanner.GetTag(), "<b>");
  scanner.GetTag("<a href=x>no close <b>");
  EXPECT_EQ(scanner.GetAHrefLinkString(), "");
  EXPECT_EQ(scanner.SearchPosition(), 11);
  // "</ABBR>" is not a closing anchor.
  scanner.GetTag("<a href=x>a</abbr>b</a>");
  EXPECT_EQ(scanner.GetAHrefLinkString(), "a</abbr>b");
}

TEST(HtmlTagLinkText, TagsInsideALongLinkTextAreStillScanned) {
  // The text walk runs ahead over the tokens; the scan must still see every one of them,
  // near the start of the text and far beyond it.
  std::string html = "<a href=a>";
  for (int i = 0; i < 150; ++i) {
    html += i % 50 == 1 ? "<img src=" + std::to_string(i) + ".gif>" : "<b>x</b>";
  }
  html += "</a><img src=end.gif>";
  cGetHtmlTag scanner;
  const Links links = AllTagLinks(scanner, 9, html);
  ASSERT_EQ(links.size(), 5u);
  EXPECT_EQ(links[0].first, "http://h/d/a");
  EXPECT_EQ(links[1].first, "http://h/d/1.gif");
  EXPECT_EQ(links[3].first, "http://h/d/101.gif");
  EXPECT_EQ(links[4].first, "http://h/d/end.gif");
  EXPECT_EQ(scanner.GetTag(html), "<a href=a>");
  EXPECT_EQ(scanner.GetAHrefLinkString().size(), html.size() - 10 - 21);
  EXPECT_EQ(scanner.GetTag(), "<b>");
  EXPECT_EQ(scanner.GetTag(), "</b>");
  EXPECT_EQ(scanner.GetTag(), "<img src=1.gif>");
}

TEST(HtmlTagAllTags, BitsChooseTheTags) {
  const std::string html =
      "<a href=a.zip>Get <img src=in.gif alt=inner></a>"
      "<frame src=f.html><iframe src=i.html><img src=p.gif alt=\"Picture\">"
      "<area href=m.html alt=Map><img alt=nosrc>";
  cGetHtmlTag scanner;
  EXPECT_EQ(AllTagLinks(scanner, 31, html),
            (Links{{"http://h/d/a.zip", "Get <img src=in.gif alt=inner>"},
                   {"http://h/d/in.gif", "inner"},
                   {"http://h/d/f.html", ""},
                   {"http://h/d/i.html", ""},
                   {"http://h/d/p.gif", "Picture"},
                   {"http://h/d/m.html", "Map"}}));
  // Each bit alone reads its own tag.
  const std::pair<int32_t, Links> alone[] = {
      {1, {{"http://h/d/a.zip", "Get <img src=in.gif alt=inner>"}}},
      {2, {{"http://h/d/f.html", ""}}},
      {4, {{"http://h/d/i.html", ""}}},
      {8, {{"http://h/d/in.gif", "inner"}, {"http://h/d/p.gif", "Picture"}}},
      {16, {{"http://h/d/m.html", "Map"}}}};
  for (const auto& [bits, links] : alone)
    EXPECT_EQ(AllTagLinks(scanner, bits, html), links) << bits;
  EXPECT_TRUE(AllTagLinks(scanner, 0, html).empty());
}

TEST(HtmlTagAllTags, AttributeNamesAreFoundAsSubstrings) {
  cGetHtmlTag scanner;
  EXPECT_EQ(AllTagLinks(scanner, 8, "<img lowsrc=low.gif src=high.gif>"),
            (Links{{"http://h/d/low.gif", ""}}));
  EXPECT_EQ(AllTagLinks(scanner, 8, "<img src=salt.gif width=10>"),
            (Links{{"http://h/d/salt.gif", "10"}}));
  EXPECT_EQ(AllTagLinks(scanner, 1, "<a target=_top href=x.html>X</a>"),
            (Links{{"http://h/d/x.html", "X"}}));
}

TEST(HtmlTagAllTags, LowerCaseHrefAndHrefAfterOtherAttributes) {
  cGetHtmlTag scanner;
  EXPECT_EQ(AllTagLinks(scanner, 1, "<A class=\"k\" href=\"x.html\">X</A>").size(), 1u);
  EXPECT_TRUE(AllAnchorLinks(scanner, "<A class=\"k\" href=\"x.html\">X</A>").empty());
  EXPECT_EQ(AllAnchorLinks(scanner, "<a href=\"x.html\">X</a>"),
            (Links{{"http://h/d/x.html", "X"}}));
  EXPECT_EQ(AllAnchorLinks(scanner, "<area href=m.html alt=Map><abbr href=q>"),
            (Links{{"http://h/d/m.html", ""}, {"http://h/d/q", ""}}));
}

TEST(HtmlTagAllTags, CommentsHideLinksAndBaseHrefActsFromWhereItStands) {
  cGetHtmlTag scanner;
  EXPECT_TRUE(AllTagLinks(scanner, 31, "<!-- <a href=x.zip>x</a> <img src=y.gif> -->").empty());
  const std::string html = "<a href=1.zip>1</a><base href=\"http://b/e/\"><a href=2.zip>2</a>";
  EXPECT_EQ(AllTagLinks(scanner, 1, html),
            (Links{{"http://h/d/1.zip", "1"}, {"http://b/e/2.zip", "2"}}));
  EXPECT_EQ(AllAnchorLinks(scanner, html),
            (Links{{"http://h/d/1.zip", "1"}, {"http://b/e/2.zip", "2"}}));
  // BASE HREF counts even when no bit is set for it, and is forgotten by the next page.
  EXPECT_EQ(AllTagLinks(scanner, 1, "<a href=3.zip>3</a>"), (Links{{"http://h/d/3.zip", "3"}}));
}

TEST(HtmlTagAllTags, CustomTags) {
  cGetHtmlTag scanner;
  scanner.CustomTags("  object src;img dynsrc alt  ");
  const std::string html = "<object src=o.swf><img dynsrc=v.avi alt=Clip><embed src=e.swf>";
  EXPECT_EQ(AllTagLinks(scanner, 32, html),
            (Links{{"http://h/d/o.swf", ""}, {"http://h/d/v.avi", "Clip"}}));
  scanner.CustomTags("object src; embed src;iframe");
  EXPECT_EQ(AllTagLinks(scanner, 32, html + "<iframe src=i.html>"),
            (Links{{"http://h/d/o.swf", ""}}));
  // Without bit 32 the custom list is not used.
  EXPECT_TRUE(AllTagLinks(scanner, 1, html).empty());
}

TEST(HtmlTagAllTags, TagsInsideAnUnclosedLinkAtTheEndStillCount) {
  cGetHtmlTag scanner;
  EXPECT_EQ(AllTagLinks(scanner, 9, "<a href=a.html>see<img src=b.gif>"),
            (Links{{"http://h/d/a.html", ""}, {"http://h/d/b.gif", ""}}));
}

TEST(HtmlTagAllTags, UnresolvableLinksArePassedOver) {
  cGetHtmlTag scanner;
  EXPECT_EQ(AllTagLinks(scanner, 1, "<a href=rel.html>r</a><a href=http://x/y>y</a>", ""),
            (Links{{"http://x/y", "y"}}));
}

TEST(HtmlTagLinkText, AnOpenLinkEndsWhereTheNextBegins) {
  cGetHtmlTag scanner;
  EXPECT_EQ(AllTagLinks(scanner, 1, "<a href=1>one <b>bold<a name=n>two</a><a href=3>three"),
            (Links{{"http://h/d/1", "one <b>bold"}, {"http://h/d/3", ""}}));
  EXPECT_EQ(AllAnchorLinks(scanner, "<a href=1>x<area href=m>y<abbr title=t>z</a>"),
            (Links{{"http://h/d/1", "x"}, {"http://h/d/m", "y<abbr title=t>z"}}));

  // Many anchors left open, then one closing tag: each text is its own stretch, so the
  // texts of a page together are never longer than the page.
  std::string html;
  const int count = 3000;
  for (int i = 0; i < count; ++i) html += "<a href=" + std::to_string(i) + ".zip>t";
  html += "</a>";
  const Links links = AllAnchorLinks(scanner, html);
  ASSERT_EQ(links.size(), static_cast<size_t>(count));
  for (const auto& link : links) EXPECT_EQ(link.second, "t");

  // Without the closing tag only the last one, followed by nothing, has no text.
  html.resize(html.size() - 4);
  const Links open = AllTagLinks(scanner, 1, html);
  ASSERT_EQ(open.size(), static_cast<size_t>(count));
  EXPECT_EQ(open[count - 2].second, "t");
  EXPECT_EQ(open.back().second, "");
}

TEST(HtmlTagRawText, ScriptStyleTextareaTitleAndXmpHoldNoLinks) {
  cGetHtmlTag scanner;
  const std::string script =
      "<script>document.write(\"<a href=\"' + x + '\">\"); if (a<b) c=\"<img src=s.gif>\";"
      "</script><a href=after.zip>After</a>";
  EXPECT_EQ(AllTagLinks(scanner, 31, script), (Links{{"http://h/d/after.zip", "After"}}));
  EXPECT_EQ(AllAnchorLinks(scanner, script), (Links{{"http://h/d/after.zip", "After"}}));
  for (const std::string name : {"style", "TextArea", "title", "XMP"}) {
    const std::string html = "<" + name + " class=k><a href=in.zip>In</a><img src=i.gif></" + name +
                             "><a href=out.zip>Out</a>";
    EXPECT_EQ(AllTagLinks(scanner, 31, html), (Links{{"http://h/d/out.zip", "Out"}})) << name;
  }
  // The end tag is found in any letter case and with white space or "/" after its name; a
  // longer name or a name cut short ends nothing.
  EXPECT_EQ(AllTagLinks(scanner, 1,
                        "<SCRIPT>x</scripts><a href=1></scrip><a href=2></Script\n>"
                        "<a href=3>3</a><script/></script/><a href=4>4</a>"),
            (Links{{"http://h/d/3", "3"}, {"http://h/d/4", "4"}}));
  // Names that merely begin like one of them are ordinary tags.
  EXPECT_EQ(AllTagLinks(scanner, 1, "<scripts><a href=1>1</a><titles><a href=2>2</a>"),
            (Links{{"http://h/d/1", "1"}, {"http://h/d/2", "2"}}));
  // A comment opener inside a script opens no comment.
  EXPECT_EQ(AllTagLinks(scanner, 1, "<script>s='<!--';</script><a href=z>z</a><!-- -->"),
            (Links{{"http://h/d/z", "z"}}));
}

TEST(HtmlTagRawText, AnElementLeftOpenHoldsTheRestOfThePage) {
  cGetHtmlTag scanner;
  EXPECT_EQ(AllTagLinks(scanner, 31, "<a href=1>1</a><script>var x;<a href=2>2</a><img src=3>"),
            (Links{{"http://h/d/1", "1"}}));
  EXPECT_EQ(AllAnchorLinks(scanner, "<title>Files <a href=2>2</a>"), Links{});
  EXPECT_EQ(scanner.GetTag("<p><script>x<b>"), "<p>");
  EXPECT_EQ(scanner.GetTag(), "<script>");
  EXPECT_EQ(scanner.GetTag(), "");
  // An end tag cut off by the end of the page ends the scan as any unterminated tag does.
  EXPECT_EQ(scanner.GetTag("<style>a>b{}</style"), "<style>");
  EXPECT_EQ(scanner.GetTag(), "");
}

TEST(HtmlTagRawText, LinkTextAndCustomTagsAroundRawText) {
  cGetHtmlTag scanner;
  // A closing anchor inside a script does not end the link text.
  EXPECT_EQ(AllTagLinks(scanner, 1, "<a href=1>x<script>'</a>'</script>y</a><a href=2>z</a>"),
            (Links{{"http://h/d/1", "x<script>'</a>'</script>y"}, {"http://h/d/2", "z"}}));
  // The start tag of a raw-text element is still a tag: a custom entry finds its link.
  scanner.CustomTags("script src");
  EXPECT_EQ(AllTagLinks(scanner, 33, "<script src=a.js>'<a href=x>'</script><a href=b>b</a>"),
            (Links{{"http://h/d/a.js", ""}, {"http://h/d/b", "b"}}));
}

}  // namespace
}  // namespace vendil
