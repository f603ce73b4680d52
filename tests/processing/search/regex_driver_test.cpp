#include "processing/search/regex_driver.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "tests/text/regex/regex_test_support.h"

using regex_test::Apply;
using regex_test::DriverResult;

namespace {

constexpr ConfirmAnswer kYes = ConfirmAnswer::Yes;
constexpr ConfirmAnswer kNo = ConfirmAnswer::No;

}  // namespace

TEST(ApplyRegexToText, CaptureGroupsMarkWhatChanges) {
  DriverResult r = Apply(u"a{b+}c", u"abbbc", ActionType::Replace, u"X");
  EXPECT_EQ(r.text, u"aXc");
  EXPECT_EQ(r.positions, "0:1") << "the position of the region";
  EXPECT_EQ(Apply(u"x{a}y{b}z", u"xaybz", ActionType::Replace, u"-").text, u"x-z");
  EXPECT_EQ(Apply(u"a{b}", u"abab", ActionType::Delete).text, u"aa");
  EXPECT_EQ(Apply(u"a{b}", u"ab", ActionType::PlaceBefore, u"<").text, u"a<b");
  EXPECT_EQ(Apply(u"{a}b", u"ab", ActionType::PlaceAfter, u">").text, u"a>b");
}

TEST(ApplyRegexToText, RegionFallsBackToTheWholeMatch) {
  // The group did not take part.
  EXPECT_EQ(Apply(u"{a}|b", u"ab", ActionType::Replace, u"X").text, u"XX");
  // Group 0 starts after the last group ends.
  EXPECT_EQ(Apply(u"({a}|{b}|.)*", u"bca", ActionType::Replace, u"X").text, u"X");
}

TEST(ApplyRegexToText, EachActionAndWhereTheSearchGoesOn) {
  DriverResult replace = Apply(u"a", u"aaa", ActionType::Replace, u"bb");
  EXPECT_EQ(replace.text, u"bbbbbb");
  EXPECT_EQ(replace.positions, "0:0 0:2 0:4") << "positions in the text as changed so far";

  DriverResult remove = Apply(u"a", u"aaa", ActionType::Delete);
  EXPECT_EQ(remove.text, u"");
  EXPECT_EQ(remove.positions, "0:0 0:0 0:0");

  DriverResult before = Apply(u"x", u"xx", ActionType::PlaceBefore, u"x");
  EXPECT_EQ(before.text, u"xxxx");
  EXPECT_EQ(before.positions, "0:0 0:2") << "inserted text is not searched";

  DriverResult after = Apply(u"x", u"xx", ActionType::PlaceAfter, u"x");
  EXPECT_EQ(after.text, u"xxxx");
  EXPECT_EQ(after.positions, "0:0 0:2");

  DriverResult find = Apply(u"aa", u"aaaaa", ActionType::FindOnly);
  EXPECT_EQ(find.text, u"aaaaa");
  EXPECT_EQ(find.positions, "0:0 0:2");
}

TEST(ApplyRegexToText, AddingToTheTextHappensOncePerText) {
  DriverResult end = Apply(u"a", u"bababa", ActionType::AddToEnd, u"!");
  EXPECT_EQ(end.text, u"bababa!");
  EXPECT_EQ(end.positions, "0:1");
  DriverResult start = Apply(u"a", u"bababa", ActionType::AddToBeginning, u"!");
  EXPECT_EQ(start.text, u"!bababa");
  EXPECT_EQ(start.positions, "0:1");
  // Declined matches do not end the search.
  DriverResult declined = Apply(u"a", u"bababa", ActionType::AddToEnd, u"!", {kNo, kYes});
  EXPECT_EQ(declined.text, u"bababa!");
  EXPECT_EQ(declined.positions, "0:3");
}

TEST(ApplyRegexToText, AnchorHoldsWhereEachSearchStarts) {
  DriverResult r = Apply(u"^a", u"aaab", ActionType::Replace, u"X");
  EXPECT_EQ(r.text, u"XXXb");
  EXPECT_EQ(r.positions, "0:0 0:1 0:2");
  EXPECT_EQ(Apply(u"^a", u"aaab", ActionType::FindOnly).positions, "0:0 0:1 0:2");
  EXPECT_EQ(Apply(u"^a", u"baaa", ActionType::FindOnly).positions, "");
}

