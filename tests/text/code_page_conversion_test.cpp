#include "text/code_page_conversion.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>

#include "platform/code_page_codec.h"
#include "text/code_page_catalogue.h"

using namespace std::string_view_literals;

namespace {

using Bytes = std::basic_string<unsigned char>;

Bytes B(std::string_view bytes) {
  return Bytes(bytes.begin(), bytes.end());
}

Bytes View(const ByteBuffer& buffer) {
  return Bytes(buffer.data(), buffer.size());
}

// Decodes bytes, expecting success; byteLength must be twice the unit count.
std::u16string Decode(const Bytes& bytes, CodePage codePage) {
  ConvertedBuffer buffer;
  size_t byteLength = 99;
  platform::ErrorCode error = 0;
  EXPECT_TRUE(ConvertText(false, buffer, bytes.size(), bytes.data(), byteLength, codePage, &error))
      << "code page " << codePage << ", error " << error;
  EXPECT_EQ(byteLength, buffer.text.length() * 2);
  EXPECT_EQ(buffer.bytes.data(), nullptr);
  if (!buffer.text.data())
    return u"(no buffer)";
  EXPECT_EQ(buffer.text.data()[buffer.text.length()], u'\0');
  return std::u16string(buffer.text.view());
}

Bytes Encode(std::u16string_view text, CodePage codePage) {
  ConvertedBuffer buffer;
  size_t byteLength = 99;
  platform::ErrorCode error = 0;
  EXPECT_TRUE(ConvertText(true, buffer, text.size(), text.data(), byteLength, codePage, &error))
      << "code page " << codePage << ", error " << error;
  EXPECT_EQ(byteLength, buffer.bytes.size());
  EXPECT_EQ(buffer.text.data(), nullptr);
  if (!buffer.bytes.data())
    return B("(no buffer)");
  EXPECT_EQ(buffer.bytes.data()[buffer.bytes.size()], 0);
  return View(buffer.bytes);
}

}  // namespace

TEST(ConvertText, EmptyInputGivesAnEmptyBufferForEveryCodePage) {
  const CodePageCatalogue catalogue;
  for (const auto& [codePage, name] : catalogue) {
    for (bool toBytes : {false, true}) {
      ConvertedBuffer buffer;
      size_t byteLength = 99;
      ASSERT_TRUE(ConvertText(toBytes, buffer, 0, nullptr, byteLength, codePage))
          << "code page " << codePage << (toBytes ? " encoding" : " decoding");
      EXPECT_EQ(byteLength, 0u);
      if (toBytes) {
        ASSERT_NE(buffer.bytes.data(), nullptr);
        EXPECT_EQ(buffer.bytes.size(), 0u);
        EXPECT_EQ(buffer.bytes.data()[0], 0);
      } else {
        ASSERT_NE(buffer.text.data(), nullptr);
        EXPECT_EQ(buffer.text.length(), 0u);
        EXPECT_EQ(buffer.text.data()[0], u'\0');
      }
    }
  }
}

TEST(ConvertText, Utf16BigEndianSwapsEveryUnitBothWays) {
  EXPECT_EQ(Decode(B("\x00\x41\x04\x10"sv), kCodePageUtf16Be), u"A\u0410");
  const Bytes encoded = Encode(u"A\u0410", kCodePageUtf16Be);
  EXPECT_EQ(encoded, B("\x00\x41\x04\x10"sv));

  ConvertedBuffer buffer;
  size_t byteLength = 0;
  const std::u16string_view text = u"\uFEFFx";
  ASSERT_TRUE(ConvertText(true, buffer, text.size(), text.data(), byteLength, kCodePageUtf16Be));
  EXPECT_EQ(View(buffer.bytes), B("\xFE\xFF\x00x"sv)) << "a byte order mark is just a unit";
  EXPECT_EQ(buffer.bytes.data()[4], 0);
  EXPECT_EQ(buffer.bytes.data()[5], 0) << "two zero bytes follow UTF-16";
}

