#include "platform/lower_case.h"

#include <gtest/gtest.h>

#include "text/lower_case.h"

TEST(LowerCase, UnitsAndTexts) {
  EXPECT_EQ(platform::LowerCaseUnit(u'A'), u'a');
  EXPECT_EQ(platform::LowerCaseUnit(u'z'), u'z');
  EXPECT_EQ(platform::LowerCaseUnit(u'\x00C9'), u'\x00E9');  // É to é
  EXPECT_EQ(platform::LowerCaseUnit(u'\x0410'), u'\x0430');  // Cyrillic А to а
  EXPECT_EQ(platform::LowerCaseUnit(u'1'), u'1');
  EXPECT_EQ(platform::LowerCaseUnit(u'\xD800'), u'\xD800') << "surrogates stay";
  std::u16string text = u"Read ME.TXT \x00C9t\x00C9";
  LowerCaseInPlace(text);
  EXPECT_EQ(text, u"read me.txt \x00E9t\x00E9");
}
