#include "processing/search/plain_scan.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <random>
#include <string>
#include <vector>

#include "platform/lower_case.h"
#include "tests/processing/search/plain_scan_reference.h"

namespace {

using Position = CFileResult::replace_info;

struct Outcome {
  std::u16string text;
  std::vector<Position> matches;
  std::vector<Position> asked;
};

// Runs the scan with answers from the list (yes once it runs out), recording every question.
Outcome Scan(std::u16string_view text, ActionType action, std::u16string_view find,
             std::u16string_view replace, bool caseSensitive = true,
             std::vector<bool> answers = {}) {
  TextBuffer buffer;
  EXPECT_TRUE(TextBuffer::FromText(text, buffer));
  Outcome outcome;
  size_t next = 0;
  auto consent = [&](const Position& position, const ChangeDescription&) {
    outcome.asked.push_back(position);
    return next < answers.size() ? answers[next++] : true;
  };
  EXPECT_EQ(ScanPlainText(buffer, action, find, replace, caseSensitive, consent, outcome.matches),
            0u);
  outcome.text = std::u16string(buffer.view());
  return outcome;
}

std::vector<std::pair<std::int64_t, std::int64_t>> Pairs(const std::vector<Position>& positions) {
  std::vector<std::pair<std::int64_t, std::int64_t>> pairs;
  for (const Position& position : positions)
    pairs.emplace_back(position.line, position.character);
  return pairs;
}

using PairList = std::vector<std::pair<std::int64_t, std::int64_t>>;

TEST(PlainScan, EveryUnitOfARunIsReplacedOrDeleted) {
  Outcome replaced = Scan(u"aaa", ActionType::Replace, u"a", u"b");
  EXPECT_EQ(replaced.text, u"bbb");
  EXPECT_EQ(Pairs(replaced.matches), (PairList{{0, 0}, {0, 1}, {0, 2}}));
  Outcome deleted = Scan(u"aaa", ActionType::Delete, u"a", u"");
  EXPECT_EQ(deleted.text, u"");
  EXPECT_EQ(deleted.matches.size(), 3u);
}

TEST(PlainScan, FindOnlyMatchesNeverOverlapButADeclineLetsTheNextOneBeAsked) {
  Outcome found = Scan(u"aaaa", ActionType::FindOnly, u"aa", u"");
  EXPECT_EQ(Pairs(found.matches), (PairList{{0, 0}, {0, 2}}));
  EXPECT_TRUE(found.asked.empty());

  Outcome declined = Scan(u"aaaa", ActionType::Replace, u"aa", u"X", true, {false, true});
  EXPECT_EQ(Pairs(declined.asked), (PairList{{0, 0}, {0, 1}}));
  EXPECT_EQ(Pairs(declined.matches), (PairList{{0, 1}}));
  EXPECT_EQ(declined.text, u"aXa");
}

TEST(PlainScan, APairCountsAsOneLineBreak) {
  Outcome found = Scan(u"ab\r\ncab", ActionType::FindOnly, u"ab", u"");
  EXPECT_EQ(Pairs(found.matches), (PairList{{0, 0}, {1, 1}}));
  Outcome mixed = Scan(u"\r\r\n\n\rxa\nb", ActionType::FindOnly, u"a", u"");
  EXPECT_EQ(Pairs(mixed.matches), (PairList{{4, 1}}));
}

TEST(PlainScan, FailedCandidateIsRetriedFromItsSecondUnit) {
  Outcome found = Scan(u"aab aaab", ActionType::FindOnly, u"aab", u"");
  EXPECT_EQ(Pairs(found.matches), (PairList{{0, 0}, {0, 5}}));
}

TEST(PlainScan, InsertedTextIsNeverScanned) {
  Outcome after = Scan(u"xx", ActionType::PlaceAfter, u"x", u"x");
  EXPECT_EQ(after.text, u"xxxx");
  EXPECT_EQ(Pairs(after.matches), (PairList{{0, 0}, {0, 1}}));
  Outcome before = Scan(u"xx", ActionType::PlaceBefore, u"x", u"x");
  EXPECT_EQ(before.text, u"xxxx");
  EXPECT_EQ(Pairs(before.matches), (PairList{{0, 0}, {0, 1}}));
  Outcome replaced = Scan(u"ab\nab", ActionType::Replace, u"ab", u"ab\nab");
  EXPECT_EQ(replaced.text, u"ab\nab\nab\nab");
  EXPECT_EQ(Pairs(replaced.matches), (PairList{{0, 0}, {1, 0}}));
}

TEST(PlainScan, FindLineFeedMatchesEveryKindOfBreak) {
  for (std::u16string_view text : {u"a\r\nb", u"a\nb", u"a\rb"}) {
    Outcome replaced = Scan(text, ActionType::Replace, u"a\n", u"Z");
    EXPECT_EQ(replaced.text, u"Zb") << "the pair is replaced whole";
    EXPECT_EQ(Pairs(replaced.matches), (PairList{{0, 0}}));
  }
  Outcome lone = Scan(u"x\r\n", ActionType::FindOnly, u"\n", u"");
  EXPECT_EQ(Pairs(lone.matches), (PairList{{0, 1}})) << "the LF of a pair starts no match";
}

TEST(PlainScan, DeletionThatJoinsCrAndLfKeepsTheBreaksAsRead) {
  Outcome deleted = Scan(u"\rx\ny\n", ActionType::Delete, u"x", u"");
  EXPECT_EQ(deleted.text, u"\r\ny\n");
  Outcome found = Scan(u"\rx\ny\n", ActionType::Delete, u"y", u"");
  EXPECT_EQ(Pairs(found.matches), (PairList{{2, 0}}));
  Outcome both = Scan(u"\rx\ny", ActionType::Delete, u"x\ny", u"");
  EXPECT_EQ(Pairs(both.matches), (PairList{{1, 0}}));
}

TEST(PlainScan, CaseInsensitiveComparisonLowerCasesBothUnits) {
  EXPECT_EQ(Scan(u"caf\u00e9", ActionType::FindOnly, u"\u00c9", u"", false).matches.size(), 1u);
  EXPECT_EQ(Scan(u"caf\u00e9", ActionType::FindOnly, u"\u00c9", u"", true).matches.size(), 0u);
  // Where the Kelvin sign lower-cases to k, a search for K finds it too.
  Outcome kelvin = Scan(u"k K \u212a", ActionType::FindOnly, u"K", u"", false);
  EXPECT_EQ(kelvin.matches.size(), platform::LowerCaseUnit(u'\u212a') == u'k' ? 3u : 2u);
}

TEST(PlainScan, AddingToBeginningOrEndHappensOnce) {
  const std::u16string text = u"\ufeffab ab ab";
  Outcome beginning = Scan(text, ActionType::AddToBeginning, u"ab", u"<");
  EXPECT_EQ(beginning.text, u"<\ufeffab ab ab");
  EXPECT_EQ(Pairs(beginning.matches), (PairList{{0, 1}}));
  Outcome end = Scan(text, ActionType::AddToEnd, u"ab", u">");
  EXPECT_EQ(end.text, text + u">");
  EXPECT_EQ(end.matches.size(), 1u);
  Outcome declinedFirst = Scan(text, ActionType::AddToEnd, u"ab", u">", true, {false});
  EXPECT_EQ(Pairs(declinedFirst.matches), (PairList{{0, 4}}));
}

TEST(PlainScan, EmptyFindOrShortTextFindsNothing) {
  EXPECT_TRUE(Scan(u"abc", ActionType::Replace, u"", u"x").matches.empty());
  EXPECT_TRUE(Scan(u"ab", ActionType::FindOnly, u"abc", u"").matches.empty());
  EXPECT_TRUE(Scan(u"", ActionType::FindOnly, u"a", u"").matches.empty());
}

// The fast scan against the unit-by-unit one on many random texts.
class PlainScanAgainstReference : public ::testing::Test {
 protected:
  std::u16string RandomText(std::u16string_view alphabet, size_t maxLength) {
    std::uniform_int_distribution<size_t> length(0, maxLength);
    std::uniform_int_distribution<size_t> pick(0, alphabet.size() - 1);
    std::u16string text(length(random), u' ');
    for (char16_t& unit : text)
      unit = alphabet[pick(random)];
    return text;
  }

