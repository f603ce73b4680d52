#include "processing/match_lines.h"

#include <gtest/gtest.h>

#include "run/result_texts.h"

namespace {

struct Kept {
  std::u16string before;  // shown as MatchLineText shows it
  std::u16string after;   // empty: unchanged
};

std::vector<Kept> KeepAll(std::u16string_view text, size_t findLength,
                          const std::vector<CFileResult::replace_info>& positions,
                          MatchChange change = {}, size_t* runBytes = nullptr) {
  size_t ownBytes = 0;
  size_t& bytes = runBytes ? *runBytes : ownBytes;
  const LineSource source(text);
  PlainMatchLines lines(source, findLength, change, bytes);
  CFileResult file;
  file.matches = positions;
  lines.KeepRecorded(file);
  std::vector<Kept> kept;
  for (const MatchLine& line : file.lines)
    kept.push_back({MatchLineText(line.before, line.beforeMark, line.beforeMarkLength),
                    line.changed ? MatchLineText(line.after, line.afterMark, line.afterMarkLength)
                                 : u""});
  return kept;
}

}  // namespace

TEST(MatchLines, LineOfEachMatchWhateverTheBreaks) {
  struct Case {
    std::u16string text;
    size_t findLength;
    std::vector<CFileResult::replace_info> positions;
    std::vector<std::u16string> lines;
  };
  const Case cases[] = {
      {u"ab\r\ncd zz\r\nzz", 2, {{1, 3}, {2, 0}}, {u"cd \u00BBzz\u00AB", u"\u00BBzz\u00AB"}},
      {u"ab\ncd zz\nzz", 2, {{1, 3}, {2, 0}}, {u"cd \u00BBzz\u00AB", u"\u00BBzz\u00AB"}},
      {u"ab\rcd zz\rzz", 2, {{1, 3}, {2, 0}}, {u"cd \u00BBzz\u00AB", u"\u00BBzz\u00AB"}},
      // First line, a CR LF pair spanned by the match (two units of the find text: "b\n").
      {u"ab\r\ncd", 2, {{0, 1}}, {u"a\u00BBb\u21B5\u00AB"}},
      // A match across lines keeps both lines.
      {u"xa\r\nby\r\nz", 3, {{0, 1}}, {u"x\u00BBa\u21B5b\u00ABy"}},
      // Tabs as spaces; a lone CR then LF is two breaks.
      {u"\tq\r\rq", 1, {{0, 1}, {2, 0}}, {u"    \u00BBq\u00AB", u"\u00BBq\u00AB"}},
      // A position past the text keeps nothing.
      {u"abc", 1, {{3, 0}}, {}},
  };
  for (const Case& c : cases) {
    std::vector<std::u16string> shown;
    for (const Kept& kept : KeepAll(c.text, c.findLength, c.positions))
      shown.push_back(kept.before);
    EXPECT_EQ(shown, c.lines) << std::string(c.text.begin(), c.text.end());
  }
}

TEST(MatchLines, LongLinesAreCutAroundTheMatch) {
  const std::u16string left(100, u'l');
  const std::u16string right(100, u'r');
  const std::u16string match(200, u'm');
  const auto kept = KeepAll(left + match + right, match.size(), {{0, 100}});
  ASSERT_EQ(kept.size(), 1u);
  EXPECT_EQ(kept[0].before, u"\u2026" + std::u16string(kMatchContextUnits, u'l') + u"\u00BB" +
                                std::u16string(kMatchMarkUnits, u'm') + u"\u2026\u00AB" +
                                std::u16string(kMatchContextUnits, u'r') + u"\u2026");
}

TEST(MatchLines, ChangedLinesShowWhatTookTheMatchsPlace) {
  struct Case {
    ActionType action;
    std::u16string after;
  };
  const Case cases[] = {
      {ActionType::Replace, u"a \u00BBNEW\u00AB b"},
      {ActionType::Delete, u"a \u00BB\u00AB b"},
      {ActionType::PlaceBefore, u"a \u00BBNEW\u00ABold b"},
      {ActionType::PlaceAfter, u"a old\u00BBNEW\u00AB b"},
      {ActionType::AddToEnd, u""},
  };
  for (const Case& c : cases) {
    const auto kept = KeepAll(u"x\na old b", 3, {{1, 2}}, {c.action, u"NEW"});
    ASSERT_EQ(kept.size(), 1u);
    EXPECT_EQ(kept[0].before, u"a \u00BBold\u00AB b");
    EXPECT_EQ(kept[0].after, c.after) << static_cast<int>(c.action);
  }
}

TEST(MatchLines, CapsPerFileAndPerRun) {
  std::vector<CFileResult::replace_info> positions;
  std::u16string text;
  for (int i = 0; i < 150; ++i) {
    positions.push_back({i, 0});
    text += u"z\n";
  }
  size_t runBytes = 0;
  EXPECT_EQ(KeepAll(text, 1, positions, {}, &runBytes).size(), kMatchLinesPerFile);
  EXPECT_GT(runBytes, 0u);
  runBytes = kMatchLineBytesPerRun - 1;
  EXPECT_EQ(KeepAll(text, 1, positions, {}, &runBytes).size(), 1u) << "the line that crosses";
  EXPECT_TRUE(KeepAll(text, 1, positions, {}, &runBytes).empty());
}

TEST(MatchOfDetailsLine, CountsTheKeptLinesOfEachMatch) {
  CFileResult result;
  result.matches = {{0, 0}, {1, 0}, {2, 0}};
  result.lines.resize(2);
  result.lines[1].changed = true;
  // Path; match 0 and its line; match 1, before and after; match 2 without a line.
  const std::int64_t expected[] = {-1, 0, 0, 1, 1, 1, 2, -1};
  for (std::int64_t line = 0; line < 8; ++line)
    EXPECT_EQ(MatchOfDetailsLine(result, line), expected[line]) << line;
}
