#include "run/type_name_cache.h"

#include "platform/path_queries.h"

TypeNameCache::TypeNameCache(Lookup lookup) : lookup_(lookup) {}

TypeNameCache::TypeNameCache() : TypeNameCache(platform::FileTypeName) {}

const std::u16string& TypeNameCache::NameOf(const std::u16string& fileName) {
  std::u16string key(platform::FileTypeKey(fileName));
  auto found = names_.find(key);
  if (found == names_.end())
    found = names_.emplace(std::move(key), lookup_(fileName)).first;
  return found->second;
}
