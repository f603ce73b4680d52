#include "processing/search/plain_scan.h"

#include <algorithm>
#include <cstdint>
#include <new>
#include <string>

#include "processing/change_lines.h"
#include "processing/search/growing_block.h"
#include "processing/search/match_edit.h"
#include "processing/search/plain_matcher.h"

// Changes build a new text in one pass from the unchanged parts and the edits, so that many of
// them cost no more than a few.

namespace {

using plain_match::ByteSource;
using plain_match::ExactMatches;
using plain_match::ExactPattern;
using plain_match::MatchFinder;
using plain_match::TokenMatches;
using plain_match::UnitSource;

// Adds a match. A list that fills up early in a long text is given room for as many matches as
// the rest of the text holds at the same rate, rather than being copied at every doubling.
bool Record(std::vector<CFileResult::replace_info>& matches,
            const CFileResult::replace_info& position, size_t at, size_t length) {
  constexpr size_t kEstimateFrom = 4096;
  try {
    if (matches.size() == matches.capacity() && matches.size() >= kEstimateFrom && at > 0) {
      const double rate = static_cast<double>(matches.size()) / static_cast<double>(at);
      const double expected = rate * static_cast<double>(length) * 1.1 + 16;
      if (expected > static_cast<double>(matches.size()) * 2 &&
          expected < static_cast<double>(matches.max_size()))
        matches.reserve(static_cast<size_t>(expected));
    }
    matches.push_back(position);
    return true;
  } catch (const std::bad_alloc&) {
    return false;
  }
}

bool Record(std::vector<size_t>& starts, size_t start) {
  try {
    starts.push_back(start);
    return true;
  } catch (const std::bad_alloc&) {
    return false;
  }
}

// What one scan does and where its changes go.
template <class T>
struct ScanJob {
  ActionType action = ActionType::FindOnly;
  std::basic_string_view<T> replace;
  const MatchConsent* consent = nullptr;  // asked unless the action is FindOnly
  const ByteTable* table = nullptr;       // the units of bytes, for describing a change
  std::vector<CFileResult::replace_info>* matches = nullptr;
  size_t limit = static_cast<size_t>(-1);
  // The changed text, built from the unchanged parts and the replacements; begun only with the
  // first change.
  GrowingBlock<T>* output = nullptr;
  bool changed = false;
  // Tested once every kStopStride units of text passed.
  const platform::StopEvent* stop = nullptr;
  // Matches are looked for at [from, until) only; `matchedTo` is the index after the last one
  // taken.
  size_t from = 0;
  size_t until = static_cast<size_t>(-1);
  size_t matchedTo = 0;
  std::vector<size_t>* starts = nullptr;
};

template <class T>
char16_t UnitOf(T value, const ByteTable* table) {
  if constexpr (sizeof(T) == 1)
    return (*table)[value];
  else
    return value;
}

// The lines of the change a consent is asked for at the match [s, last] of the text as given;
// the text as it stands is the output so far followed by the text from `copied` on.
template <class T>
ChangeLines DescribeChange(const ScanJob<T>& job, const T* values, size_t length, size_t copied,
                           size_t s, size_t last) {
  const T* head = job.output ? job.output->data() : nullptr;
  const size_t headLength = head ? job.output->size() : 0;
  const size_t total = headLength + (length - copied);
  auto unit = [&](size_t i) {
    return UnitOf(i < headLength ? head[i] : values[copied + i - headLength], job.table);
  };
  std::u16string replace;
  for (const T value : job.replace)
    replace += UnitOf(value, job.table);
  size_t matchStart = headLength + (s - copied);
  size_t matchEnd = headLength + (last + 1 - copied);
  const TextEdit edit = EditOfAction(job.action, matchStart, matchEnd, total, replace);
  // The text around the edit, and around the match when the two are near.
  size_t low = edit.start;
  size_t high = edit.start + edit.removed;
  const bool near = matchStart <= high + kChangeLinesReach && matchEnd + kChangeLinesReach >= low;
  if (near) {
    low = std::min(low, matchStart);
    high = std::max(high, matchEnd);
  }
  const size_t from = low > kChangeLinesReach ? low - kChangeLinesReach : 0;
  const size_t to = std::min(total, high + kChangeLinesReach);
  std::u16string window;
  for (size_t i = from; i < to; ++i)
    window += unit(i);
  if (near) {
    matchStart -= from;
    matchEnd -= from;
  } else {
    matchStart = matchEnd = window.size() + 1;
  }
  const TextEdit shifted{edit.start - from, edit.removed, edit.inserted};
  return LinesOfChange(window, matchStart, matchEnd, shifted);
}

// Units of text between two tests of the stop request.
constexpr size_t kStopStride = size_t{1} << 18;

// Scans the text as given; every position and index refers to it. A change copies the text up
// to it into the output and adds the replacement, and reading goes on after the match: the
// result is the same as changing the text in place and going on after the inserted text.
template <class Matches, class T>
platform::ErrorCode Scan(Matches& found, const T* values, size_t length, ScanJob<T>& job) {
  // Candidates are looked for from searchFrom.
  size_t searchFrom = job.from;
  const size_t searchEnd = std::min(length, job.until);
  size_t copied = 0;
  auto copyUpTo = [&](size_t end) {
    const bool ok = job.output->Append(values + copied, end - copied);
    copied = end;
    return ok;
  };
  // Short texts are never stopped: the request is tested from a stride on.
  size_t nextStopTest = kStopStride;
  auto stopped = [&](size_t at) {
    if (!job.stop || at < nextStopTest)
      return false;
    nextStopTest = at + kStopStride;
    return job.stop->IsSet();
  };
  for (size_t count = 0; count < job.limit;) {
    size_t s = 0;
    size_t last = 0;
    CFileResult::replace_info position{};
    // The text is searched a stride at a time.
    bool hit = false;
    for (;;) {
      if (stopped(searchFrom))
        return platform::kErrorCancelled;
      if (searchFrom >= searchEnd)
        break;
      const size_t until =
          searchEnd - searchFrom > kStopStride ? searchFrom + kStopStride : searchEnd;
      hit = found.Next(searchFrom, until, s, last, position);
      if (hit || until == searchEnd)
        break;
      searchFrom = until;
    }
    if (!hit)
      break;
    const auto describe = [&] { return DescribeChange(job, values, length, copied, s, last); };
    if (job.action != ActionType::FindOnly && !(*job.consent)(position, describe)) {
      searchFrom = found.Skip(s);
      continue;
    }
    if (!Record(*job.matches, position, s, length) || (job.starts && !Record(*job.starts, s)))
      return platform::kErrorOutOfMemory;
    ++count;
    if (job.action != ActionType::FindOnly) {
      if (!job.changed && !job.output->Reserve(length + length / 8 + job.replace.size()))
        return platform::kErrorOutOfMemory;
      job.changed = true;
      const BasicTextEdit<T> edit = EditOfAction<T>(job.action, s, last + 1, length, job.replace);
      if (!copyUpTo(edit.start) || !job.output->Append(edit.inserted.data(), edit.inserted.size()))
        return platform::kErrorOutOfMemory;
      copied = edit.end();
      if (ChangesOncePerText(job.action))
        return copyUpTo(length) ? 0 : platform::kErrorOutOfMemory;
    }
    searchFrom = found.Take(s, last);
    job.matchedTo = searchFrom;
  }
  if (job.changed && !copyUpTo(length))
    return platform::kErrorOutOfMemory;
  return 0;
}

// The scan of a file's bytes: by equal bytes where the find text allows, else token by token.
platform::ErrorCode ScanBytes(std::span<const unsigned char> bytes, const ByteTable& table,
                              const MatchFinder& finder, ScanJob<unsigned char>& job) {
  const ByteSource source(bytes, table, finder.filter());
  std::vector<unsigned char> pattern;
  if (ExactPattern(finder, table, source.breaks(), pattern) &&
      ExactByteSearch::Usable(pattern, ExactMatches::OnlyValue(source.breaks().carriageReturn),
                              ExactMatches::OnlyValue(source.breaks().lineFeed))) {
    ExactMatches found(bytes, pattern, source.breaks());
    return Scan(found, bytes.data(), bytes.size(), job);
  }
  TokenMatches<ByteSource> found(source, finder);
  return Scan(found, bytes.data(), bytes.size(), job);
}

// FindOnly over a part of a text: `scan` runs the job with the finder.
template <class T, class ScanWith>
platform::ErrorCode FindInPart(std::u16string_view find, bool caseSensitive, TextPart& part,
                               std::vector<CFileResult::replace_info>& matches,
                               const platform::StopEvent* stop, const ScanWith& scan) {
  part.matchedTo = part.from;
  if (find.empty())
    return 0;
  const MatchFinder finder(find, caseSensitive);
  ScanJob<T> job;
  job.stop = stop;
  job.matches = &matches;
  job.from = job.matchedTo = part.from;
  job.until = part.until;
  job.starts = part.starts;
  const platform::ErrorCode error = scan(finder, job);
  part.matchedTo = job.matchedTo;
  return error;
}

}  // namespace

