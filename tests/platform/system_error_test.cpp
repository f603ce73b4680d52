#include "platform/system_error.h"

#include <gtest/gtest.h>

TEST(FormatSystemError, GivesTheSystemTextWithItsLineBreak) {
  for (platform::ErrorCode code : {platform::kErrorOutOfMemory, platform::kErrorCancelled,
                                   platform::kErrorCodePageNotSupported}) {
    std::u16string text;
    ASSERT_TRUE(FormatSystemError(code, text)) << code;
    ASSERT_GE(text.size(), 3u);
    EXPECT_EQ(text.substr(text.size() - 2), u"\r\n") << code;
  }
}

TEST(FormatSystemError, UnknownCodeLeavesTheTextAlone) {
  std::u16string text = u"unchanged";
#ifdef _WIN32
  EXPECT_FALSE(FormatSystemError(0x7FFFFFF0u, text));
  EXPECT_EQ(text, u"unchanged");
#else
  // The C library names every number ("Unknown error N"), so only the form is checked.
  EXPECT_TRUE(FormatSystemError(0x7FFFFFF0u, text));
#endif
}
