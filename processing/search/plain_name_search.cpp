#include "processing/search/plain_name_search.h"

#include "processing/change_lines.h"
#include "processing/confirmation.h"
#include "text/lower_case.h"

namespace {

struct NameSearch {
  RunParameters& parameters;
  CFileResult& file;
  std::u16string& newName;
  // The name as searched: lower-cased unless case-sensitive, changed in step with newName.
  std::u16string comparison;
  std::u16string find;

  size_t Find(size_t start) const { return comparison.find(find, start); }

  bool Accept(size_t position) {
    const CFileResult::replace_info at{0, static_cast<std::int64_t>(position)};
    const auto describe = [&] {
      const size_t end = position + find.size();
      return LinesOfChange(newName, position, end,
                           EditOfAction(parameters.action, position, end, newName.size(),
                                        parameters.replaceText));
    };
    if (!AskConfirmation(parameters, at, file, describe))
      return false;
    file.matches.push_back(at);
    return true;
  }

  void Splice(size_t position, size_t removeCount, const std::u16string& insert) {
    newName.replace(position, removeCount, insert);
    comparison.replace(position, removeCount, insert);
  }
};

}  // namespace

void SearchNamePlain(RunParameters& parameters, CFileResult& file, std::u16string& newName) {
  NameSearch search{parameters, file, newName, newName, parameters.findText};
  if (search.find.empty())
    return;
  if (!parameters.caseSensitive) {
    LowerCaseInPlace(search.comparison);
    LowerCaseInPlace(search.find);
  }
  const std::u16string& replace = parameters.replaceText;
  const size_t findLength = search.find.size();
  const size_t replaceLength = replace.size();
  const ActionType action = parameters.action;

  // The actions that look at the first occurrence only.
  if (action == ActionType::FindOnly || action == ActionType::AddToBeginning ||
      action == ActionType::AddToEnd) {
    const size_t position = search.Find(0);
    if (position == std::u16string::npos)
      return;
    if (action == ActionType::FindOnly)
      file.matches.push_back({0, static_cast<std::int64_t>(position)});
    else if (search.Accept(position))
      newName = action == ActionType::AddToBeginning ? replace + newName : newName + replace;
    return;
  }

  size_t start = 0;
  for (;;) {
    const size_t position = search.Find(start);
    if (position == std::u16string::npos)
      return;
    if (!search.Accept(position)) {
      start = position + 1;
      continue;
    }
    switch (action) {
      case ActionType::Replace:
        search.Splice(position, findLength, replace);
        start = position + replaceLength;
        break;
      case ActionType::Delete:
        search.Splice(position, findLength, std::u16string());
        start = position;
        break;
      case ActionType::PlaceBefore:
        search.Splice(position, 0, replace);
        start = position + replaceLength + findLength;
        break;
      case ActionType::PlaceAfter:
        search.Splice(position + findLength, 0, replace);
        start = position + findLength + replaceLength;
        break;
      default:
        return;
    }
  }
}