platform::ErrorCode ScanPlainText(TextBuffer& text, ActionType action, std::u16string_view find,
                                  std::u16string_view replace, bool caseSensitive,
                                  const MatchConsent& consent,
                                  std::vector<CFileResult::replace_info>& matches,
                                  const platform::StopEvent* stop) {
  if (find.empty())
    return 0;
  const MatchFinder finder(find, caseSensitive);
  GrowingBlock<char16_t> output;
  ScanJob<char16_t> job;
  job.stop = stop;
  job.action = action;
  job.replace = replace;
  job.consent = &consent;
  job.matches = &matches;
  job.output = &output;
  const UnitSource source(text.data(), text.length());
  TokenMatches<UnitSource> found(source, finder);
  const platform::ErrorCode error = Scan(found, text.data(), text.length(), job);
  if (error != 0 || !job.changed)
    return error;
  const size_t length = output.size();
  char16_t* block = output.Release();
  if (!block)
    return platform::kErrorOutOfMemory;
  text.Adopt(block, length);
  return 0;
}

platform::ErrorCode FindPlainTextInBytes(std::span<const unsigned char> bytes,
                                         const ByteTable& table, std::u16string_view find,
                                         bool caseSensitive,
                                         std::vector<CFileResult::replace_info>& matches,
                                         size_t limit, const platform::StopEvent* stop) {
  if (find.empty())
    return 0;
  const MatchFinder finder(find, caseSensitive);
  ScanJob<unsigned char> job;
  job.stop = stop;
  job.matches = &matches;
  job.limit = limit;
  return ScanBytes(bytes, table, finder, job);
}

