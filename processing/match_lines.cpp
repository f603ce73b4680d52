#include "processing/match_lines.h"

#include <algorithm>
#include <new>
#include <string>

namespace {

constexpr char16_t kEllipsis = u'\u2026';

bool IsBreakUnit(char16_t unit) {
  return unit == u'\r' || unit == u'\n';
}

// The line cut around [start, end): the context on each side and the match's own units, each
// up to its cap. `mark` receives where the match stands in the result and how long it is there.
std::u16string CutLine(const LineSource& text, size_t lineFrom, size_t start, size_t end,
                       size_t lineTo, std::uint32_t& mark, std::uint32_t& markLength) {
  std::u16string line;
  const size_t from = start - std::min(start - lineFrom, kMatchContextUnits);
  if (from > lineFrom)
    line += kEllipsis;
  for (size_t i = from; i < start; ++i)
    line += text[i];
  mark = static_cast<std::uint32_t>(line.size());
  const size_t shownEnd = std::min(end, start + kMatchMarkUnits);
  for (size_t i = start; i < shownEnd; ++i)
    line += text[i];
  if (shownEnd < end)
    line += kEllipsis;
  markLength = static_cast<std::uint32_t>(line.size() - mark);
  const size_t to = end + std::min(lineTo - end, kMatchContextUnits);
  for (size_t i = end; i < to; ++i)
    line += text[i];
  if (to < lineTo)
    line += kEllipsis;
  return line;
}

// The after line: the before line with the change made at its mark.
void MakeAfter(MatchLine& line, const MatchChange& change) {
  const std::u16string_view before = line.before;
  const std::u16string_view head = before.substr(0, line.beforeMark);
  const std::u16string_view match = before.substr(line.beforeMark, line.beforeMarkLength);
  const std::u16string_view tail = before.substr(line.beforeMark + line.beforeMarkLength);
  const std::u16string_view put = change.replacement;
  std::u16string after;
  switch (change.action) {
    case ActionType::Replace:
      after.append(head).append(put);
      line.afterMark = static_cast<std::uint32_t>(head.size());
      line.afterMarkLength = static_cast<std::uint32_t>(put.size());
      after.append(tail);
      break;
    case ActionType::Delete:
      after.append(head).append(tail);
      line.afterMark = static_cast<std::uint32_t>(head.size());
      break;
    case ActionType::PlaceBefore:
      after.append(head).append(put).append(match).append(tail);
      line.afterMark = static_cast<std::uint32_t>(head.size());
      line.afterMarkLength = static_cast<std::uint32_t>(put.size());
      break;
    case ActionType::PlaceAfter:
      after.append(head).append(match).append(put).append(tail);
      line.afterMark = static_cast<std::uint32_t>(head.size() + match.size());
      line.afterMarkLength = static_cast<std::uint32_t>(put.size());
      break;
    case ActionType::FindOnly:
    case ActionType::AddToBeginning:
    case ActionType::AddToEnd:
      // The whole-text additions change the file's ends, not the match's line.
      return;
  }
  line.after = std::move(after);
  line.changed = true;
}

}  // namespace

void KeepMatchLine(CFileResult& file, const LineSource& text, size_t start, size_t end,
                   const MatchChange& change, size_t& runBytes) {
  if (file.lines.size() >= kMatchLinesPerFile || file.lines.size() >= file.matches.size() + 1 ||
      runBytes >= kMatchLineBytesPerRun || start > end || end > text.size())
    return;
  size_t lineFrom = start;
  while (lineFrom > 0 && !IsBreakUnit(text[lineFrom - 1]))
    --lineFrom;
  // A match that takes a line break along ends its line there.
  size_t lineTo = end;
  if (end == start || !IsBreakUnit(text[end - 1])) {
    while (lineTo < text.size() && !IsBreakUnit(text[lineTo]))
      ++lineTo;
  }
  try {
    MatchLine line;
    line.before = CutLine(text, lineFrom, start, end, lineTo, line.beforeMark,
                          line.beforeMarkLength);
    MakeAfter(line, change);
    const size_t bytes =
        sizeof(MatchLine) + (line.before.capacity() + line.after.capacity()) * sizeof(char16_t);
    file.lines.push_back(std::move(line));
    runBytes += bytes;
  } catch (const std::bad_alloc&) {
    // The line is left out; the match stays recorded.
  }
}

void PlainMatchLines::Keep(CFileResult& file, const CFileResult::replace_info& position) {
  if (file.lines.size() >= kMatchLinesPerFile || runBytes_ >= kMatchLineBytesPerRun ||
      position.line < line_)
    return;
  // A break is an LF, or a CR that no LF follows; the line starts after it.
  const size_t size = text_.size();
  size_t i = lineStart_;
  while (line_ < position.line && i < size) {
    const char16_t unit = text_[i++];
    if (unit == u'\n' || (unit == u'\r' && !(i < size && text_[i] == u'\n'))) {
      ++line_;
      lineStart_ = i;
    }
  }
  if (line_ != position.line)
    return;
  KeepAt(file, lineStart_ + static_cast<size_t>(position.character));
}

void PlainMatchLines::KeepAt(CFileResult& file, size_t start) {
  const size_t size = text_.size();
  if (start > size)
    return;
  // As the scan matches: one unit per unit of the find text, a CR LF pair standing for one.
  size_t end = start;
  for (size_t k = 0; k < findLength_ && end < size; ++k) {
    if (text_[end] == u'\r' && end + 1 < size && text_[end + 1] == u'\n')
      ++end;
    ++end;
  }
  KeepMatchLine(file, text_, start, end, change_, runBytes_);
}

void PlainMatchLines::KeepRecorded(CFileResult& file) {
  while (file.lines.size() < std::min(file.matches.size(), kMatchLinesPerFile) &&
         runBytes_ < kMatchLineBytesPerRun) {
    const size_t before = file.lines.size();
    Keep(file, file.matches[before]);
    if (file.lines.size() == before)
      return;
  }
}
