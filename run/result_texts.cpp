#include "run/result_texts.h"

#include <vector>

#include "platform/string_table.h"
#include "text/quoted_list.h"
#include "text/text_format.h"

namespace {

constexpr int kLargestUnit = 4;

const std::vector<std::u16string>& SizeUnits() {
  static const std::vector<std::u16string> units = [] {
    std::vector<std::u16string> parsed;
    ParseQuotedList(platform::LoadText(IDS_SIZE_UNITS), parsed);
    return parsed;
  }();
  return units;
}

}  // namespace

std::u16string SizeText(std::uint64_t size) {
  std::uint64_t value = size;
  int unit = 0;
  for (std::uint64_t q = size / 1024; q != 0 && unit < kLargestUnit; q /= 1024) {
    ++unit;
    value = q;
  }
  const std::vector<std::u16string>& units = SizeUnits();
  std::u16string text = AsciiToText(std::to_string(value)) + u" ";
  if (static_cast<size_t>(unit) < units.size())
    text += units[unit];
  return text;
}

std::u16string DateText(const CalendarTime& time) {
  return FormatText(u"%d:%d:%d  %d:%d",
                    {std::int64_t{time.day}, std::int64_t{time.month}, std::int64_t{time.year},
                     std::int64_t{time.hour}, std::int64_t{time.minute}});
}

namespace {

// Lines a match takes in the details text.
std::int64_t DetailsLinesOf(const CFileResult& result, size_t match) {
  if (match >= result.lines.size())
    return 1;
  return result.lines[match].changed ? 3 : 2;
}

}  // namespace

std::u16string MatchLineText(std::u16string_view line, std::uint32_t mark,
                             std::uint32_t markLength) {
  std::u16string text;
  text.reserve(line.size() + 8);
  const size_t markEnd = static_cast<size_t>(mark) + markLength;
  for (size_t i = 0; i <= line.size(); ++i) {
    if (i == mark)
      text += u'\u00BB';
    if (i == markEnd)
      text += u'\u00AB';
    if (i == line.size())
      break;
    const char16_t unit = line[i];
    if (unit == u'\t') {
      text += u"    ";
    } else if (unit == u'\r' || unit == u'\n') {
      // A CR LF pair shows as one break, at its LF.
      if (!(unit == u'\r' && i + 1 < line.size() && line[i + 1] == u'\n'))
        text += u'\u21B5';
    } else {
      text += unit;
    }
  }
  return text;
}

std::u16string MatchDetailsText(const std::u16string& fullPath, const CFileResult& result) {
  std::u16string text = fullPath + u"\r\n";
  const std::u16string pattern = platform::LoadText(IDS_MATCH_POSITION);
  for (size_t i = 0; i < result.matches.size(); ++i) {
    const CFileResult::replace_info& match = result.matches[i];
    text += FormatText(pattern, {match.line + 1, match.character + 1});
    text += u"\r\n";
    if (i >= result.lines.size())
      continue;
    const MatchLine& line = result.lines[i];
    text += line.changed ? u"  - " : u"    ";
    text += MatchLineText(line.before, line.beforeMark, line.beforeMarkLength);
    text += u"\r\n";
    if (line.changed) {
      text += u"  + ";
      text += MatchLineText(line.after, line.afterMark, line.afterMarkLength);
      text += u"\r\n";
    }
  }
  if (const FilePreview* preview = result.preview.get();
      preview && (preview->renames || preview->toRecycleBin)) {
    text += FormatString(IDS_PREVIEW_OLD_NAME, {std::u16string_view(result.name)}) + u"\r\n";
    text += PreviewResultText(result) + u"\r\n";
  }
  return text;
}

std::u16string PreviewResultText(const CFileResult& result) {
  const FilePreview* preview = result.preview.get();
  if (preview && preview->toRecycleBin)
    return platform::LoadText(IDS_PREVIEW_TO_RECYCLE_BIN);
  if (preview && preview->renames)
    return FormatString(IDS_PREVIEW_NEW_NAME, {std::u16string_view(preview->newName)});
  return FormatString(IDS_PREVIEW_CHANGES, {static_cast<std::int64_t>(result.matches.size())});
}

std::int64_t MatchOfDetailsLine(const CFileResult& result, std::int64_t detailsLine) {
  std::int64_t first = 1;
  for (size_t i = 0; i < result.matches.size() && first <= detailsLine; ++i) {
    const std::int64_t next = first + DetailsLinesOf(result, i);
    if (detailsLine < next)
      return static_cast<std::int64_t>(i);
    first = next;
  }
  return -1;
}
