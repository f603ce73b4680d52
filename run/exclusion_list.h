// The exclusions of a run: the names and paths below a search folder that the walk passes over.
#pragma once

#include <string>
#include <string_view>
#include <vector>

class ExclusionList {
 public:
  ExclusionList() = default;
  // Items as the Exclude field's list gives them. An item without a separator (\ or /) is a
  // wildcard for names; one with a separator is matched, part by part, against the path below
  // the search folder; one ending in a separator takes folders only. Wildcards and case as the
  // masks have them.
  explicit ExclusionList(const std::vector<std::u16string>& items);

  bool empty() const { return names_.empty() && paths_.empty(); }

  // Whether the entry is excluded: its name, and its path below the search folder (the names
  // down to it joined by the platform's separator).
  bool Excludes(std::u16string_view name, std::u16string_view relativePath, bool folder) const;

 private:
  struct Item {
    std::vector<std::u16string> parts;
    bool foldersOnly = false;
  };
  std::vector<Item> names_;
  std::vector<Item> paths_;
};
