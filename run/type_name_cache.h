// The type names of one run's files, looked up once for all names with the same type key.
#pragma once

#include <string>
#include <unordered_map>

class TypeNameCache {
 public:
  using Lookup = std::u16string (*)(const std::u16string& name);

  explicit TypeNameCache(Lookup lookup);
  TypeNameCache();

  // The type name of a file of this name (without folder).
  const std::u16string& NameOf(const std::u16string& fileName);
  void Clear() { names_.clear(); }

 private:
  Lookup lookup_;
  std::unordered_map<std::u16string, std::u16string> names_;
};