TEST(ApplyRegexToText, ConfirmationPerMatch) {
  DriverResult r = Apply(u"a", u"aaa", ActionType::Replace, u"X", {kNo, kYes, kNo});
  EXPECT_EQ(r.text, u"aXa");
  EXPECT_EQ(r.questions, 3u);
  EXPECT_EQ(r.positions, "0:1") << "only accepted matches are recorded";

  DriverResult all = Apply(u"a", u"aaa", ActionType::Replace, u"X", {ConfirmAnswer::YesToAll});
  EXPECT_EQ(all.text, u"XXX");
  EXPECT_EQ(all.questions, 1u);

  DriverResult none = Apply(u"a", u"aaa", ActionType::Delete, u"", {ConfirmAnswer::NoToAll});
  EXPECT_EQ(none.text, u"aaa");
  EXPECT_EQ(none.questions, 1u);
  EXPECT_EQ(none.positions, "");

  // Find only never asks.
  EXPECT_EQ(Apply(u"a", u"aaa", ActionType::FindOnly, u"", {kNo}).questions, 0u);
}

TEST(ApplyRegexToText, QuestionsCarryTheRegionPosition) {
  RegexProgram program;
  ASSERT_EQ(CompileRegex(true, program, u"c{b}"), 0);
  RecordingChannel window({kNo, kNo}, ConfirmAnswer::No);
  RunParameters parameters;
  parameters.action = ActionType::Replace;
  parameters.regex = &program;
  parameters.targetWindow = &window;
  TextBuffer buffer;
  ASSERT_TRUE(TextBuffer::FromText(u"cb\r\nacb\rcb", buffer));
  CFileResult file;
  EXPECT_EQ(ApplyRegexToText(parameters, file, buffer), 0u);
  EXPECT_EQ(regex_test::Positions(window.asked), "0:1 1:2 2:1");
}

TEST(ApplyRegexToText, LinePositions) {
  EXPECT_EQ(Apply(u"ab", u"ab\r\ncab", ActionType::FindOnly).positions, "0:0 1:1");
  EXPECT_EQ(Apply(u"a", u"\n\ra\r\r\na", ActionType::FindOnly).positions, "2:0 4:0");
  // A pattern ending in \n takes only the CR of a CR LF pair.
  EXPECT_EQ(Apply(u"a\\n", u"a\r\nb", ActionType::Replace, u"X").text, u"X\nb");
  // Breaks inserted by earlier changes count.
  EXPECT_EQ(Apply(u"a", u"aa", ActionType::Replace, u"\r\n").positions, "0:0 1:0");
}

TEST(ApplyRegexToText, EmptyMatchesArePassedOver) {
  DriverResult r = Apply(u"a*", u"baab", ActionType::Replace, u"X");
  EXPECT_EQ(r.text, u"bXb");
  EXPECT_EQ(r.positions, "0:1");
  EXPECT_EQ(Apply(u"!b", u"ab", ActionType::PlaceBefore, u"X").text, u"ab");
  EXPECT_EQ(Apply(u"", u"ab", ActionType::AddToEnd, u"X").text, u"ab");
  EXPECT_EQ(Apply(u"a!b", u"abac", ActionType::Delete).text, u"abc");
}

TEST(ApplyRegexToText, EmptyRegionStillMovesOn) {
  DriverResult remove = Apply(u"{}a", u"aaa", ActionType::Delete);
  EXPECT_EQ(remove.text, u"aaa");
  EXPECT_EQ(remove.positions, "0:0 0:1 0:2");
  DriverResult insert = Apply(u"{}a", u"aaa", ActionType::Replace, u"X");
  EXPECT_EQ(insert.text, u"XaXaXa");
  EXPECT_EQ(insert.positions, "0:0 0:2 0:4");
  EXPECT_EQ(Apply(u"{}a", u"aaa", ActionType::PlaceAfter, u"X").text, u"XaXaXa");
  EXPECT_EQ(Apply(u"{}a", u"aaa", ActionType::FindOnly).positions, "0:0 0:1 0:2");
  EXPECT_EQ(Apply(u"{}a", u"aaa", ActionType::Replace, u"X", {kNo, kNo, kNo}).questions, 3u);
  // An empty region inside the match.
  DriverResult middle = Apply(u"a{}b", u"abab", ActionType::Replace, u"-");
  EXPECT_EQ(middle.text, u"a-ba-b");
  EXPECT_EQ(middle.positions, "0:1 0:4");
}

