#include "text/regex/regex_match.h"

#include <gtest/gtest.h>

#include <string>

#include "regex_test_support.h"

using regex_test::Find;
using regex_test::Found;

TEST(MatchRegex, GreedyQuantifiersTakeTheMostFirst) {
  EXPECT_EQ(Found(u"a*", u"aaab"), "aaa");
  EXPECT_EQ(Found(u"ba+", u"baaa"), "baaa");
  EXPECT_EQ(Found(u"<.*>", u"<a><b>"), "<a><b>");
  EXPECT_EQ(Found(u"a*a", u"aaa"), "aaa") << "gives back one iteration";
  EXPECT_EQ(Found(u"(ab)*a", u"ababa"), "ababa");
  EXPECT_EQ(Found(u"xa?b", u"xb"), "xb");
  EXPECT_EQ(Found(u"xa?b", u"xab"), "xab");
  // Only one quantifier applies; the second is a literal.
  EXPECT_EQ(Found(u"a**", u"aa*"), "aa*");
  EXPECT_EQ(Found(u"a**", u"aa"), "none");
  EXPECT_EQ(Found(u"a+?+", u"a+"), "a+");
}

TEST(MatchRegex, LazyQuantifiersTakeTheFewestFirst) {
  EXPECT_EQ(Find(u"a*?", u"aaa"), "[0,0)");
  EXPECT_EQ(Found(u"a+?", u"aaa"), "a");
  EXPECT_EQ(Found(u"<.*?>", u"<a><b>"), "<a>");
  EXPECT_EQ(Found(u"a??b", u"ab"), "ab");
  EXPECT_EQ(Found(u"(ab)??c", u"c"), "c");
  EXPECT_EQ(Found(u"(ab)??c", u"abc"), "abc");
}

TEST(MatchRegex, LazyQuantifiersRetryFromTheirOwnPosition) {
  // After the rest of the pattern failed part-way, one more iteration starts where the loop
  // stood, not where the rest stopped.
  EXPECT_EQ(Find(u"x*?xy", u"xxy"), "[0,3)");
  EXPECT_EQ(Find(u"x+?xy", u"xxxy"), "[0,4)");
  EXPECT_EQ(Find(u"(xy)??xz", u"xyxz"), "[0,4)");
  // Nor may a failed rest make a text match that the pattern does not describe.
  EXPECT_EQ(Find(u"x*?yz", u"yxyz"), "[1,4)");
  EXPECT_EQ(Find(u"x??yz", u"yxyz"), "[1,4)");
  EXPECT_EQ(Find(u"x*?yz", u"yxxz"), "none");
}

TEST(MatchRegex, AlternationBindsToSingleItems) {
  EXPECT_EQ(Found(u"ab|cd", u"abd"), "abd");
  EXPECT_EQ(Found(u"ab|cd", u"acd"), "acd");
  EXPECT_EQ(Found(u"ab|cd", u"ab"), "none");
  EXPECT_EQ(Found(u"xa|b|cy", u"xcy"), "xcy");
  EXPECT_EQ(Found(u"(ab)|(cd)", u"xcd"), "cd");
  // The left side is tried first.
  EXPECT_EQ(Found(u"(a)|(ab)", u"ab"), "a");
  EXPECT_EQ(Found(u"(ab)|(a)", u"ab"), "ab");
  EXPECT_EQ(Found(u"(a)|(ab)c", u"abc"), "abc") << "the right side after the left one failed";
  // "|" where an atom is expected is literal.
  EXPECT_EQ(Found(u"|b", u"a|b"), "|b");
}

TEST(MatchRegex, TrailingAlternationAndStrayClosers) {
  EXPECT_EQ(Found(u"ab|", u"xab"), "a") << "dropped with its left item";
  EXPECT_EQ(Found(u"ab)c", u"abd"), "ab") << "the rest is ignored";
  EXPECT_EQ(Found(u"x(a|)", u"xa"), "x");
  // Only the last alternation of a chain loses its right side: x then a or nothing.
  EXPECT_EQ(Found(u"xa|b|", u"xb"), "x");
  EXPECT_EQ(Found(u"xa|b|", u"xa"), "xa");
}

