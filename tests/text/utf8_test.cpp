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

}  // namespace