TEST(ApplyRegexToText, EveryPatternAndActionEnds) {
  const char16_t* patterns[] = {u"",     u"a*",  u"!a",    u"{}",    u"{}a", u"a{}",
                                u"(a|)", u"$",   u"^",     u"!{a}",  u"a??", u"{a?}{}",
                                u"\\n",  u"a!a", u"{!a}.", u"a*?{}", u"{}!b"};
  const char16_t* texts[] = {u"", u"a", u"aaa", u"ab\r\nba", u"b"};
  for (const char16_t* pattern : patterns) {
    for (const char16_t* text : texts) {
      for (int action = 0; action <= 6; ++action) {
        for (const char16_t* replacement : {u"", u"a", u"ab"}) {
          const std::u16string_view view(text);
          DriverResult r = Apply(pattern, view, static_cast<ActionType>(action), replacement);
          EXPECT_EQ(r.error, 0u);
          // Never more records than units plus one.
          EXPECT_LE(std::count(r.positions.begin(), r.positions.end(), ':'),
                    static_cast<std::ptrdiff_t>(view.size() + 1))
              << regex_test::Narrow(pattern) << " / " << regex_test::Narrow(view);
        }
      }
    }
  }
}

TEST(ApplyRegexToText, StopsAtTheFirstZeroUnit) {
  std::u16string text = u"abcd";
  text += u'\0';
  text += u"ef";
  EXPECT_EQ(Apply(u".", text, ActionType::FindOnly).positions, "0:0 0:1 0:2 0:3");
  EXPECT_EQ(Apply(u"e|x?", text, ActionType::FindOnly).positions, "");
  // Changes before the zero unit move it; the text after it is kept.
  DriverResult r = Apply(u"b", text, ActionType::Replace, u"XYZ");
  EXPECT_EQ(r.text.substr(0, 6), u"aXYZcd");
  EXPECT_EQ(r.text.substr(7), u"ef");
  DriverResult end = Apply(u"d", text, ActionType::AddToEnd, u"!");
  EXPECT_EQ(end.text.back(), u'!') << "added after the last unit of the buffer";
  // A zero unit that a replacement brings in ends the text there.
  std::u16string zero = u"X";
  zero += u'\0';
  DriverResult ended = Apply(u"a", u"aaa", ActionType::Replace, zero);
  EXPECT_EQ(ended.positions, "0:0");
  EXPECT_EQ(ended.text.size(), 4u);
}

TEST(ApplyRegexToText, FailuresAbandonTheText) {
  RegexMatchLimits small;
  small.maxStackEntries = 300;
  const std::u16string text(1000, u'a');
  DriverResult full = Apply(u"{a}*", text, ActionType::Replace, u"X", {}, true, small);
  EXPECT_EQ(full.error, platform::kErrorOutOfMemory);

  platform::StopEvent stop;
  stop.Set();
  RegexMatchLimits stopped;
  stopped.stop = &stop;
  stopped.stepsBetweenStopChecks = 100000;
  DriverResult runaway = Apply(u"(b)|(((a)|(aa))*c)", u"b" + std::u16string(40, u'a'),
                               ActionType::Replace, u"X", {}, true, stopped);
  EXPECT_EQ(runaway.error, platform::kErrorCancelled);
  EXPECT_EQ(runaway.positions, "0:0") << "what came before is only partly done";
}

TEST(ApplyRegexToText, NothingToSearch) {
  RunParameters parameters;
  CFileResult file;
  TextBuffer empty;
  EXPECT_EQ(ApplyRegexToText(parameters, file, empty), 0u) << "no program";
  RegexProgram program;
  ASSERT_EQ(CompileRegex(true, program, u"(a"), kRegexParenthesisExpected);
  parameters.regex = &program;
  TextBuffer text;
  ASSERT_TRUE(TextBuffer::FromText(u"a", text));
  EXPECT_EQ(ApplyRegexToText(parameters, file, text), 0u);
  EXPECT_TRUE(file.matches.empty());
}
