#include "run/skip_counts.h"

#include "platform/string_table.h"
#include "text/text_format.h"

std::u16string FoundFilesSummary(int found, const SkipCounts& skips) {
  static constexpr struct {
    SkipReason reason;
    unsigned text;
  } kParts[] = {{SkipReason::Binary, IDS_SKIP_COUNT_BINARY},
                {SkipReason::Excluded, IDS_SKIP_COUNT_EXCLUDED},
                {SkipReason::Size, IDS_SKIP_COUNT_SIZE},
                {SkipReason::Date, IDS_SKIP_COUNT_DATE}};
  std::u16string foundText = FormatString(IDS_FOUND_FILES, {found});
  std::u16string parts;
  for (const auto& part : kParts) {
    if (skips[part.reason] == 0)
      continue;
    if (!parts.empty())
      parts += u", ";
    parts += FormatString(part.text, {skips[part.reason]});
  }
  if (parts.empty())
    return foundText;
  return FormatString(IDS_SKIP_SUMMARY, {foundText, parts});
}