TEST(MatchRegex, Classes) {
  EXPECT_EQ(Found(u"[a-c]+", u"xbcad"), "bca");
  EXPECT_EQ(Found(u"[^a-c]", u"abcd"), "d");
  EXPECT_EQ(Found(u"[\\t]", u"t\t"), "\t");
  EXPECT_EQ(Found(u"\\t", u"\tt"), "t") << "outside a class \\t is the letter";
  EXPECT_EQ(Found(u"[\\]x]+", u"a]x]"), "]x]");
  EXPECT_EQ(Found(u"[-a]+", u"b-a"), "-a");
  EXPECT_EQ(Found(u"[!-\\]+", u"a!\"\\b"), "!\"\\") << "an upper bound is taken literally";
  EXPECT_EQ(Found(u"[a^]+", u"x^a"), "^a");
  // Neither kind of class matches the end of the text.
  EXPECT_EQ(Found(u"a[^x]", u"a"), "none");
  EXPECT_EQ(Found(u"a[^x]?", u"a"), "a");
}

TEST(MatchRegex, CapturingGroupsKeepTheirPositions) {
  RegexProgram program;
  ASSERT_EQ(CompileRegex(true, program, u"x{a+}y{b}"), 0);
  const std::u16string text = u"--xaaybz";
  RegexMatch match;
  ASSERT_TRUE(MatchRegex(program, text.c_str(), match));
  ASSERT_EQ(match.groupCount(), 2u);
  EXPECT_EQ(match.group(0).start - text.c_str(), 3);
  EXPECT_EQ(match.group(0).end - text.c_str(), 5);
  EXPECT_EQ(match.group(1).start - text.c_str(), 6);
  EXPECT_EQ(match.group(1).end - text.c_str(), 7);

  // A group of the alternative that was not taken has no span.
  ASSERT_EQ(CompileRegex(true, program, u"{a}|b"), 0);
  ASSERT_TRUE(MatchRegex(program, u"b", match));
  EXPECT_EQ(match.group(0).start, nullptr);
  // A group given back by backtracking has none either.
  ASSERT_EQ(CompileRegex(true, program, u"({a}x)?a"), 0);
  ASSERT_TRUE(MatchRegex(program, u"a", match));
  EXPECT_EQ(match.group(0).start, nullptr);
  // "()" and "{}" match the empty text.
  EXPECT_EQ(Find(u"a()b{}c", u"abc"), "[0,3)");
}

TEST(MatchRegex, NegativeLookAheadConsumesNothing) {
  EXPECT_EQ(Found(u"!(ab).", u"ac"), "a");
  EXPECT_EQ(Find(u"!(ab).", u"ab"), "[1,2)");
  EXPECT_EQ(Find(u"!ab", u"ab"), "[1,2)") << "look-ahead on a alone, then b";
  EXPECT_EQ(Find(u"a!b", u"abac"), "[2,3)");
  EXPECT_EQ(Find(u"a!b", u"a"), "[0,1)") << "at the end of the text nothing follows";
  EXPECT_EQ(Found(u"!!a.", u"ba"), "a") << "a double negation";
  EXPECT_EQ(Found(u"x!", u"x!"), "x!") << "with nothing after it the mark is literal";
}

TEST(MatchRegex, GroupsInsideALookAheadTakeNoPart) {
  RegexProgram program;
  ASSERT_EQ(CompileRegex(true, program, u"!{a}."), 0);
  const std::u16string text = u"ab";
  RegexMatch match;
  ASSERT_TRUE(MatchRegex(program, text.c_str(), match));
  EXPECT_EQ(match.start() - text.c_str(), 1);
  EXPECT_EQ(match.group(0).start, nullptr) << "not the a seen by the failed look-ahead";
}

TEST(MatchRegex, BackReferences) {
  EXPECT_EQ(Found(u"{a}\\0", u"xaa"), "aa");
  EXPECT_EQ(Found(u"{a+}-\\0", u"aa-a"), "a-a");
  EXPECT_EQ(Found(u"{ab}\\0", u"aba"), "none") << "the text ends first";
  EXPECT_EQ(Found(u"{\\c}\\0+", u"abbbc"), "bbb");
  // A group that took no part stands for the empty text.
  EXPECT_EQ(Found(u"({x}|y)\\0z", u"yz"), "yz");
  // Case is ignored only without case sensitivity.
  EXPECT_EQ(Found(u"{a}\\0", u"aA"), "none");
  EXPECT_EQ(Found(u"{a}\\0", u"aA", false), "aA");
}

TEST(MatchRegex, Anchors) {
  EXPECT_EQ(Find(u"^a", u"ba"), "none");
  EXPECT_EQ(Find(u"^a", u"ab"), "[0,1)");
  EXPECT_EQ(Find(u"x^", u"x^"), "[0,2)") << "^ after the start is literal";
  EXPECT_EQ(Find(u"a$", u"aba"), "[2,3)");
  EXPECT_EQ(Find(u"a$", u"ab"), "none");
  EXPECT_EQ(Found(u"a$b", u"a$b"), "a$b") << "$ before the end is literal";
  EXPECT_EQ(Find(u"\\$", u"a$"), "[1,2)") << "an escaped final $ is literal";
  EXPECT_EQ(Find(u"$", u""), "[0,0)");
  EXPECT_EQ(Find(u"$", u"ab"), "none") << "an empty match at the end is only found from there";
  EXPECT_EQ(Find(u"^", u"ab"), "[0,0)");
}

