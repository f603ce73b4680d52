#include "ui/exclusion_preset.h"

#include <gtest/gtest.h>

TEST(ExclusionPreset, AddsOnlyTheItemsTheFieldLacks) {
  const std::u16string preset = u".git\\,bin\\";
  struct Case {
    std::u16string field, expected;
  } cases[] = {{u"", u"\".git\\\",\"bin\\\""},
               {u"  ", u"\".git\\\",\"bin\\\""},
               {u"*.min.js", u"*.min.js,\".git\\\",\"bin\\\""},
               {u"\"bin\\\", .git\\", u"\"bin\\\", .git\\"},
               {u"a,,b", u"a,,b,\".git\\\",\"bin\\\""}};
  for (const Case& c : cases)
    EXPECT_EQ(AddExclusionPreset(c.field, preset), c.expected);
}
