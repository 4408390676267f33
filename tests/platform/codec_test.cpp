// CP932, EUC-JP and declared-charset decoding, and decoding split across chunks.
#include "platform/codec.h"

#include <gtest/gtest.h>

namespace vendil {
namespace {

TEST(Cp932, RoundTripsTheCharactersWindowsMapsItsOwnWay) {
  struct Case {
    const char* utf8;
    const char* cp932;
  } cases[] = {
      {"\xEF\xBD\x9E", "\x81\x60"},  // FULLWIDTH TILDE
      {"\xE2\x91\xA0", "\x87\x40"},  // CIRCLED DIGIT ONE
      {"\xE3\x88\xB1", "\x87\x8A"},  // PARENTHESIZED IDEOGRAPH STOCK
      {"\xE3\x8D\xBE", "\x87\x8D"},  // SQUARE ERA NAME MEIZI
      {"\xEF\xBC\xBC", "\x81\x5F"},  // FULLWIDTH REVERSE SOLIDUS
      {"\xEF\xBD\xB1", "\xB1"},      // half-width katakana A
      {"\xE8\xA1\xA8", "\x95\x5C"},  // a kanji whose second byte is a backslash
      {"\\~", "\\~"},
  };
  for (const Case& c : cases) {
    bool lossy = true;
    EXPECT_EQ(Utf8ToAnsi(c.utf8, &lossy), c.cp932) << c.utf8;
    EXPECT_FALSE(lossy);
    EXPECT_EQ(AnsiToUtf8(c.cp932), c.utf8);
    EXPECT_TRUE(AnsiCanHold(c.utf8));
  }
}

TEST(Cp932, CharactersItLacksBecomeQuestionMarks) {
  bool lossy = false;
  EXPECT_EQ(Utf8ToAnsi("a\xF0\x9F\x98\x80"
                       "b\xED\x95\x9C",
                       &lossy),
            "a?b?");  // emoji, Hangul
  EXPECT_TRUE(lossy);
  EXPECT_FALSE(AnsiCanHold("\xED\x95\x9C"));
  EXPECT_EQ(Utf8ToAnsi("x\xFF\xC3y"), "x??y");  // bytes that are not UTF-8
}

TEST(Cp932, LoneBytesOutsideTheTableDecodeAsWindowsDoes) {
  EXPECT_EQ(AnsiToUtf8("\x80"), "\xC2\x80");
  EXPECT_EQ(AnsiToUtf8("\xA0"), "\xEF\xA3\xB0");
  EXPECT_EQ(Utf8ToAnsi(AnsiToUtf8("\x80\xA0\xFD\xFE\xFF")), "\x80\xA0\xFD\xFE\xFF");
  // A lead byte without its trail byte is replaced; the next character survives.
  EXPECT_EQ(AnsiToUtf8("\x81 a"), "\xEF\xBF\xBD a");
  EXPECT_EQ(AnsiToUtf8("a\x81"), "a\xEF\xBF\xBD");
}

TEST(EucJp, DecodesAsCodePage51932) {
  EXPECT_EQ(EucJpToUtf8("\xA1\xC1"), "\xEF\xBD\x9E");  // the wave dash of Windows
  EXPECT_EQ(EucJpToUtf8("\xB4\xC1\xBB\xFA"), "\xE6\xBC\xA2\xE5\xAD\x97");
  EXPECT_EQ(EucJpToUtf8("\x8E\xB1"), "\xEF\xBD\xB1");  // half-width katakana
  EXPECT_EQ(EucJpToUtf8("ab\xB4"), "ab\xEF\xBF\xBD");
}

TEST(DecodeCharset, NamesPagesUseAndUnknownOnes) {
  const std::string sjis = "\x8A\xBF";  // a kanji in Shift_JIS
  const std::string kanji = "\xE6\xBC\xA2";
  for (const char* name :
       {"Shift_JIS", "sjis", "x-sjis", "Windows-31J", "CP932", "", "bogus", "\"shift_jis\""})
    EXPECT_EQ(DecodeCharset(sjis, name), kanji) << name;
  EXPECT_EQ(DecodeCharset("\xB4\xC1", "EUC-JP"), kanji);
  EXPECT_EQ(DecodeCharset(kanji, "utf-8"), kanji);
  EXPECT_EQ(DecodeCharset("caf\xE9", "ISO-8859-1"), "caf\xC3\xA9");
  EXPECT_EQ(DecodeCharset("a\xFF"
                          "b",
                          "UTF-8"),
            "a\xEF\xBF\xBD"
            "b");
  EXPECT_EQ(DecodeCharset("ok", "us-ascii"), "ok");
}

TEST(CharsetDeclarations, ContentTypeAndMeta) {
  EXPECT_EQ(CharsetFromContentType("text/html; charset=Shift_JIS"), "Shift_JIS");
  EXPECT_EQ(CharsetFromContentType("text/html;CHARSET=\"euc-jp\""), "euc-jp");
  EXPECT_EQ(CharsetFromContentType("text/html"), "");
  EXPECT_EQ(CharsetFromContentType("text/html; charset="), "");
  EXPECT_EQ(CharsetFromMeta("<html><head><meta charset=\"utf-8\"></head>"), "utf-8");
  EXPECT_EQ(CharsetFromMeta("<META HTTP-EQUIV=\"Content-Type\" "
                            "CONTENT=\"text/html; charset=x-sjis\">"),
            "x-sjis");
  EXPECT_EQ(CharsetFromMeta("<meta name=\"x\"><p>charset=utf-8</p>"), "");
  EXPECT_EQ(CharsetFromMeta(std::string(5000, ' ') + "<meta charset=utf-8>"), "");
  // A page read as bytes cannot be in UTF-16 or UTF-32, whatever its <meta> says.
  EXPECT_EQ(CharsetFromMeta("<meta charset=\"UTF-16\"><meta charset=euc-jp>"), "utf-8");
  for (const char* wide : {"utf-16le", "UTF-16BE", "utf-32", "ucs-2", "unicode", "csUnicode"}) {
    EXPECT_EQ(CharsetFromMeta(std::string("<meta charset=") + wide + ">"), "utf-8") << wide;
  }
  EXPECT_EQ(CharsetFromContentType("text/html; charset=utf-16"), "utf-16");
}

TEST(StreamingDecoder, CarriesASplitCharacterToTheNextChunk) {
  struct Case {
    const char* charset;
    std::string bytes;
    std::string text;
  } cases[] = {
      {"Shift_JIS",
       "a\x8A\xBF"
       "b",
       "a\xE6\xBC\xA2"
       "b"},
      {"euc-jp",
       "a\xB4\xC1"
       "b",
       "a\xE6\xBC\xA2"
       "b"},
      {"utf-8",
       "a\xE6\xBC\xA2"
       "b",
       "a\xE6\xBC\xA2"
       "b"},
      {"euc-jp",
       "a\x8F\xB0\xA1"
       "b",
       "a\xE4\xB8\x82"
       "b"},  // a three-byte JIS X 0212 kanji
  };
  for (const Case& c : cases) {
    for (size_t split = 1; split < c.bytes.size(); ++split) {
      StreamingDecoder decoder(c.charset);
      std::string text = decoder.Feed(c.bytes.substr(0, split));
      text += decoder.Feed(c.bytes.substr(split));
      text += decoder.Finish();
      EXPECT_EQ(text, c.text) << c.charset << " split at " << split;
    }
  }
}

TEST(StreamingDecoder, AnIncompleteEndIsReplacedAtFinish) {
  StreamingDecoder decoder("Shift_JIS");
  EXPECT_EQ(decoder.Feed("ab\x8A"), "ab");
  EXPECT_EQ(decoder.Finish(), "\xEF\xBF\xBD");
  EXPECT_EQ(decoder.Finish(), "");
}

}  // namespace
}  // namespace vendil
