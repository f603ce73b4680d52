#include <gtest/gtest.h>

#include "platform/string_table.h"

// The same texts come back on both targets: from the generated table natively and from the
// compiled STRINGTABLE on Windows, which exercises the resource compiler's escaping.
TEST(StringTable, TextsKeepQuotesBackslashesAndLineBreaks) {
  EXPECT_EQ(platform::LoadText(IDS_ABOUTBOX), u"&About VOXA...");
  EXPECT_EQ(platform::LoadText(IDS_DEFAULT_MASK), u"\"*.*\"");
  EXPECT_EQ(platform::LoadText(IDS_HELP_FILE), u"\\VOXAHELP.chm");
  EXPECT_EQ(platform::LoadText(IDS_RENAME_SINGLE_LINE),
            u"The \"Text to find/replace\" and  \"Replace with text\" must be a single line for "
            u"\"file rename\" mode.");
  EXPECT_EQ(platform::LoadText(IDS_CONFIRM_MESSAGE),
            u"The following file:\n\"%s\"\n(line %d, character %d) will be processed. Continue?");
  EXPECT_EQ(platform::LoadText(IDS_SIZE_UNITS), u"\" Bytes\",\" KB\",\" MB\",\" GB\",\"TB\"");
}

TEST(StringTable, NumberedTextsSitAtTheirIds) {
  EXPECT_EQ(platform::LoadText(110), u"Error");
  EXPECT_EQ(platform::LoadText(120), u"Ready");
  EXPECT_EQ(platform::LoadText(107), u"ASCII");
  EXPECT_EQ(platform::LoadText(141), u"US-Canada (IBM EBCDIC)");
  EXPECT_EQ(platform::LoadText(292), u"Unicode (UTF-8)");
  EXPECT_EQ(platform::LoadText(295), u"Voxalon (Version %s)");
  EXPECT_EQ(platform::LoadText(315), u"Couldn't continue search with mask %s with error: %s");
  for (unsigned unused : {182u, 183u, 247u})
    EXPECT_EQ(platform::LoadText(unused), u"");
}

TEST(StringTable, UnknownIdGivesEmptyText) {
  EXPECT_EQ(platform::LoadText(9999), u"");
}
