#include "text/utf8.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::u16string Decode(std::string_view utf8, bool expectValid) {
  std::u16string out;
  EXPECT_EQ(Utf8ToUtf16(utf8, out), expectValid) << utf8;
  return out;
}

TEST(Utf8, EveryScalarValueRoundTrips) {
  std::u16string text;
  for (char32_t code = 1; code <= 0x10FFFF; code += (code < 0x3000 ? 1 : 97)) {
    if (code >= 0xD800 && code <= 0xDFFF)
      continue;
    if (code < 0x10000) {
      text.push_back(static_cast<char16_t>(code));
    } else {
      text.push_back(static_cast<char16_t>(0xD800 + ((code - 0x10000) >> 10)));
      text.push_back(static_cast<char16_t>(0xDC00 + ((code - 0x10000) & 0x3FF)));
    }
  }
  const std::string utf8 = Utf16ToUtf8(text);
  EXPECT_EQ(Decode(utf8, true), text);
  EXPECT_EQ(Utf16ToUtf8(u"a\u00e9\u20ac\U0001F600"), "a\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80");
}

TEST(Utf8, EachMaximalInvalidSubpartBecomesOneReplacement) {
  // A lead byte whose next byte is out of its range stands alone.
  EXPECT_EQ(Decode("\xE0\x80x", false), u"\uFFFD\uFFFDx");
  // A truncated sequence is one replacement, however much of it there is.
  EXPECT_EQ(Decode("\xF0\x9F\x98", false), u"\uFFFD");
  EXPECT_EQ(Decode("a\xE2\x82", false), u"a\uFFFD");
  // Overlong forms, encoded surrogates and code points beyond U+10FFFF.
  EXPECT_EQ(Decode("\xC0\xAF", false), u"\uFFFD\uFFFD");
  EXPECT_EQ(Decode("\xED\xA0\x80", false), u"\uFFFD\uFFFD\uFFFD");
  EXPECT_EQ(Decode("\xF4\x90\x80\x80", false), u"\uFFFD\uFFFD\uFFFD\uFFFD");
  // Stray continuation bytes and bytes that never occur.
  EXPECT_EQ(Decode("\x80\xBFz\xFF", false), u"\uFFFD\uFFFDz\uFFFD");
  EXPECT_EQ(Decode("", true), u"");
}

TEST(Utf8, UnpairedSurrogatesEncodeAsReplacement) {
  EXPECT_EQ(Utf16ToUtf8(std::u16string{u'a', char16_t(0xD800)}), "a\xEF\xBF\xBD");
  EXPECT_EQ(Utf16ToUtf8(std::u16string{char16_t(0xDC00), u'b'}),
            "\xEF\xBF\xBD"
            "b");
  EXPECT_EQ(Utf16ToUtf8(std::u16string{char16_t(0xDBFF), char16_t(0xDBFF), char16_t(0xDFFF)}),
            "\xEF\xBF\xBD\xF4\x8F\xBF\xBF");
}

TEST(NameBytes, EveryByteSequenceRoundTrips) {
  // Bytes outside valid UTF-8 become U+DC00 plus the byte, one unit each.
  const struct {
    std::string bytes;
    std::u16string units;
  } cases[] = {
      {"plain \xC3\xA9\xF0\x9F\x98\x80", u"plain \u00e9\U0001F600"},
      {"\xE9-dir", u"\xDCE9-dir"},
      {"\xFF\xFE.txt", u"\xDCFF\xDCFE.txt"},
      {"a\xE2\x82x", u"a\xDCE2\xDC82x"},                  // cut short
      {"\xED\xA0\x80", u"\xDCED\xDCA0\xDC80"},            // an encoded surrogate
      {"\xC0\xAF\xF4\x90", u"\xDCC0\xDCAF\xDCF4\xDC90"},  // overlong, beyond U+10FFFF
      {"\xF0\x9F\x98\x80\x80", u"\U0001F600\xDC80"},      // a stray byte after a pair
  };
  for (const auto& [bytes, units] : cases) {
    EXPECT_EQ(NameBytesToUtf16(bytes), units) << bytes;
    EXPECT_EQ(Utf16ToNameBytes(units), bytes) << bytes;
    EXPECT_EQ(HoldsEscapedBytes(units), Utf16ToUtf8(units) != bytes) << bytes;
    EXPECT_EQ(Utf16ToUtf8(units), Utf16ToUtf8(ShownText(units))) << bytes;
  }
  // Each of the 128 bytes alone.
  for (int byte = 0x80; byte <= 0xFF; ++byte) {
    const std::string alone(1, static_cast<char>(byte));
    EXPECT_EQ(Utf16ToNameBytes(NameBytesToUtf16(alone)), alone) << byte;
  }
}

TEST(NameBytes, OtherLoneSurrogatesEncodeAsReplacement) {
  const struct {
    std::u16string units;
    std::string bytes;
  } cases[] = {
      {{u'a', char16_t(0xD800)}, "a\xEF\xBF\xBD"},
      {{char16_t(0xDC7F), char16_t(0xDD00)}, "\xEF\xBF\xBD\xEF\xBF\xBD"},
      // Escape units that spell UTF-8 give its bytes, which then read back as the character.
      {{char16_t(0xDCC3), char16_t(0xDCA9)}, "\xC3\xA9"},
  };
  for (const auto& [units, bytes] : cases)
    EXPECT_EQ(Utf16ToNameBytes(units), bytes);
  EXPECT_EQ(NameBytesToUtf16("\xC3\xA9"), u"\u00e9");
  EXPECT_EQ(ShownText(std::u16string{char16_t(0xDCE9), u'x', char16_t(0xD800)} + u"\U0001F600"),
            u"\uFFFDx\uFFFD\U0001F600");
  EXPECT_FALSE(HoldsEscapedBytes(std::u16string{char16_t(0xD800), char16_t(0xDC80)})) << "a pair";
}

}  // namespace
