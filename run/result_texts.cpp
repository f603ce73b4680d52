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

std::u16string MatchDetailsText(const std::u16string& fullPath, const CFileResult& result) {
  std::u16string text = fullPath + u"\r\n";
  const std::u16string pattern = platform::LoadText(IDS_MATCH_POSITION);
  for (const CFileResult::replace_info& match : result.matches) {
    text += FormatText(pattern, {match.line + 1, match.character + 1});
    text += u"\r\n";
  }
  return text;
}
