#include "tests/processing/search/plain_scan_reference.h"

#include "platform/lower_case.h"

ReferenceScan ReferencePlainScan(
    std::u16string text, ActionType action, const std::u16string& find,
    const std::u16string& replace, bool caseSensitive,
    const std::function<bool(const CFileResult::replace_info&)>& consent) {
  ReferenceScan result;
  const size_t findLength = find.size();
  size_t i = 0;
  size_t k = 0;
  std::int64_t lines = 0;
  std::int64_t units = 0;
  // The candidate.
  size_t m = 0;
  CFileResult::replace_info position;
  std::int64_t linesAfterFirst = 0;
  std::int64_t unitsAfterFirst = 0;
  bool firstWasPair = false;

  while (findLength != 0 && i < text.size()) {
    const std::int64_t linesBefore = lines;
    const std::int64_t unitsBefore = units;
    const char16_t unit = text[i];
    bool pair = false;
    if (unit == u'\n' || unit == u'\r') {
      ++lines;
      units = 0;
      if (unit == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n') {
        ++i;
        pair = true;
      }
    } else {
      ++units;
    }

    const char16_t findUnit = find[k];
    const bool matches =
        unit == findUnit || ((unit == u'\n' || unit == u'\r') && findUnit == u'\n') ||
        (!caseSensitive && platform::LowerCaseUnit(unit) == platform::LowerCaseUnit(findUnit));
    if (!matches) {
      if (k > 0) {
        k = 0;
        lines = linesAfterFirst;
        units = unitsAfterFirst;
        i = m + 1;
      } else {
        ++i;
      }
      continue;
    }
    if (k == 0) {
      m = i;
      position = {linesBefore, unitsBefore};
      linesAfterFirst = lines;
      unitsAfterFirst = units;
      firstWasPair = pair;
    }
    ++k;
    if (k < findLength) {
      ++i;
      continue;
    }

    const size_t start = firstWasPair ? m - 1 : m;
    const size_t length = i - start + 1;
    k = 0;
    if (action == ActionType::FindOnly) {
      result.matches.push_back(position);
      ++i;
      continue;
    }
    if (!consent(position)) {
      lines = linesAfterFirst;
      units = unitsAfterFirst;
      i = m + 1;
      continue;
    }
    result.matches.push_back(position);
    switch (action) {
      case ActionType::Replace:
        text.replace(start, length, replace);
        i = start + replace.size();
        break;
      case ActionType::Delete:
        text.erase(start, length);
        i = start;
        break;
      case ActionType::PlaceBefore:
        text.insert(start, replace);
        i = i + 1 + replace.size();
        break;
      case ActionType::PlaceAfter:
        text.insert(i + 1, replace);
        i = i + 1 + replace.size();
        break;
      case ActionType::AddToBeginning:
        text.insert(0, replace);
        i = text.size();
        break;
      case ActionType::AddToEnd:
        text.append(replace);
        i = text.size();
        break;
      case ActionType::FindOnly:
        break;
    }
  }
  result.text = std::move(text);
  return result;
}
