#include "text/text_history.h"

#include <gtest/gtest.h>

TEST(TextHistory, NewestFirstWithoutRepeatsUpToTheLimit) {
  std::vector<std::u16string> history;
  for (const char16_t* entry : {u"a", u"b", u"", u"c", u"a"})
    RememberEntry(history, entry, 3);
  EXPECT_EQ(history, (std::vector<std::u16string>{u"a", u"c", u"b"}));
  RememberEntry(history, u"d", 3);
  EXPECT_EQ(history, (std::vector<std::u16string>{u"d", u"a", u"c"}));
}

TEST(TextHistory, StoredFormKeepsAnyTextAndRejectsDamage) {
  const std::vector<std::u16string> entries = {u"two\r\nlines", u"a,\"b\"", std::u16string(u"\u00E9\0x", 3)};
  std::vector<std::u16string> decoded;
  ASSERT_TRUE(DecodeHistory(EncodeHistory(entries), decoded));
  EXPECT_EQ(decoded, entries);
  std::vector<unsigned char> bytes = EncodeHistory(entries);
  bytes.pop_back();
  EXPECT_FALSE(DecodeHistory(bytes, decoded));
  EXPECT_EQ(decoded, entries) << "left as it was";
  EXPECT_FALSE(DecodeHistory(EncodeHistory(std::vector<std::u16string>(21, u"x")), decoded));
  EXPECT_TRUE(DecodeHistory({}, decoded));
  EXPECT_TRUE(decoded.empty());
}
