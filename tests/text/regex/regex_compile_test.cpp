#include "text/regex/regex_compiler.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "regex_test_support.h"

namespace {

int Compile(std::u16string_view pattern, bool caseSensitive = true) {
  RegexProgram program;
  return CompileRegex(caseSensitive, program, pattern);
}

}  // namespace

TEST(CompileRegex, BracketErrors) {
  EXPECT_EQ(Compile(u"{ab"), kRegexBraceExpected);
  EXPECT_EQ(Compile(u"(ab"), kRegexParenthesisExpected);
  EXPECT_EQ(Compile(u"(a}b)"), kRegexParenthesisExpected) << "a brace does not close a parenthesis";
  EXPECT_EQ(Compile(u"{a)b}"), kRegexBraceExpected);
  EXPECT_EQ(Compile(u"[ab"), kRegexBracketExpected);
  EXPECT_EQ(Compile(u"["), kRegexBracketExpected);
  EXPECT_EQ(Compile(u"[a-"), kRegexBracketExpected);
  EXPECT_EQ(Compile(u"[a-]"), kRegexBracketExpected);
  EXPECT_EQ(Compile(u"[a\\"), kRegexBracketExpected) << "a backslash ending the class";
  EXPECT_EQ(Compile(u"[]"), kRegexEmptyRange);
  EXPECT_EQ(Compile(u"[^]"), kRegexEmptyRange);
  EXPECT_EQ(Compile(u"[z-a]"), kRegexInvalidRange);
  EXPECT_EQ(Compile(u"[a--]"), kRegexInvalidRange);
}

TEST(CompileRegex, BackReferenceMustNameAnEarlierGroup) {
  EXPECT_EQ(Compile(u"{a}\\1"), kRegexInvalidGroup);
  EXPECT_EQ(Compile(u"\\0{a}"), kRegexInvalidGroup);
  EXPECT_EQ(Compile(u"{a}\\0"), kRegexOk);
  EXPECT_EQ(Compile(u"{a}{b}\\01"), kRegexOk) << "all digits make the number";
  EXPECT_EQ(Compile(u"{a}\\99999999999999999999"), kRegexInvalidGroup) << "no overflow";
  // A group dropped with its alternation does not count.
  EXPECT_EQ(Compile(u"({a}|)\\0"), kRegexInvalidGroup);
}

TEST(CompileRegex, RepeatOfWhatCanBeEmpty) {
  for (const char16_t* pattern : {u"(a*)*", u"(a?)+", u"()*", u"(a|b?)*", u"(!a)*", u"(a*)*?",
                                  u"(a?)+?", u"(a+?)*", u"(a|b|)*"})
    EXPECT_EQ(Compile(pattern), kRegexEmptyRepeat) << regex_test::Narrow(pattern);
  for (const char16_t* pattern : {u"(a?)?", u"(a*)??", u"(a+)*", u"{a}\\0+", u"(ab?)*", u"\\w*"})
    EXPECT_EQ(Compile(pattern), kRegexOk) << regex_test::Narrow(pattern);
}

TEST(CompileRegex, LenientForms) {
  for (const char16_t* pattern : {u"", u"ab)cd", u"ab]", u"}", u"ab|", u"a**", u"|b", u"^", u"\\",
                                  u"a$b", u"!", u"(!)", u"[\\]]", u"[-a]", u"a|b|"})
    EXPECT_EQ(Compile(pattern), kRegexOk) << regex_test::Narrow(pattern);
}

TEST(CompileRegex, AbsentPatternIsInvalidInput) {
  RegexProgram program;
  EXPECT_EQ(CompileRegex(true, program, static_cast<const char16_t*>(nullptr)), kRegexInvalidInput);
  EXPECT_EQ(program.lastError, kRegexInvalidInput);
  EXPECT_EQ(CompileRegex(true, program, u""), kRegexOk) << "an empty pattern is not absent";
}

TEST(CompileRegex, PatternEndsAtItsFirstZeroUnit) {
  std::u16string pattern = u"ab";
  pattern += u'\0';
  pattern += u"(";
  EXPECT_EQ(Compile(pattern), kRegexOk);
  EXPECT_EQ(regex_test::Found(pattern, u"xab"), "ab");
}