TEST(ConvertText, Utf16BigEndianDropsATrailingOddByte) {
  EXPECT_EQ(Decode(B("\x00\x41\x04"sv), kCodePageUtf16Be), u"A");
  EXPECT_EQ(Decode(B("\x04"sv), kCodePageUtf16Be), u"");
}

TEST(ConvertText, Utf16LittleEndianTakesTheBytesAsTheyAre) {
  const Bytes file =
      B("\xFF\xFE"
        "a\x00\x10\x04!"sv);
  TextBuffer text;
  ASSERT_TRUE(BytesAsText(file.data(), file.size(), text));
  EXPECT_EQ(text.view(), u"\uFEFFa\u0410") << "the mark is text; the odd byte is not";
  EXPECT_EQ(text.data()[text.length()], u'\0');
  ByteBuffer bytes;
  ASSERT_TRUE(TextAsBytes(text.view(), bytes));
  EXPECT_EQ(View(bytes), file.substr(0, 6));
  EXPECT_EQ(bytes.data()[6], 0);
  EXPECT_EQ(bytes.data()[7], 0);
  // ConvertText gives the same for code page -1.
  EXPECT_EQ(Decode(file, kCodePageUtf16Le), u"\uFEFFa\u0410");
  EXPECT_EQ(Encode(u"\uFEFFa\u0410", kCodePageUtf16Le), file.substr(0, 6));
}

TEST(ConvertText, WindowsLatinToUnicodeOutputs) {
  const std::u16string text = Decode(B("caf\xE9!"sv), 1252);
  EXPECT_EQ(text, u"caf\u00E9!");
  EXPECT_EQ(Encode(text, 65001), B("caf\xC3\xA9!"sv));
  ByteBuffer utf16;
  ASSERT_TRUE(TextAsBytes(text, utf16));
  EXPECT_EQ(View(utf16), B("c\0a\0f\0\xE9\0!\0"sv)) << "UTF-16LE without a byte order mark";
}

TEST(ConvertText, RoundTripsTextInItsOwnCodePages) {
  struct Case {
    CodePage codePage;
    std::u16string_view text;
  };
  for (const Case& c : {Case{1251, u"\u041F\u0440\u0438\u0432\u0435\u0442"},
                        Case{1252, u"\u20AC 5, \u00E6\u00F8\u00E5"}, Case{932, u"\u65E5\u672C"},
                        Case{936, u"\u4E2D\u6587"}, Case{65001, u"\u00E9 \U0001F600 \u4E2D"},
                        Case{437, u"\u00E7\u2591"}, Case{20127, u"plain"}}) {
    EXPECT_EQ(Decode(Encode(c.text, c.codePage), c.codePage), c.text) << c.codePage;
  }
  EXPECT_EQ(Encode(u"\u65E5", 932), B("\x93\xFA"sv));
  EXPECT_EQ(Encode(u"\u20AC", 1252), B("\x80"sv));
}

TEST(ConvertText, EachByteDecodesTheSameWhereverItStands) {
  Bytes file;
  for (int i = 0; i < 1000; ++i)
    file += static_cast<unsigned char>(i % 3 ? 'a' + i % 26 : i * 7 % 256);
  for (CodePage codePage : {1252, 437, 37}) {
    std::u16string byByte;
    for (unsigned char byte : file)
      byByte += Decode(Bytes(1, byte), codePage);
    EXPECT_EQ(Decode(file, codePage), byByte) << codePage;
  }
}

TEST(ConvertText, UnrepresentableCharactersBecomeTheDefaultCharacter) {
  EXPECT_EQ(Encode(u"A\u4E00B", 1252), B("A?B"sv));
  EXPECT_EQ(Encode(u"A\u4E00B", 20127), B("A?B"sv));
  EXPECT_EQ(Encode(u"a\xD800z", 1252), B("a?z"sv)) << "a lone surrogate";
  EXPECT_EQ(Encode(u"a\xD800z", 65001), B("a\xEF\xBF\xBDz"sv));
}

