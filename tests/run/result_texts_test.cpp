#include "run/result_texts.h"

#include <gtest/gtest.h>

TEST(SizeText, TruncatesToTheLargestUnitWithOneSpace) {
  const std::pair<std::uint64_t, std::u16string> cases[] = {
      {0, u"0 Bytes"},
      {1023, u"1023 Bytes"},
      {1024, u"1 KB"},
      {1536, u"1 KB"},
      {1048575, u"1023 KB"},
      {1048576, u"1 MB"},
      {5ull << 30, u"5 GB"},
      {4ull << 40, u"4 TB"},
      // Beyond TB the number grows instead of the unit.
      {2048ull << 40, u"2048 TB"},
      {~0ull, u"16777215 TB"},
  };
  for (const auto& [size, text] : cases)
    EXPECT_EQ(SizeText(size), text) << size;
}

TEST(DateText, NoLeadingZerosAndNoSeconds) {
  CalendarTime morning{2026, 12, 2, 8, 9, 5, 59, 0};
  EXPECT_EQ(DateText(morning), u"8:12:2026  9:5");
  CalendarTime newYear{2026, 1, 4, 1, 0, 0, 0, 0};
  EXPECT_EQ(DateText(newYear), u"1:1:2026  0:0");
}

TEST(MatchDetailsText, PathThenOneLinePerMatchCountedFromOne) {
  CFileResult result;
  result.matches = {{0, 0}, {1, 1}, {41, 7}};
  EXPECT_EQ(MatchDetailsText(u"C:\\w\\a.txt", result),
            u"C:\\w\\a.txt\r\n"
            u"Line number: 1. Character number: 1\r\n"
            u"Line number: 2. Character number: 2\r\n"
            u"Line number: 42. Character number: 8\r\n");
  result.matches.clear();
  EXPECT_EQ(MatchDetailsText(u"C:\\w\\a.txt", result), u"C:\\w\\a.txt\r\n");
}
