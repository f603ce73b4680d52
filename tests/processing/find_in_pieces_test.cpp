#include "processing/find_in_pieces.h"

#include <gtest/gtest.h>

#include <array>
#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "platform/stop_event.h"
#include "platform/system_error.h"
#include "processing/content_processing.h"
#include "tests/support/temp_tree.h"
#include "text/code_page_conversion.h"

namespace {

using Clock = std::chrono::steady_clock;

struct Searched {
  FileOutcome outcome;
  CFileResult entry;
};

// Find only over the file, searched whole or in pieces of the given size.
Searched FindIn(RunParameters& parameters, const TempTree& tree, std::u16string_view name,
                std::uint64_t size, PieceSizes sizes, const platform::StopEvent& stop) {
  const PieceSizes before = SetPieceSizes(sizes);
  Searched searched;
  searched.entry.folder = tree.root();
  searched.entry.name = std::u16string(name);
  searched.entry.size = size;
  parameters.matchLineBytes = 0;
  searched.outcome = ProcessContent(parameters, stop, searched.entry);
  SetPieceSizes(before);
  return searched;
}

std::string Encoded(std::u16string_view units, CodePage codePage) {
  ConvertedBuffer buffer;
  size_t byteLength = 0;
  if (!ConvertText(true, buffer, units.size(), units.data(), byteLength, codePage))
    return {};
  return std::string(reinterpret_cast<const char*>(buffer.bytes.data()), buffer.bytes.size());
}

// Generated texts, searched whole and in pieces of a few bytes: the same outcome, matches and
// lines, whatever falls at a boundary (CR LF pairs, lone CRs, multi-byte characters, UTF-16
// units, matches and their lines).
TEST(FindInPieces, FindsWhatTheWholeFileSearchFinds) {
  std::uint32_t seed = std::random_device{}();
  if (const char* given = std::getenv("VOXALON_TEST_SEED"))
    seed = static_cast<std::uint32_t>(std::strtoul(given, nullptr, 10));
  SCOPED_TRACE("seed " + std::to_string(seed) + " (VOXALON_TEST_SEED repeats it)");
  std::mt19937 random(seed);
  auto pick = [&random](size_t count) {
    return static_cast<size_t>(std::uniform_int_distribution<size_t>(0, count - 1)(random));
  };
  const TempTree tree;
  const platform::StopEvent stop;
  const CodePage codePages[] = {1252, 65001, kCodePageUtf16Le, kCodePageUtf16Be};
  for (int round = 0; round < 40; ++round) {
    const CodePage codePage = codePages[round % 4];
    const bool utf8 = codePage == 65001;
    const bool utf16 = codePage < 0;
    std::vector<std::u16string> units = {u"a",  u"B",    u"\u00E9", u"\u00C9", u"\r",
                                         u"\n", u"\r\n", u"\u20AC", u"  "};
    if (codePage != 1252)
      units.insert(units.end(), {u"\U0001F600", u"\u0417", u"\u0437"});
    std::vector<std::u16string> findUnits = {u"a", u"b", u"\u00E9", u"\n", u"\r", u"\u20AC"};
    if (codePage != 1252)
      findUnits.insert(findUnits.end(), {u"\U0001F600", u"\u0437"});
    std::u16string find;
    for (size_t k = 1 + pick(4); k > 0; --k)
      find += findUnits[pick(findUnits.size())];

    RunParameters parameters;
    parameters.action = ActionType::FindOnly;
    parameters.findText = find;
    parameters.caseSensitive = pick(2) == 0;
    parameters.settings.inputCodePage = codePage;
    parameters.settings.useByteOrderMarks = static_cast<std::int32_t>(pick(2));

    // Long runs of filler make long lines; the find text comes in now and then, in either
    // case and with its LFs as any line break.
    std::string bytes;
    if (pick(3) == 0)
      bytes = utf8 ? "\xEF\xBB\xBF" : codePage == kCodePageUtf16Le ? "\xFF\xFE" : "";
    if (codePage == kCodePageUtf16Be && pick(3) == 0)
      bytes = "\xFE\xFF";
    const size_t matchEvery = 4 + pick(400);
    const size_t target = 8192 + pick(12000);
    while (bytes.size() < target) {
      std::u16string token;
      const size_t kind = pick(matchEvery);
      if (kind == 0) {
        for (const char16_t unit : find) {
          if (unit == u'\n')
            token += std::u16string(std::array{u"\r", u"\n", u"\r\n"}[pick(3)]);
          else
            token += !parameters.caseSensitive && unit == u'a' && pick(2) ? u'A' : unit;
        }
      } else if (kind < 3) {
        token.assign(pick(150), u'x');
      } else if (utf8 && kind == 3) {
        bytes += std::array{"\xFF", "\xE2\x82", "\xC3"}[pick(3)];
        continue;
      } else if (utf16 && kind == 3) {
        token = u"\xD800";
      } else {
        token = units[pick(units.size())];
      }
      bytes += Encoded(token, codePage);
    }
    if (utf16 && pick(2) == 0)
      bytes += 'y';
    tree.MakeFile(u"text.txt", bytes);

    const size_t piece = 1 + pick(97);
    SCOPED_TRACE("round " + std::to_string(round) + ", pieces of " + std::to_string(piece));
    ASSERT_TRUE(ReadsInPieces(parameters, find, UINT64_MAX));
    const Searched whole =
        FindIn(parameters, tree, u"text.txt", bytes.size(), {UINT64_MAX, kPieceSizes.piece}, stop);
    const Searched pieces = FindIn(parameters, tree, u"text.txt", bytes.size(), {0, piece}, stop);
    EXPECT_EQ(pieces.outcome.text, whole.outcome.text);
    ASSERT_EQ(pieces.entry.matches.size(), whole.entry.matches.size());
    for (size_t i = 0; i < whole.entry.matches.size(); ++i) {
      EXPECT_EQ(pieces.entry.matches[i].line, whole.entry.matches[i].line) << "match " << i;
      EXPECT_EQ(pieces.entry.matches[i].character, whole.entry.matches[i].character)
          << "match " << i;
    }
    ASSERT_EQ(pieces.entry.lines.size(), whole.entry.lines.size());
    for (size_t i = 0; i < whole.entry.lines.size(); ++i) {
      EXPECT_EQ(pieces.entry.lines[i].before, whole.entry.lines[i].before) << "line " << i;
      EXPECT_EQ(pieces.entry.lines[i].beforeMark, whole.entry.lines[i].beforeMark);
      EXPECT_EQ(pieces.entry.lines[i].beforeMarkLength, whole.entry.lines[i].beforeMarkLength);
    }
    if (HasFailure())
      return;
  }
}

// Stop from another thread ends the search of a large file within a piece, and the file is
// reported as any file whose search was stopped.
TEST(FindInPieces, StopEndsTheSearchOfALargeFileSoon) {
  const TempTree tree;
  constexpr std::uint64_t kSize = std::uint64_t{1} << 30;
  if (!tree.MakeSparseFile(u"large.txt", kSize))
    GTEST_SKIP() << "no sparse file";
  RunParameters parameters;
  parameters.action = ActionType::FindOnly;
  parameters.findText = u"needle";
  parameters.caseSensitive = true;
  // Zero bytes are no binary content in UTF-16.
  parameters.settings.inputCodePage = kCodePageUtf16Le;
  platform::StopEvent stop;
  Clock::time_point stopped;
  std::thread stopper([&] {
    std::this_thread::sleep_for(std::chrono::milliseconds(30));
    stopped = Clock::now();
    stop.Set();
  });
  const Searched searched = FindIn(parameters, tree, u"large.txt", kSize, kPieceSizes, stop);
  const auto late = Clock::now() - stopped;
  stopper.join();
  FileOutcome cancelled = Failed(platform::kErrorCancelled);
  EXPECT_EQ(searched.outcome.status, cancelled.status);
  EXPECT_EQ(searched.outcome.text, cancelled.text);
  EXPECT_LT(late, std::chrono::milliseconds(500));
}

}  // namespace
