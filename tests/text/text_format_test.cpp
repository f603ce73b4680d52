#include "text/text_format.h"

#include <gtest/gtest.h>

#include "platform/string_table.h"

TEST(FormatText, FillsDirectivesInOrder) {
  EXPECT_EQ(FormatText(u"%d matches found", {std::int64_t{3}}), u"3 matches found");
  EXPECT_EQ(FormatText(u"Path \"%s\" is not valid", {u"C:\\x"}), u"Path \"C:\\x\" is not valid");
  EXPECT_EQ(FormatText(u"%d/%d/%d", {std::int64_t{7}, std::int64_t{-3}, std::int64_t{2025}}),
            u"7/-3/2025");
  EXPECT_EQ(FormatText(u"(line %d, %s)", {std::int64_t{1}, u"x"}), u"(line 1, x)");
  EXPECT_EQ(FormatText(u"64-bit %d", {std::int64_t{5000000000}}), u"64-bit 5000000000");
}

TEST(FormatText, PercentSignsAndUnmatchedDirectives) {
  EXPECT_EQ(FormatText(u"100%%", {}), u"100%");
  EXPECT_EQ(FormatText(u"trailing %", {}), u"trailing %");
  EXPECT_EQ(FormatText(u"%x and %d", {}), u"%x and %d");
  // A %s whose argument is a number is not filled, and the argument stays for later.
  EXPECT_EQ(FormatText(u"%s %d", {std::int64_t{4}}), u"%s 4");
  // An argument's own percent signs are not read as directives.
  EXPECT_EQ(FormatText(u"%s %d", {u"%d", std::int64_t{2}}), u"%d 2");
}

TEST(FormatText, FormatStringUsesTheStringTable) {
  EXPECT_EQ(FormatString(IDS_FOUND_FILES, {std::int64_t{12}}), u"Found files: 12");
}
