#include "text/line_diff.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

namespace {

// The hunks applied to `before` as patch would, checking every context and removed line.
std::string Apply(const std::string& before, const std::vector<DiffHunk>& hunks) {
  std::vector<std::string> lines;
  for (size_t start = 0; start < before.size();) {
    const size_t end = std::min(before.find('\n', start), before.size() - 1) + 1;
    lines.push_back(before.substr(start, end - start));
    start = end;
  }
  std::string result;
  size_t at = 0;  // next old line to copy
  for (const DiffHunk& hunk : hunks) {
    const size_t first = hunk.oldCount == 0 ? hunk.oldStart : hunk.oldStart - 1;
    EXPECT_GE(first, at);
    while (at < first)
      result += lines[at++];
    for (const DiffLine& line : hunk.lines) {
      if (line.kind == '+') {
        result += line.text;
        continue;
      }
      EXPECT_LT(at, lines.size());
      if (at < lines.size()) {
        EXPECT_EQ(lines[at], line.text);
      }
      if (line.kind == ' ')
        result += line.text;
      ++at;
    }
  }
  while (at < lines.size())
    result += lines[at++];
  return result;
}

size_t ChangedLines(const std::vector<DiffHunk>& hunks) {
  size_t count = 0;
  for (const DiffHunk& hunk : hunks)
    for (const DiffLine& line : hunk.lines)
      count += line.kind != ' ';
  return count;
}

// Lines removed plus added by a shortest script, from the longest common subsequence.
size_t ShortestScript(const std::vector<int>& a, const std::vector<int>& b) {
  std::vector<std::vector<size_t>> lcs(a.size() + 1, std::vector<size_t>(b.size() + 1));
  for (size_t i = a.size(); i-- > 0;)
    for (size_t j = b.size(); j-- > 0;)
      lcs[i][j] = a[i] == b[j] ? lcs[i + 1][j + 1] + 1 : std::max(lcs[i + 1][j], lcs[i][j + 1]);
  return a.size() + b.size() - 2 * lcs[0][0];
}

std::string Text(const std::vector<int>& lines, bool finalBreak) {
  std::string text;
  for (int line : lines)
    text += "l" + std::to_string(line) + "\n";
  if (!finalBreak && !text.empty())
    text.pop_back();
  return text;
}

TEST(DiffLines, UnifiedHunks) {
  struct Case {
    std::string before, after;
    size_t context;
    std::vector<std::string> expected;  // header, then the lines
  };
  const Case cases[] = {
      {"a\nb\nc\n", "a\nB\nc\n", 3, {"@@ -1,3 +1,3 @@", " a\n", "-b\n", "+B\n", " c\n"}},
      {"a\nb\nc\n", "a\nB\nc\n", 0, {"@@ -2 +2 @@", "-b\n", "+B\n"}},
      {"", "x\n", 3, {"@@ -0,0 +1 @@", "+x\n"}},
      {"x\n", "", 3, {"@@ -1 +0,0 @@", "-x\n"}},
      {"a\nb", "a\nb\n", 3, {"@@ -1,2 +1,2 @@", " a\n", "-b", "+b\n"}},
      {"1\n2\n3\n4\n5\n6\n7\n8\n", "1\n2\nX\n4\n5\n6\n7\nY\n", 1,
       {"@@ -2,3 +2,3 @@", " 2\n", "-3\n", "+X\n", " 4\n", "@@ -7,2 +7,2 @@", " 7\n", "-8\n",
        "+Y\n"}},
      {"1\n2\n3\n4\n", "X\n2\n3\nY\n", 1,
       {"@@ -1,4 +1,4 @@", "-1\n", "+X\n", " 2\n", " 3\n", "-4\n", "+Y\n"}},
      {"a\r\nb\r\n", "a\r\nb\r\n", 3, {}},
  };
  for (const Case& c : cases) {
    std::vector<std::string> got;
    for (const DiffHunk& hunk : DiffLines(c.before, c.after, c.context)) {
      got.push_back(HunkHeader(hunk));
      for (const DiffLine& line : hunk.lines)
        got.push_back(std::string(1, line.kind) + line.text);
    }
    EXPECT_EQ(got, c.expected) << c.before << "|" << c.after;
  }
}

TEST(DiffLines, RandomTextsApplyAndTakeAShortestScript) {
  std::mt19937 random(20);
  for (int round = 0; round < 400; ++round) {
    const int alphabet = 1 + static_cast<int>(random() % 6);
    std::vector<int> a(random() % 30), b(random() % 30);
    for (int& line : a)
      line = static_cast<int>(random() % alphabet);
    for (int& line : b)
      line = static_cast<int>(random() % alphabet);
    const bool breaks = random() % 4 != 0;  // else the last lines may lack their LF
    const std::string before = Text(a, breaks || random() % 2), after = Text(b, breaks);
    const auto hunks = DiffLines(before, after, random() % 4);
    ASSERT_EQ(Apply(before, hunks), after) << before << "|" << after;
    if (breaks) {
      EXPECT_EQ(ChangedLines(hunks), ShortestScript(a, b));
    }
  }
}

TEST(DiffLines, CostlyTextsStillApply) {
  std::mt19937 random(24);
  std::vector<int> a(6000), b(6000);
  for (int& line : a)
    line = static_cast<int>(random() % 50);
  for (int& line : b)
    line = static_cast<int>(random() % 50);
  const std::string before = Text(a, true), after = Text(b, true);
  EXPECT_EQ(Apply(before, DiffLines(before, after, 3)), after);
}

}  // namespace
