#include "processing/search/match_edit.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "processing/search/plain_name_search.h"
#include "processing/search/plain_scan.h"
#include "tests/support/recording_channel.h"
#include "tests/text/regex/regex_test_support.h"

namespace {

// The plain scan, the regex loop and the name search change a text alike for every action:
// each edit where the action puts it, inserted text never searched again.
TEST(MatchEdit, EveryEngineMakesTheSameEdits) {
  struct Case {
    ActionType action;
    std::u16string replace;
    std::u16string expected;
  };
  const Case cases[] = {
      {ActionType::Replace, u"X", u"XcX"},
      {ActionType::Replace, u"aab", u"aabcaab"},
      {ActionType::Delete, u"", u"c"},
      {ActionType::PlaceBefore, u"ab", u"ababcabab"},
      {ActionType::PlaceAfter, u"ab", u"ababcabab"},
      {ActionType::PlaceAfter, u"X", u"abXcabX"},
      {ActionType::AddToBeginning, u"X", u"Xabcab"},
      {ActionType::AddToEnd, u"X", u"abcabX"},
  };
  const std::u16string text = u"abcab";
  for (const Case& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.action));
    TextBuffer buffer;
    ASSERT_TRUE(TextBuffer::FromText(text, buffer));
    std::vector<CFileResult::replace_info> matches;
    const MatchConsent yes = [](const CFileResult::replace_info&, const ChangeDescription&) {
      return true;
    };
    ASSERT_EQ(ScanPlainText(buffer, c.action, u"ab", c.replace, true, yes, matches), 0u);
    EXPECT_EQ(std::u16string(buffer.view()), c.expected) << "plain scan";

    EXPECT_EQ(regex_test::Apply(u"ab", text, c.action, c.replace).text, c.expected) << "regex";

    RecordingChannel window;
    RunParameters parameters;
    parameters.targetWindow = &window;
    parameters.confirmState = ConfirmAnswer::YesToAll;
    parameters.action = c.action;
    parameters.findText = u"ab";
    parameters.replaceText = c.replace;
    CFileResult file;
    std::u16string name = text;
    SearchNamePlain(parameters, file, name);
    EXPECT_EQ(name, c.expected) << "name search";
  }
}

}  // namespace
