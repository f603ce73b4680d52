#include "run/type_name_cache.h"

#include <gtest/gtest.h>

#include "platform/path_queries.h"

namespace {

int lookups = 0;

std::u16string CountedLookup(const std::u16string& name) {
  ++lookups;
  return platform::FileTypeName(name);
}

// In an order where a key coarser than what the lookup depends on would hand out a name's text
// to another name.
TEST(TypeNameCache, GivesEachNameTheTextOfItsOwnLookup) {
  const std::u16string names[] = {u"a.txt",  u"CMakeLists.txt", u"B.TXT",   u"Makefile",
                                  u"README", u"x.tar.gz",       u"y.gz",    u"z.c",
                                  u"w.C",    u"a.b c",          u".bashrc", u"a.txt"};
  TypeNameCache cache;
  for (const std::u16string& name : names)
    EXPECT_EQ(cache.NameOf(name), platform::FileTypeName(name))
        << std::string(name.begin(), name.end());
}

TEST(TypeNameCache, LooksUpANameOnceUntilCleared) {
  lookups = 0;
  TypeNameCache cache(CountedLookup);
  cache.NameOf(u"a.txt");
  cache.NameOf(u"a.txt");
  EXPECT_EQ(lookups, 1);
  cache.Clear();
  cache.NameOf(u"a.txt");
  EXPECT_EQ(lookups, 2);
}

}  // namespace