  void Compare(const std::u16string& text, ActionType action, const std::u16string& find,
               const std::u16string& replace, bool caseSensitive) {
    std::vector<bool> answers;
    std::bernoulli_distribution yes(0.6);
    for (int i = 0; i < 64; ++i)
      answers.push_back(yes(random));
    std::vector<Position> referenceAsked;
    size_t next = 0;
    ReferenceScan expected = ReferencePlainScan(
        text, action, find, replace, caseSensitive, [&](const Position& position) {
          referenceAsked.push_back(position);
          return next < answers.size() ? answers[next++] : true;
        });
    Outcome actual = Scan(text, action, find, replace, caseSensitive, answers);
    ASSERT_EQ(actual.text, expected.text) << Describe(text, find, action, caseSensitive);
    ASSERT_EQ(Pairs(actual.matches), Pairs(expected.matches))
        << Describe(text, find, action, caseSensitive);
    ASSERT_EQ(Pairs(actual.asked), Pairs(referenceAsked))
        << Describe(text, find, action, caseSensitive);
  }

  // A table that gives the units bytes at random (`slots`, in the units' order) and every other
  // byte a unit of its own.
  ByteTable ShuffledTable(const std::u16string& units, std::vector<unsigned char>& slots) {
    ByteTable table;
    for (size_t i = 0; i < table.size(); ++i)
      table[i] = static_cast<char16_t>(0x4e00 + i);
    slots.resize(256);
    for (size_t i = 0; i < slots.size(); ++i)
      slots[i] = static_cast<unsigned char>(i);
    std::shuffle(slots.begin(), slots.end(), random);
    for (size_t i = 0; i < units.size(); ++i)
      table[slots[i]] = units[i];
    return table;
  }

