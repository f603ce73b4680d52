#include "ui/start_paths.h"

#include <gtest/gtest.h>

TEST(SplitCommandLine, QuotesGroupAndBackslashesStayPlain) {
  const struct {
    std::u16string_view line;
    std::vector<std::u16string> arguments;
  } cases[] = {
      {u"", {}},
      {u"  \t ", {}},
      {u"C:\\Work", {u"C:\\Work"}},
      {u"\"C:\\My Files\"", {u"C:\\My Files"}},
      {u"\"C:\\\"", {u"C:\\"}},  // Explorer's "%V" on a drive
      {u"\"D:\\a b\\\" E:\\c", {u"D:\\a b\\", u"E:\\c"}},
      {u"\"\" x", {u"x"}},
      {u"\"C:\\open", {u"C:\\open"}},
      {u"a\"b c\"d", {u"ab cd"}},
  };
  for (const auto& c : cases)
    EXPECT_EQ(SplitCommandLine(c.line), c.arguments) << "case " << (&c - cases);
}
