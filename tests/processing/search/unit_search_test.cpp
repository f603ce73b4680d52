// The vectorised line-break count against a unit-by-unit count, over every span of random texts,
// so that every block boundary and the overlapping last block are crossed.
#include "processing/search/unit_search.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <vector>

namespace {

template <class T>
BreakCount CountOneByOne(const std::vector<T>& text, size_t from, size_t to, T cr, T lf) {
  BreakCount count;
  for (size_t p = from; p < to; ++p) {
    if (text[p] == lf || (text[p] == cr && !(p + 1 < to && text[p + 1] == lf))) {
      ++count.breaks;
      count.afterLastBreak = p + 1;
    }
  }
  return count;
}

template <class T>
std::vector<T> RandomText(std::mt19937& random, size_t length, T cr, T lf) {
  std::vector<T> text(length);
  for (T& unit : text) {
    const unsigned pick = random() % 8;
    unit = pick == 0 ? cr : pick == 1 ? lf : static_cast<T>('a' + pick);
  }
  return text;
}

TEST(CountBreaks, EverySpanMatchesAUnitByUnitCount) {
  std::mt19937 random(7);
  BreakValues<unsigned char> bytes;
  bytes.carriageReturn.Add('\r');
  bytes.lineFeed.Add('\n');
  // A code page where two bytes stand for LF.
  BreakValues<unsigned char> twoLineFeeds = bytes;
  twoLineFeeds.lineFeed.Add(0x25);
  for (int round = 0; round < 6; ++round) {
    const std::vector<char16_t> units = RandomText<char16_t>(random, 70, u'\r', u'\n');
    const std::vector<unsigned char> text = RandomText<unsigned char>(random, 70, '\r', '\n');
    for (size_t from = 0; from <= text.size(); ++from) {
      for (size_t to = from; to <= text.size(); ++to) {
        const BreakCount unitCount = CountBreaks(units.data(), from, to);
        const BreakCount unitExpected = CountOneByOne<char16_t>(units, from, to, u'\r', u'\n');
        ASSERT_EQ(unitCount.breaks, unitExpected.breaks) << from << ".." << to;
        ASSERT_EQ(unitCount.afterLastBreak, unitExpected.afterLastBreak) << from << ".." << to;
        const BreakCount byteCount = CountBreaks(text.data(), from, to, bytes);
        const BreakCount byteExpected = CountOneByOne<unsigned char>(text, from, to, '\r', '\n');
        ASSERT_EQ(byteCount.breaks, byteExpected.breaks) << from << ".." << to;
        ASSERT_EQ(byteCount.afterLastBreak, byteExpected.afterLastBreak) << from << ".." << to;
      }
    }
    std::vector<unsigned char> mixed = text;
    for (unsigned char& byte : mixed)
      byte = byte == 'c' ? 0x25 : byte;
    for (size_t from = 0; from < mixed.size(); from += 3) {
      const BreakCount count = CountBreaks(mixed.data(), from, mixed.size(), twoLineFeeds);
      BreakCount expected;
      for (size_t p = from; p < mixed.size(); ++p) {
        const bool lineFeed = mixed[p] == '\n' || mixed[p] == 0x25;
        const bool nextLineFeed =
            p + 1 < mixed.size() && (mixed[p + 1] == '\n' || mixed[p + 1] == 0x25);
        if (lineFeed || (mixed[p] == '\r' && !nextLineFeed)) {
          ++expected.breaks;
          expected.afterLastBreak = p + 1;
        }
      }
      ASSERT_EQ(count.breaks, expected.breaks) << from;
      ASSERT_EQ(count.afterLastBreak, expected.afterLastBreak) << from;
    }
  }
  // Long spans are counted in bulk, and the last break looked for afterwards: breaks only near
  // the start, and everywhere.
  std::vector<unsigned char> text = RandomText<unsigned char>(random, 20000, '\r', '\n');
  std::vector<unsigned char> few(text.size(), 'x');
  std::copy_n(text.begin(), 300, few.begin());
  for (const std::vector<unsigned char>* bytesOf : {&text, &few}) {
    std::vector<char16_t> units(bytesOf->begin(), bytesOf->end());
    for (size_t from = 0; from < 100; from += 7) {
      for (const size_t to : {size_t{4500}, size_t{9001}, size_t{19999}}) {
        const BreakCount expected = CountOneByOne<unsigned char>(*bytesOf, from, to, '\r', '\n');
        const BreakCount count = CountBreaks(bytesOf->data(), from, to, bytes);
        ASSERT_EQ(count.breaks, expected.breaks) << from << ".." << to;
        ASSERT_EQ(count.afterLastBreak, expected.afterLastBreak) << from << ".." << to;
        const BreakCount unitCount = CountBreaks(units.data(), from, to);
        ASSERT_EQ(unitCount.breaks, expected.breaks) << from << ".." << to;
        ASSERT_EQ(unitCount.afterLastBreak, expected.afterLastBreak) << from << ".." << to;
      }
    }
  }
}

}  // namespace
