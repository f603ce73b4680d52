#include "platform/posix/single_byte_tables.h"

#include <gtest/gtest.h>

#include "platform/posix/icu_code_pages.h"
#include "platform/posix/icu_converter.h"

namespace {

const platform::IcuCodePage& Row(std::int32_t codePage) {
  const platform::IcuCodePage* row = platform::FindIcuCodePage(codePage);
  EXPECT_NE(row, nullptr) << codePage;
  return *row;
}

}  // namespace

TEST(SingleByteTables, OnlyStatelessSingleByteCodePagesHaveOne) {
  for (std::int32_t codePage : {1, 2, 37, 437, 1252, 20127, 28591, 28605})
    EXPECT_NE(platform::FindSingleByteTable(Row(codePage)), nullptr) << codePage;
  for (std::int32_t codePage : {0, 932, 50220, 54936, 57002, 65000, 65001})
    EXPECT_EQ(platform::FindSingleByteTable(Row(codePage)), nullptr) << codePage;
}

// Each character converted on its own by ICU must match the table built in one pass.
TEST(SingleByteTables, MatchIcuCharacterByCharacter) {
  int tables = 0;
  for (const platform::IcuCodePage& row : platform::IcuCodePages()) {
    const platform::SingleByteTable* table = platform::FindSingleByteTable(row);
    if (!table)
      continue;
    ++tables;
    platform::ErrorCode error = 0;
    platform::IcuConverter converter = platform::OpenIcuConverter(row, error);
    ASSERT_TRUE(converter) << row.codePage;
    int mismatches = 0;
    for (int b = 0; b < 0x100; ++b) {
      const char byte = static_cast<char>(b);
      char16_t unit = 0;
      UErrorCode status = U_ZERO_ERROR;
      ucnv_toUChars(converter.get(), &unit, 1, &byte, 1, &status);
      mismatches += U_FAILURE(status) || unit != table->units[b];
    }
    for (int u = 0; u < 0x10000; ++u) {
      if (u >= 0xD800 && u <= 0xDFFF) {
        mismatches += table->bytes[u] != platform::SingleByteTable::kNotAByte;
        continue;
      }
      const char16_t unit = static_cast<char16_t>(u);
      char byte = 0;
      UErrorCode status = U_ZERO_ERROR;
      const int32_t length = ucnv_fromUChars(converter.get(), &byte, 1, &unit, 1, &status);
      const std::uint16_t expected =
          length == 0 ? platform::SingleByteTable::kNotAByte : static_cast<unsigned char>(byte);
      mismatches += U_FAILURE(status) || length > 1 || table->bytes[u] != expected;
    }
    EXPECT_EQ(mismatches, 0) << row.codePage;
  }
  EXPECT_GT(tables, 50);
}