TEST(CompileRegex, FoldsThePatternWithoutCaseSensitivity) {
  // [Z-a] is valid as typed but becomes [z-a].
  EXPECT_EQ(Compile(u"[Z-a]", true), kRegexOk);
  EXPECT_EQ(Compile(u"[Z-a]", false), kRegexInvalidRange);
}

TEST(CompileRegex, ErrorLeavesAnEmptyProgramThatNeverMatches) {
  RegexProgram program;
  ASSERT_EQ(CompileRegex(true, program, u"a"), kRegexOk);
  ASSERT_EQ(CompileRegex(true, program, u"(a"), kRegexParenthesisExpected);
  EXPECT_EQ(program.lastError, kRegexParenthesisExpected);
  RegexMatch match;
  EXPECT_FALSE(MatchRegex(program, u"a", match));
  EXPECT_EQ(match.error(), 0u);
}

TEST(CompileRegex, DeepNestingIsRefusedWithoutCrashing) {
  for (char16_t open : {u'(', u'{', u'!'}) {
    std::u16string pattern(100000, open);
    EXPECT_EQ(Compile(pattern), kRegexOutOfMemory);
  }
  std::u16string balanced = std::u16string(50000, u'(') + u"a" + std::u16string(50000, u')');
  EXPECT_EQ(Compile(balanced), kRegexOutOfMemory);
  std::u16string allowed = std::u16string(100, u'(') + u"a" + std::u16string(100, u')');
  EXPECT_EQ(Compile(allowed), kRegexOk);
}

TEST(CompileRegex, RunawayProgramSizeIsRefused) {
  // Each "+" doubles its atom; thirty of them nested cannot be emitted.
  std::u16string pattern = u"a";
  for (int i = 0; i < 30; ++i)
    pattern = u"(" + pattern + u"b)+";
  EXPECT_EQ(Compile(pattern), kRegexOutOfMemory);
}

TEST(CompileRegex, LongAlternationChainsCompile) {
  std::u16string pattern = u"a";
  for (int i = 0; i < 20000; ++i)
    pattern += u"|a";
  EXPECT_EQ(Compile(pattern), kRegexOk);
  EXPECT_EQ(regex_test::Found(pattern + u"b", u"xab"), "ab");
}

TEST(CompileRegex, ProgramFrameAndCapturingGroup) {
  RegexProgram program;
  ASSERT_EQ(CompileRegex(true, program, u"{a}"), kRegexOk);
  using Op = RegexOp;
  const std::vector<std::pair<Op, int>> expected = {
      {Op::Call, 2},     {Op::Advance, 0}, {Op::PushGroup, 0}, {Op::GroupStart, 0}, {Op::Call, 7},
      {Op::PopGroup, 0}, {Op::Return, 0},  {Op::Symbol, u'a'}, {Op::GroupEnd, 0},   {Op::Match, 0}};
  std::vector<std::pair<Op, int>> actual;
  for (const RegexInstruction& in : program.instructions)
    actual.emplace_back(in.type, in.operand);
  EXPECT_EQ(actual, expected);
  EXPECT_EQ(program.groupCount, 1);

  ASSERT_EQ(CompileRegex(true, program, u"^"), kRegexOk);
  ASSERT_EQ(program.instructions.size(), 3u);
  EXPECT_EQ(program.instructions[1].type, Op::Fail) << "anchored";
}

TEST(RegexErrorMessage, TextsByCode) {
  EXPECT_EQ(RegexErrorMessage(0), u"Regular expression parse error: No error occurred");
  EXPECT_EQ(RegexErrorMessage(4),
            u"Regular expression parse error: A closing bracket was expected");
  EXPECT_EQ(RegexErrorMessage(9),
            u"Regular expression parse error: A repeat operator (* or +) was applied to an "
            u"expression that could be empty");
  EXPECT_EQ(RegexErrorMessage(10), u"Regular expression parse error: The input string was invalid");
  EXPECT_EQ(RegexErrorMessage(11), u"Regular expression parse error: Unknown error");
  EXPECT_EQ(RegexErrorMessage(-1), u"Regular expression parse error: Unknown error");
}
