#include "text/regex/line_position.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

namespace {

std::string At(std::u16string_view text, size_t offset) {
  LineColumn where = LinePosition(text.data(), text.data() + offset);
  return std::to_string(where.line) + ":" + std::to_string(where.column);
}

}  // namespace

TEST(LinePosition, EachKindOfBreakCountsOnce) {
  const std::u16string_view text = u"ab\r\ncd\ne\rf\n\r\r\ng";
  EXPECT_EQ(At(text, 0), "0:0");
  EXPECT_EQ(At(text, 2), "0:2");
  EXPECT_EQ(At(text, 3), "1:0") << "between CR and LF the CR has counted";
  EXPECT_EQ(At(text, 4), "1:0") << "the LF of the pair adds nothing";
  EXPECT_EQ(At(text, 5), "1:1");
  EXPECT_EQ(At(text, 7), "2:0");
  EXPECT_EQ(At(text, 9), "3:0");
  EXPECT_EQ(At(text, text.size() - 1), "6:0") << "LF, then CR, then CR LF";
}

TEST(LineCounter, AgreesWithAUnitByUnitCount) {
  // Long enough for the block counting, with breaks of every kind at every alignment.
  std::u16string text;
  std::uint32_t seed = 12345;
  for (int i = 0; i < 300000; ++i) {
    seed = seed * 1103515245 + 12345;
    const unsigned roll = (seed >> 16) % 40;
    text += roll == 0 ? u'\r' : roll == 1 ? u'\n' : u'x';
  }
  text += std::u16string(70000, u'y');  // a long last line
  LineCounter counter;
  std::int64_t line = 0, column = 0;
  size_t checked = 0;
  for (size_t offset = 0; offset <= text.size(); offset += 1 + (offset * 7919) % 4099) {
    for (; checked < offset; ++checked) {
      const char16_t c = text[checked];
      if (c == u'\r' || (c == u'\n' && (checked == 0 || text[checked - 1] != u'\r'))) {
        ++line;
        column = 0;
      } else if (c != u'\n') {
        ++column;
      }
    }
    LineColumn actual = counter.At(text.data(), offset);
    ASSERT_EQ(actual.line, line) << offset;
    ASSERT_EQ(actual.column, column) << offset;
  }
  for (; checked < text.size(); ++checked)
    column += text[checked] != u'\r' && text[checked] != u'\n';
  LineColumn whole = LinePosition(text.data(), text.data() + text.size());
  EXPECT_EQ(whole.line, line);
  EXPECT_EQ(whole.column, column);
  // Going back starts over.
  LineColumn again = counter.At(text.data(), 3);
  EXPECT_EQ(again.line, LinePosition(text.data(), text.data() + 3).line);
}