  // The byte search and change against the reference on the decoded text; the text's units are
  // written with the bytes `slots` gives them in `units`' order.
  void CompareBytes(const ByteTable& table, const std::u16string& units,
                    const std::vector<unsigned char>& slots, const std::u16string& text,
                    const std::u16string& find, const std::u16string& replace, ActionType action,
                    bool caseSensitive) {
    std::vector<unsigned char> bytes;
    for (char16_t unit : text)
      bytes.push_back(slots[units.find(unit)]);
    const ReferenceScan expected = ReferencePlainScan(
        text, ActionType::FindOnly, find, u"", caseSensitive, [](const Position&) { return true; });
    std::vector<Position> matches;
    ASSERT_EQ(FindPlainTextInBytes(bytes, table, find, caseSensitive, matches), 0u);
    ASSERT_EQ(Pairs(matches), Pairs(expected.matches))
        << Describe(text, find, ActionType::FindOnly, caseSensitive);
    std::vector<Position> first;
    ASSERT_EQ(FindPlainTextInBytes(bytes, table, find, caseSensitive, first, 1), 0u);
    EXPECT_EQ(first.size(), std::min<size_t>(1, expected.matches.size()));

    // Changes, with the replacement in bytes of the same table.
    std::vector<unsigned char> replaceBytes;
    for (char16_t unit : replace)
      replaceBytes.push_back(slots[units.find(unit)]);
    std::vector<bool> answers;
    for (int i = 0; i < 16; ++i)
      answers.push_back(std::bernoulli_distribution(0.6)(random));
    auto answer = [&answers](size_t& next) {
      return next < answers.size() ? answers[next++] : true;
    };
    size_t next = 0;
    std::vector<Position> referenceAsked;
    const ReferenceScan changed = ReferencePlainScan(text, action, find, replace, caseSensitive,
                                                     [&](const Position& position) {
                                                       referenceAsked.push_back(position);
                                                       return answer(next);
                                                     });
    next = 0;
    std::vector<Position> asked;
    std::vector<Position> changedMatches;
    ByteBuffer changedBytes;
    const MatchConsent consent = [&](const Position& position, const ChangeDescription&) {
      asked.push_back(position);
      return answer(next);
    };
    ASSERT_EQ(ChangePlainTextInBytes(bytes, table, action, find, replaceBytes, caseSensitive,
                                     consent, changedMatches, changedBytes),
              0u);
    std::u16string decoded;
    if (changedMatches.empty() || action == ActionType::FindOnly) {
      decoded = text;
      EXPECT_EQ(changedBytes.data(), nullptr);
    } else {
      for (unsigned char byte : changedBytes.view())
        decoded += table[byte];
    }
    ASSERT_EQ(decoded, changed.text) << Describe(text, find, action, caseSensitive);
    ASSERT_EQ(Pairs(changedMatches), Pairs(changed.matches));
    ASSERT_EQ(Pairs(asked), Pairs(referenceAsked));
  }

