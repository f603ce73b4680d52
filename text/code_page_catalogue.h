// The code pages the user can choose for reading and writing files, each with its display name.
#pragma once

#include <cstddef>
#include <string>
#include <unordered_map>

#include "text/code_page.h"

class CodePageCatalogue {
 public:
  using Map = std::unordered_map<CodePage, std::u16string>;

  // Builds the 154 entries, names from the string table.
  CodePageCatalogue();

  // In the map's own order, which means nothing.
  Map::const_iterator begin() const { return entries_.begin(); }
  Map::const_iterator end() const { return entries_.end(); }
  size_t size() const { return entries_.size(); }

  // The display name of a code page; null when the catalogue does not hold it.
  const std::u16string* Find(CodePage codePage) const;

 private:
  Map entries_;
};
