#include "processing/search/plain_name_search.h"

#include "processing/change_lines.h"
#include "processing/confirmation.h"
#include "processing/search/match_edit.h"
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

  TextEdit EditAt(size_t position) const {
    return EditOfAction(parameters.action, position, position + find.size(), newName.size(),
                        parameters.replaceText);
  }

  bool Accept(size_t position) {
    const CFileResult::replace_info at{0, static_cast<std::int64_t>(position)};
    const auto describe = [&] {
      return LinesOfChange(newName, position, position + find.size(), EditAt(position));
    };
    if (!AskConfirmation(parameters, at, file, describe))
      return false;
    file.matches.push_back(at);
    return true;
  }

  // Makes the edit of the match at `position`; returns where the search goes on.
  size_t Change(size_t position) {
    const TextEdit edit = EditAt(position);
    newName.replace(edit.start, edit.removed, edit.inserted);
    comparison.replace(edit.start, edit.removed, edit.inserted);
    return ResumeAfterEdit(edit, position + find.size());
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
  const ActionType action = parameters.action;

  // The actions that look at the first occurrence only.
  if (action == ActionType::FindOnly || ChangesOncePerText(action)) {
    const size_t position = search.Find(0);
    if (position == std::u16string::npos)
      return;
    if (action == ActionType::FindOnly)
      file.matches.push_back({0, static_cast<std::int64_t>(position)});
    else if (search.Accept(position))
      search.Change(position);
    return;
  }

  size_t start = 0;
  for (;;) {
    const size_t position = search.Find(start);
    if (position == std::u16string::npos)
      return;
    start = search.Accept(position) ? search.Change(position) : position + 1;
  }
}