  static std::string Describe(const std::u16string& text, const std::u16string& find,
                              ActionType action, bool caseSensitive) {
    auto show = [](const std::u16string& s) {
      std::string out;
      for (char16_t unit : s)
        out += unit == u'\r'   ? std::string("\\r")
               : unit == u'\n' ? std::string("\\n")
               : unit < 128    ? std::string(1, static_cast<char>(unit))
                               : "<" + std::to_string(unit) + ">";
      return out;
    };
    return "text '" + show(text) + "' find '" + show(find) + "' action " +
           std::to_string(static_cast<int>(action)) + (caseSensitive ? " case" : " nocase");
  }

  std::mt19937 random{20240611};
};

TEST_F(PlainScanAgainstReference, ShortTextsOfFewUnits) {
  const std::u16string alphabet = u"aaabA\r\n\u00e9\u00c9kK\u212a";
  const std::u16string findAlphabet = u"aabA\n\u00c9K";
  std::uniform_int_distribution<int> action(0, 6);
  for (int round = 0; round < 20000; ++round) {
    const std::u16string text = RandomText(alphabet, 24);
    std::u16string find = RandomText(findAlphabet, 4);
    if (find.empty())
      find = u"a";
    const std::u16string replace = RandomText(u"xy\n\r", 3);
    Compare(text, static_cast<ActionType>(action(random)), find, replace, round % 2 == 0);
  }
}

TEST_F(PlainScanAgainstReference, LongTextsWithRareMatches) {
  std::uniform_int_distribution<int> action(0, 6);
  for (int round = 0; round < 400; ++round) {
    std::u16string text = RandomText(u"abcdefgh \r\n\r\n", 600);
    std::uniform_int_distribution<size_t> at(0, text.size());
    for (int i = 0; i < 3; ++i)
      text.insert(at(random), round % 3 == 0 ? u"Zq\r\nz" : u"zQ\nZ");
    const std::u16string find = round % 4 == 0 ? u"zq\nz" : round % 4 == 1 ? u"\nz" : u"Zq";
    Compare(text, static_cast<ActionType>(action(random)), find, u"--", round % 2 == 0);
  }
}

// The search over the bytes of a single-byte code page against the unit-by-unit scan of the
// decoded text, with tables that put CR and LF on unusual bytes, or leave one out.
TEST_F(PlainScanAgainstReference, BytesOfASingleByteCodePage) {
  const std::u16string alphabet = u"aabA\r\n\u00e9\u00c9kK";
  for (int round = 0; round < 6000; ++round) {
    std::u16string units = alphabet;
    if (round % 5 == 4)
      units.erase(units.find(u'\n'), 1);
    std::vector<unsigned char> slots;
    const ByteTable table = ShuffledTable(units, slots);

    const std::u16string text = RandomText(units, round % 10 == 0 ? 300 : 30);
    std::u16string find = RandomText(u"aabA\n\u00c9K", 4);
    if (find.empty())
      find = u"\n";
    const std::u16string replace =
        RandomText(units.find(u'\n') == std::u16string::npos ? u"ab" : u"ab\n", 3);
    CompareBytes(table, units, slots, text, find, replace, static_cast<ActionType>(round % 7),
                 round % 2 == 0);
  }
}

// Long texts searched by equal bytes (a find text without line breaks whose every unit has a
// byte of its own), with long stretches without a match or a line break, lines of every length
// and CR LF pairs split across blocks; tables with CR and LF, without LF and without CR.
TEST_F(PlainScanAgainstReference, LongBytesSearchedByEqualBytes) {
  std::uniform_int_distribution<int> lineLength(0, 300);
  for (int round = 0; round < 200; ++round) {
    std::u16string units = u"xyzab\r\n.";
    if (round % 3 == 1)
      units.erase(units.find(u'\n'), 1);
    if (round % 3 == 2)
      units.erase(units.find(u'\r'), 1);
    std::vector<unsigned char> slots;
    const ByteTable table = ShuffledTable(units, slots);

    // Runs of filler between breaks and a few needles; sometimes no break for thousands of units.
    std::u16string text;
    std::u16string breakUnits;
    std::copy_if(units.begin(), units.end(), std::back_inserter(breakUnits),
                 [](char16_t unit) { return unit == u'\r' || unit == u'\n'; });
    // Thousands of breaks in a row fill the counters of every lane.
    if (round % 5 == 3)
      text = RandomText(breakUnits, 1) + std::u16string(20000, breakUnits.back());
    for (const size_t end = text.size() + 8000; text.size() < end;) {
      const int run = round % 4 == 0 ? 2000 : lineLength(random);
      text += RandomText(u"....ab", static_cast<size_t>(run));
      if (std::bernoulli_distribution(0.3)(random))
        text += round % 2 == 0 ? u"xyz" : u"zxy";
      text += RandomText(breakUnits, 2);
    }
    const std::u16string find = round % 2 == 0 ? u"xyz" : round % 4 == 1 ? u"z" : u"zx";
    CompareBytes(table, units, slots, text, find, u"ab", static_cast<ActionType>(round % 7), true);
  }
}

// Texts of over a megaunit are searched a megaunit at a time; matches and CR LF pairs that
// straddle the seams are found as in one piece.
TEST_F(PlainScanAgainstReference, MatchesAcrossTheSeamsOfALongText) {
  const size_t seam = size_t{1} << 20;
  const std::u16string units = u"xyzab\r\n.";
  std::vector<unsigned char> slots;
  const ByteTable table = ShuffledTable(units, slots);
  for (int round = 0; round < 2; ++round) {
    std::u16string text;
    while (text.size() < 2 * seam + 100)
      text += u"....ab.ab\r\n..";
    for (size_t at = seam; at < text.size(); at += seam) {
      const std::u16string needle = round % 2 == 0 ? u"xyz" : u"z\r\nxy";
      text.replace(at - 1 - static_cast<size_t>(round), needle.size(), needle);
    }
    const std::u16string find = round % 2 == 0 ? u"xyz" : u"z\nx";
    const auto action = round == 0 ? ActionType::FindOnly : ActionType::Replace;
    Compare(text, action, find, u"ab", true);
    CompareBytes(table, units, slots, text, find, u"ab", action, true);
  }
}

}  // namespace
