// UTF-8 files are decoded without ICU natively; the result must be ICU's, invalid bytes included.
#include <gtest/gtest.h>
#include <unicode/ucnv.h>

#include <random>
#include <string>

#include "platform/code_page_codec.h"

namespace {

std::u16string DecodeWithIcu(const std::string& bytes) {
  UErrorCode status = U_ZERO_ERROR;
  UConverter* converter = ucnv_open("UTF-8", &status);
  std::u16string out(bytes.size() + 1, u'\0');
  const int32_t length = ucnv_toUChars(converter, out.data(), static_cast<int32_t>(out.size()),
                                       bytes.data(), static_cast<int32_t>(bytes.size()), &status);
  ucnv_close(converter);
  EXPECT_TRUE(U_SUCCESS(status));
  out.resize(static_cast<size_t>(length));
  return out;
}

std::u16string DecodeWithProgram(const std::string& bytes) {
  platform::HeapArray<char16_t> units;
  size_t count = 0;
  platform::ErrorCode error = 0;
  EXPECT_TRUE(platform::DecodeCodePage(65001, reinterpret_cast<const unsigned char*>(bytes.data()),
                                       bytes.size(), units, count, error));
  return std::u16string(units.get(), count);
}

TEST(Utf8Decoding, MatchesIcuOnRandomBytes) {
  // Bytes drawn mostly from the ranges that make sequences, valid and broken.
  const unsigned char pool[] = {'a',  ' ',  '\n', 0x7F, 0x80, 0x8F, 0x90, 0x9F, 0xA0, 0xBF, 0xC0,
                                0xC2, 0xDF, 0xE0, 0xE1, 0xED, 0xEF, 0xF0, 0xF4, 0xF5, 0xFF};
  std::mt19937 random(20261209);
  for (int round = 0; round < 20000; ++round) {
    std::string bytes(random() % 40, '\0');
    for (char& byte : bytes)
      byte = static_cast<char>(pool[random() % sizeof pool]);
    ASSERT_EQ(DecodeWithProgram(bytes), DecodeWithIcu(bytes)) << "round " << round;
  }
  const std::string text =
      "plain ASCII run longer than eight bytes \xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80 end";
  EXPECT_EQ(DecodeWithProgram(text), DecodeWithIcu(text));
}

}  // namespace