TEST(ConvertText, InvalidBytesAreReplacedWithoutAnError) {
  EXPECT_EQ(Decode(B("a\xFFz"sv), 65001), u"a\uFFFDz");
  EXPECT_EQ(Decode(B("a\xC3"sv), 65001), u"a\uFFFD") << "a sequence cut short at the end";
}

TEST(CheckDecoding, FindsTheBytesThatDecodingWouldReplace) {
  using platform::DecodingCheck;
  const std::string longText(9000, 'a');  // more units than one pass of the check takes
  struct Case {
    CodePage codePage;
    std::string bytes;
    DecodingCheck expected;
  };
  for (const Case& c :
       {Case{65001, "caf\xC3\xA9", DecodingCheck::kClean},
        Case{65001, "caf\xE9", DecodingCheck::kUndecodable},
        Case{65001, "\xED\xA0\x80", DecodingCheck::kUndecodable},  // a surrogate
        Case{65001, "a\xE2\x82", DecodingCheck::kUndecodable},     // cut off
        Case{65001, longText + "\xFF", DecodingCheck::kUndecodable},
        Case{65001, longText, DecodingCheck::kClean}, Case{932, "\xED\x40", DecodingCheck::kClean},
        Case{932, "a\x81", DecodingCheck::kUndecodable},
        Case{1252, "caf\xE9", DecodingCheck::kClean}}) {
    platform::ErrorCode error = 0;
    const auto* bytes = reinterpret_cast<const unsigned char*>(c.bytes.data());
    EXPECT_EQ(platform::CheckDecoding(c.codePage, bytes, c.bytes.size(), error), c.expected)
        << c.codePage << " " << c.bytes.substr(0, 8);
  }
}

TEST(ConvertText, LargeTextsConvertWhole) {
  // Long enough for any slicing inside; the pattern puts sequences across every boundary.
  std::u16string text;
  while (text.size() < 3'000'000)
    text += u"a\u00E9\u20AC\U0001F600 ";
  const Bytes utf8 = Encode(text, 65001);
  EXPECT_EQ(Decode(utf8, 65001), text);
  const std::u16string latin(2'500'000, u'\u00E9');
  EXPECT_EQ(Decode(Encode(latin, 1252), 1252), latin);
}

TEST(ConvertText, Utf32FailsWithTheSystemTextAndLeavesNoBuffer) {
  const Bytes file = B("A\0\0\0"sv);
  const std::u16string_view text = u"A";
  for (CodePage codePage : {12000, 12001}) {
    for (bool toBytes : {false, true}) {
      ConvertedBuffer buffer;
      size_t byteLength = 99;
      platform::ErrorCode error = 0;
      const void* source = toBytes ? static_cast<const void*>(text.data()) : file.data();
      const size_t count = toBytes ? text.size() : file.size();
      EXPECT_FALSE(ConvertText(toBytes, buffer, count, source, byteLength, codePage, &error));
      EXPECT_NE(error, 0u);
      EXPECT_EQ(buffer.text.data(), nullptr);
      EXPECT_EQ(buffer.bytes.data(), nullptr);
      std::u16string message;
      EXPECT_TRUE(FormatSystemError(error, message)) << error;
      // The error code is optional.
      EXPECT_FALSE(ConvertText(toBytes, buffer, count, source, byteLength, codePage));
    }
  }
}

TEST(ConvertText, ReplacesWhatTheOutBufferHeld) {
  ConvertedBuffer buffer;
  size_t byteLength = 0;
  const std::u16string_view text = u"old";
  ASSERT_TRUE(ConvertText(true, buffer, text.size(), text.data(), byteLength, 65001));
  const Bytes file = B("new"sv);
  ASSERT_TRUE(ConvertText(false, buffer, file.size(), file.data(), byteLength, 65001));
  EXPECT_EQ(buffer.text.view(), u"new");
  EXPECT_EQ(buffer.bytes.data(), nullptr);
  EXPECT_FALSE(ConvertText(false, buffer, file.size(), file.data(), byteLength, 12000));
  EXPECT_EQ(buffer.text.data(), nullptr);
}