platform::ErrorCode FindPlainTextInPart(std::span<const unsigned char> bytes,
                                        const ByteTable& table, std::u16string_view find,
                                        bool caseSensitive, TextPart& part,
                                        std::vector<CFileResult::replace_info>& matches,
                                        const platform::StopEvent* stop) {
  return FindInPart<unsigned char>(
      find, caseSensitive, part, matches, stop,
      [&](const MatchFinder& finder, ScanJob<unsigned char>& job) {
        return ScanBytes(bytes, table, finder, job);
      });
}

platform::ErrorCode FindPlainTextInPart(std::u16string_view text, std::u16string_view find,
                                        bool caseSensitive, TextPart& part,
                                        std::vector<CFileResult::replace_info>& matches,
                                        const platform::StopEvent* stop) {
  return FindInPart<char16_t>(find, caseSensitive, part, matches, stop,
                              [&](const MatchFinder& finder, ScanJob<char16_t>& job) {
                                const UnitSource source(text.data(), text.size());
                                TokenMatches<UnitSource> found(source, finder);
                                return Scan(found, text.data(), text.size(), job);
                              });
}

platform::ErrorCode ChangePlainTextInBytes(std::span<const unsigned char> bytes,
                                           const ByteTable& table, ActionType action,
                                           std::u16string_view find,
                                           std::span<const unsigned char> replace,
                                           bool caseSensitive, const MatchConsent& consent,
                                           std::vector<CFileResult::replace_info>& matches,
                                           ByteBuffer& changed, const platform::StopEvent* stop) {
  if (find.empty())
    return 0;
  const MatchFinder finder(find, caseSensitive);
  GrowingBlock<unsigned char> output;
  ScanJob<unsigned char> job;
  job.stop = stop;
  job.action = action;
  job.replace = std::basic_string_view<unsigned char>(replace.data(), replace.size());
  job.table = &table;
  job.consent = &consent;
  job.matches = &matches;
  job.output = &output;
  const platform::ErrorCode error = ScanBytes(bytes, table, finder, job);
  if (error != 0 || !job.changed)
    return error;
  const size_t size = output.size();
  unsigned char* block = output.Release();
  if (!block)
    return platform::kErrorOutOfMemory;
  changed.Adopt(block, size);
  return 0;
}
