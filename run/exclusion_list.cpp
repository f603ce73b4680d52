#include "run/exclusion_list.h"

#include "platform/path_separator.h"
#include "platform/wildcard_match.h"

namespace {

bool IsSeparator(char16_t unit) {
  return unit == u'\\' || unit == u'/';
}

// The non-empty parts between separators: either kind in an item, the platform's in a path
// (a POSIX name may hold a backslash).
std::vector<std::u16string_view> SplitPath(std::u16string_view path, bool anySeparator) {
  std::vector<std::u16string_view> parts;
  size_t start = 0;
  for (size_t i = 0; i <= path.size(); ++i) {
    if (i == path.size() || (anySeparator ? IsSeparator(path[i])
                                          : path[i] == platform::kPathSeparator)) {
      if (i > start)
        parts.push_back(path.substr(start, i - start));
      start = i + 1;
    }
  }
  return parts;
}

}  // namespace

ExclusionList::ExclusionList(const std::vector<std::u16string>& items) {
  for (const std::u16string& text : items) {
    Item item;
    item.foldersOnly = !text.empty() && IsSeparator(text.back());
    for (const std::u16string_view part : SplitPath(text, true))
      item.parts.emplace_back(part);
    if (item.parts.empty())
      continue;
    // A leading separator ties even a single name to the search folder.
    const bool path = item.parts.size() > 1 || IsSeparator(text.front());
    (path ? paths_ : names_).push_back(std::move(item));
  }
}

bool ExclusionList::Excludes(std::u16string_view name, std::u16string_view relativePath,
                             bool folder) const {
  for (const Item& item : names_) {
    if ((folder || !item.foldersOnly) && platform::MatchesWildcard(item.parts.front(), name))
      return true;
  }
  if (paths_.empty())
    return false;
  const std::vector<std::u16string_view> parts = SplitPath(relativePath, false);
  for (const Item& item : paths_) {
    if ((!folder && item.foldersOnly) || item.parts.size() != parts.size())
      continue;
    bool all = true;
    for (size_t i = 0; all && i < parts.size(); ++i)
      all = platform::MatchesWildcard(item.parts[i], parts[i]);
    if (all)
      return true;
  }
  return false;
}