TEST(MatchRegex, Abbreviations) {
  EXPECT_EQ(Found(u"\\a+", u"-a1B-"), "a1B");
  EXPECT_EQ(Found(u"x\\b", u"x x\t"), "x ");
  EXPECT_EQ(Found(u"\\c+", u"1aB2"), "aB");
  EXPECT_EQ(Found(u"\\d+", u"ab123"), "123");
  EXPECT_EQ(Found(u"\\h+", u"xFa9g"), "Fa9");
  EXPECT_EQ(Found(u"\\w", u"12abc3"), "abc");
  EXPECT_EQ(Found(u"\\z", u"ab123c"), "123");
  EXPECT_EQ(Found(u"\\q", u"say \"x\" '"), "\"x\"");
  EXPECT_EQ(Found(u"\\q", u"'x'"), "none");
  EXPECT_EQ(Found(u"\\q", u"\"\""), "\"\"");
  // A quantifier applies to the whole abbreviation.
  EXPECT_EQ(Found(u"(\\d-)+", u"1-2-x"), "1-2-");
  // Other escapes are literal, a final backslash too.
  EXPECT_EQ(Found(u"\\.", u"x."), ".");
  EXPECT_EQ(Found(u"\\\\", u"a\\"), "\\");
  EXPECT_EQ(Found(u"a\\", u"a\\"), "a\\");
  EXPECT_EQ(Found(u"\\D", u"5D"), "D");
}

TEST(MatchRegex, LineBreakTriesALoneCarriageReturnFirst) {
  EXPECT_EQ(Found(u"a\\n", u"a\r\nb"), "a\r");
  EXPECT_EQ(Found(u"a\\nb", u"a\r\nb"), "a\r\nb");
  EXPECT_EQ(Found(u"a\\n", u"a\nb"), "a\n");
  EXPECT_EQ(Found(u"a\\n", u"a\rb"), "a\r");
}

TEST(MatchRegex, CaseInsensitiveFoldsOnlyAsciiLetters) {
  EXPECT_EQ(Found(u"HELLO", u"hello", false), "hello");
  EXPECT_EQ(Found(u"HELLO", u"xHello", false), "Hello");
  EXPECT_EQ(Found(u"HELLO", u"hello", true), "none");
  EXPECT_EQ(Found(u"\u00c9", u"\u00e9", false), "none");
  EXPECT_EQ(Found(u"[A-Z]+", u"1aBc2", false), "aBc");
  EXPECT_EQ(Found(u"\\D", u"x5", false), "5") << "escapes are read after folding";
  // Positions refer to the text as it is.
  EXPECT_EQ(Find(u"b", u"aAbB", false), "[2,3)");
}

TEST(MatchRegex, TextEndsAtItsFirstZeroUnit) {
  std::u16string text = u"abcd";
  text += u'\0';
  text += u"ef";
  RegexProgram program;
  ASSERT_EQ(CompileRegex(true, program, u"e"), 0);
  RegexMatch match;
  EXPECT_FALSE(MatchRegex(program, text.c_str(), match));
  ASSERT_EQ(CompileRegex(true, program, u".+"), 0);
  ASSERT_TRUE(MatchRegex(program, text.c_str(), match));
  EXPECT_EQ(match.end() - text.c_str(), 4);
  ASSERT_EQ(CompileRegex(true, program, u"d$"), 0);
  EXPECT_TRUE(MatchRegex(program, text.c_str(), match)) << "the zero unit is the end";
}

TEST(MatchRegex, StackGrowsAndItsLimitFailsTheSearch) {
  const std::u16string text(100000, u'a');
  RegexProgram program;
  ASSERT_EQ(CompileRegex(true, program, u"{a}*"), 0);
  RegexMatch match;
  ASSERT_TRUE(MatchRegex(program, text.c_str(), match));
  EXPECT_EQ(match.end() - match.start(), 100000);

  RegexMatchLimits limits;
  limits.maxStackEntries = 300;
  EXPECT_FALSE(MatchRegex(program, text.c_str(), text.c_str() + text.size(), match, limits));
  EXPECT_EQ(match.error(), platform::kErrorOutOfMemory);
  // The same record serves the next search.
  const std::u16string shorter(10, u'a');
  ASSERT_TRUE(MatchRegex(program, shorter.c_str(), shorter.c_str() + 10, match, limits));
  EXPECT_EQ(match.error(), 0u);
}

