#include "processing/change_lines.h"

#include <algorithm>

#include "platform/string_table.h"
#include "text/text_format.h"

namespace {

constexpr size_t kNoMark = static_cast<size_t>(-1);
// Units shown before and after a mark, and of the mark itself.
constexpr size_t kAround = 40;
constexpr size_t kMarkShown = 80;

bool IsBreak(char16_t unit) {
  return unit == u'\r' || unit == u'\n';
}

std::u16string Shown(std::u16string_view text) {
  static const std::u16string lineBreak = platform::LoadText(IDS_CHANGE_LINE_BREAK);
  std::u16string shown;
  for (size_t i = 0; i < text.size(); ++i) {
    const char16_t unit = text[i];
    if (unit == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n')
      continue;  // CR LF shows once
    if (IsBreak(unit))
      shown += lineBreak;
    else if (unit == u'\t')
      shown += u' ';
    else if (unit < 0x20 || unit == 0x7F)
      shown += u'?';
    else
      shown += unit;
  }
  return shown;
}

std::u16string Marked(const MarkedText& side) {
  const std::u16string cut = platform::LoadText(IDS_CHANGE_CUT);
  const std::u16string_view text = side.text;
  if (side.markStart == kNoMark || side.markStart > text.size()) {
    const bool longer = text.size() > 2 * kAround;
    return Shown(text.substr(0, 2 * kAround)) + (longer ? cut : u"");
  }
  const size_t start = side.markStart;
  const size_t end = std::min(side.markEnd, text.size());
  std::u16string shown;
  if (start > kAround)
    shown += cut;
  shown += Shown(text.substr(start - std::min(start, kAround), std::min(start, kAround)));
  std::u16string mark = Shown(text.substr(start, end - start));
  if (mark.size() > kMarkShown)
    mark = mark.substr(0, kMarkShown / 2) + cut + mark.substr(mark.size() - kMarkShown / 2);
  shown += FormatString(IDS_CHANGE_MARK, {mark});
  shown += Shown(text.substr(end, kAround));
  if (text.size() - end > kAround)
    shown += cut;
  return shown;
}

}  // namespace

ChangeLines LinesOfChange(std::u16string_view text, size_t matchStart, size_t matchEnd,
                          const TextEdit& edit) {
  const size_t editStart = std::min(edit.start, text.size());
  const size_t editEnd = std::min(edit.start + edit.removed, text.size());
  matchStart = std::min(matchStart, text.size());
  matchEnd = std::min(matchEnd, text.size());
  size_t low = editStart;
  size_t high = editEnd;
  if (matchStart <= high && matchEnd >= low) {
    low = std::min(low, matchStart);
    high = std::max(high, matchEnd);
  }
  // The lines around, searched no further than the reach.
  size_t lineStart = low;
  while (lineStart > 0 && low - lineStart < kChangeLinesReach && !IsBreak(text[lineStart - 1]))
    --lineStart;
  size_t lineEnd = high;
  while (lineEnd < text.size() && lineEnd - high < kChangeLinesReach && !IsBreak(text[lineEnd]))
    ++lineEnd;

  const std::u16string cut = platform::LoadText(IDS_CHANGE_CUT);
  // A long middle part keeps its two ends.
  auto middle = [&](std::u16string_view part) {
    if (part.size() <= 2 * kChangeLinesReach)
      return std::u16string(part);
    return std::u16string(part.substr(0, kChangeLinesReach)) + cut +
           std::u16string(part.substr(part.size() - kChangeLinesReach));
  };
  // The lines with [from, rest) of the text shown as `marked`.
  auto side = [&](size_t from, std::u16string_view marked, size_t rest) {
    MarkedText out;
    out.text = middle(text.substr(lineStart, from - lineStart));
    out.markStart = out.text.size();
    out.text += middle(marked);
    out.markEnd = out.text.size();
    out.text += middle(text.substr(rest, lineEnd - rest));
    return out;
  };
  ChangeLines lines;
  if (matchStart < lineEnd && matchEnd > lineStart && matchEnd > matchStart) {
    const size_t from = std::max(matchStart, lineStart);
    const size_t to = std::min(matchEnd, lineEnd);
    lines.before = side(from, text.substr(from, to - from), to);
  } else {
    lines.before.text = middle(text.substr(lineStart, lineEnd - lineStart));
    lines.before.markStart = lines.before.markEnd = kNoMark;
  }
  lines.after = side(editStart, edit.inserted, editEnd);
  return lines;
}

std::u16string ChangeLinesText(const ChangeLines& lines) {
  return FormatString(IDS_CHANGE_BEFORE, {Marked(lines.before)}) + u"\n" +
         FormatString(IDS_CHANGE_AFTER, {Marked(lines.after)});
}
