#include "ui/exclusion_preset.h"

#include <algorithm>
#include <vector>

#include "text/quoted_list.h"

std::u16string AddExclusionPreset(const std::u16string& field, const std::u16string& preset) {
  std::vector<std::u16string> have;
  std::vector<std::u16string> adding;
  ParseQuotedList(preset, adding);
  const bool blank = std::all_of(field.begin(), field.end(), IsListBlank);
  if (blank)
    return JoinQuotedList(adding);
  if (!ParseQuotedList(field, have))
    return field + u"," + JoinQuotedList(adding);
  std::u16string result = field;
  for (const std::u16string& item : adding) {
    if (std::find(have.begin(), have.end(), item) == have.end())
      result += u",\"" + item + u"\"";
  }
  return result;
}