TEST(MatchRegex, StopIsTestedEveryFewSteps) {
  // Exponential backtracking: every split of the a into ones and twos is tried.
  RegexProgram program;
  ASSERT_EQ(CompileRegex(true, program, u"((a)|(aa))*b"), 0);
  const std::u16string text(60, u'a');
  platform::StopEvent stop;
  stop.Set();
  RegexMatchLimits limits;
  limits.stop = &stop;
  limits.stepsBetweenStopChecks = 100000;
  RegexMatch match;
  EXPECT_FALSE(MatchRegex(program, text.c_str(), text.c_str() + text.size(), match, limits));
  EXPECT_EQ(match.error(), platform::kErrorCancelled);

  // A search shorter than the interval between checks ignores the request.
  const std::u16string shortText = u"aaaaab";
  EXPECT_TRUE(
      MatchRegex(program, shortText.c_str(), shortText.c_str() + shortText.size(), match, limits));
  // Without a request a long attempt simply goes on.
  stop.Reset();
  limits.stepsBetweenStopChecks = 10;
  const std::u16string longer = std::u16string(12, u'a') + u"b";
  EXPECT_TRUE(MatchRegex(program, longer.c_str(), longer.c_str() + longer.size(), match, limits));
}

// A loop over one unit backtracks from a counter, so a match may be as long as the text: the
// unoptimised build uses 48 million units, which overflowed a stack of 2^27 entries at three per
// unit; the optimised one 200 million, a 200 MB single-byte file.
TEST(MatchRegex, LoopsOverOneUnitMatchTextsOfAnyLength) {
#if defined(NDEBUG)
  const size_t length = 200'000'000;
#else
  const size_t length = 48'000'000;
#endif
  std::u16string text(length, u'a');
  text[0] = u'X';
  text[length - 2] = u'Y';
  struct Case {
    const char16_t* pattern;
    size_t end;
  };
  for (const Case& c :
       {Case{u"X.*", length}, Case{u"X[a-z]+Y", length - 1}, Case{u"X\\c*?$", length}}) {
    RegexProgram program;
    ASSERT_EQ(CompileRegex(true, program, c.pattern), 0);
    RegexMatch match;
    ASSERT_TRUE(MatchRegex(program, text.c_str(), text.c_str() + length, match))
        << regex_test::Narrow(c.pattern) << " error " << match.error();
    EXPECT_EQ(static_cast<size_t>(match.end() - text.c_str()), c.end)
        << regex_test::Narrow(c.pattern);
  }
}

// Loops over one unit, counted or unit by unit, find the same matches and groups.
TEST(MatchRegex, CountedLoopsMatchLikeStepwiseOnes) {
  const char16_t* patterns[] = {u"a*ab",     u"{a*}{a*}b", u"x.*?{y}.*z", u"[^b]+?b",   u"(\\d)*5",
                                u"\\w\\z",   u"a*?a*?c",   u"!(b*c).+",   u"{(a)+}\\0", u"A*b",
                                u"[a-c]*?$", u"\\q",       u"((a)*b)*",   u"{b+}a*?\\0"};
  const char16_t* texts[] = {u"aaab",     u"xayyzyz",  u"aAbab5", u"123a45b",
                             u"\"a\"b\"", u"bbcaacab", u""};
  for (bool caseSensitive : {true, false}) {
    for (const char16_t* pattern : patterns) {
      RegexProgram counted;
      RegexProgram stepwise;
      ASSERT_EQ(CompileRegex(caseSensitive, counted, pattern), 0);
      ASSERT_EQ(CompileRegex(caseSensitive, stepwise, pattern, RegexLoopForm::Stepwise), 0);
      for (const char16_t* text : texts) {
        const std::u16string_view view(text);
        for (size_t from = 0; from <= view.size(); ++from) {
          RegexMatch a;
          RegexMatch b;
          const bool foundA = MatchRegex(counted, text + from, text + view.size(), a);
          ASSERT_EQ(foundA, MatchRegex(stepwise, text + from, text + view.size(), b))
              << regex_test::Narrow(pattern) << " in " << regex_test::Narrow(text);
          if (!foundA)
            continue;
          EXPECT_EQ(a.start(), b.start()) << regex_test::Narrow(pattern);
          EXPECT_EQ(a.end(), b.end()) << regex_test::Narrow(pattern);
          for (size_t g = 0; g < a.groupCount(); ++g) {
            EXPECT_EQ(a.group(g).start, b.group(g).start) << regex_test::Narrow(pattern);
            EXPECT_EQ(a.group(g).end, b.group(g).end) << regex_test::Narrow(pattern);
          }
        }
      }
    }
  }
}
