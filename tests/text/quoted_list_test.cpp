#include "text/quoted_list.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <random>

using ::testing::ElementsAre;
using ::testing::IsEmpty;
using Items = std::vector<std::u16string>;

namespace {

struct ParseCase {
  std::u16string text;
  bool ok;
  Items items;
};

}  // namespace

TEST(ParseQuotedList, EdgeCaseTable) {
  const ParseCase cases[] = {
      {u"C:\\Work", true, {u"C:\\Work"}},
      {u"  \"C:\\My Files\"  ", true, {u"C:\\My Files"}},
      {u"\"*.bat\", \"*.cmd\"", true, {u"*.bat", u"*.cmd"}},
      {u"*.txt,*.htm", true, {u"*.txt", u"*.htm"}},
      {u"*.txt,", false, {}},
      {u",*.txt", false, {}},
      {u"a,,b", false, {}},
      {u"a, ,b", false, {}},
      {u"\"C:\\a,b\"", true, {u"C:\\a", u"b"}},
      {u"\"\"", false, {}},
      {u"\"", false, {}},
      {u"a\"b", true, {u"a\"b"}},
      {u"\"  x  \"", true, {u"x"}},
      {u"C:\\a, \"D:\\b\", C:\\a", true, {u"C:\\a", u"D:\\b", u"C:\\a"}},
      {u"", false, {}},
      {u" \t\r\n", false, {}},
      // Only one quote at each end goes; inner and doubled quotes stay.
      {u"\"\"x\"\"", true, {u"\"x\""}},
      // Tabs, line breaks and Unicode spaces are blanks too.
      {u"\tx\r\n,\x3000y\xA0", true, {u"x", u"y"}},
  };
  for (const ParseCase& c : cases) {
    Items out{u"stale"};
    EXPECT_EQ(ParseQuotedList(c.text, out), c.ok) << std::string(c.text.begin(), c.text.end());
    EXPECT_EQ(out, c.items) << std::string(c.text.begin(), c.text.end());
  }
}

TEST(ParseQuotedList, FailureEmptiesOutputEvenAfterGoodItems) {
  Items out;
  EXPECT_FALSE(ParseQuotedList(u"a, b, c, ", out));
  EXPECT_THAT(out, IsEmpty());
}

TEST(JoinQuotedList, QuotesEveryItemWithoutBlanks) {
  EXPECT_EQ(JoinQuotedList({u"C:\\a", u"D:\\b"}), u"\"C:\\a\",\"D:\\b\"");
  EXPECT_EQ(JoinQuotedList({}), u"");
  EXPECT_EQ(JoinQuotedList({u"one"}), u"\"one\"");
}

TEST(JoinQuotedList, CommaInsideAnItemComesBackAsTwoItems) {
  Items out;
  ASSERT_TRUE(ParseQuotedList(JoinQuotedList({u"C:\\a,b", u"D:\\c"}), out));
  EXPECT_THAT(out, ElementsAre(u"C:\\a", u"b", u"D:\\c"));
}

// Any items without commas and without blanks or quotes at their ends survive a round trip.
TEST(QuotedList, RoundTripProperty) {
  std::mt19937 random(20261209);
  const std::u16string alphabet = u"ab\"C:\\ *.?\tx\xE9\x4E2D";
  auto pick = [&](size_t n) { return std::uniform_int_distribution<size_t>(0, n - 1)(random); };
  for (int round = 0; round < 500; ++round) {
    Items items(1 + pick(5));
    for (std::u16string& item : items) {
      size_t length = 1 + pick(8);
      for (size_t i = 0; i < length; ++i)
        item += alphabet[pick(alphabet.size())];
      while (!item.empty() && (IsListBlank(item.front()) || item.front() == u'"'))
        item.erase(0, 1);
      while (!item.empty() && (IsListBlank(item.back()) || item.back() == u'"'))
        item.pop_back();
      if (item.empty())
        item.push_back(u'x');
    }
    Items parsed;
    ASSERT_TRUE(ParseQuotedList(JoinQuotedList(items), parsed));
    EXPECT_EQ(parsed, items);
  }
}
