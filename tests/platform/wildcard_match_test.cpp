#include "platform/wildcard_match.h"

#include <gtest/gtest.h>

namespace {

struct MatchCase {
  std::u16string_view mask;
  std::u16string_view name;
  bool matches;
};

TEST(MatchesWildcard, WindowsListingSemantics) {
  const MatchCase cases[] = {
      {u"*", u"anything", true},
      {u"*", u"", true},
      {u"*.txt", u"a.txt", true},
      {u"*.txt", u"A.TXT", true},
      {u"*.txt", u"a.txt.bak", false},
      {u"*.htm", u"page.html", false},  // what a short name "PAGE~1.HTM" would let through
      {u"*.doc", u"letter.docx", false},
      {u"*.txt", u".txt", true},
      {u"a*", u"a", true},
      {u"a*b", u"axxbxxb", true},
      {u"a*b", u"axxbxxc", false},
      {u"?.txt", u"a.txt", true},
      {u"?.txt", u"ab.txt", false},
      {u"?.txt", u".txt", false},
      {u"*.*", u"README", true},
      {u"*.*", u"a.b.c", true},
      {u"a.*", u"a", true},
      {u"a.*", u"ab", false},
      {u"*a*a*a", u"aaaaaaaaaaaaaaaaaaaaaaaab", false},
      {u"\u00e9t\u00e9.*", u"\u00c9T\u00c9.doc", true},  // é and É
      {u"\u0444*", u"\u0424\u0430\u0439\u043b", true},   // ф and Ф
      {u"\U0001F600?", u"\U0001F600x", true},            // a surrogate pair matched as is
  };
  for (const MatchCase& c : cases) {
    EXPECT_EQ(platform::MatchesWildcard(c.mask, c.name), c.matches)
        << std::string(c.mask.begin(), c.mask.end()) << " / "
        << std::string(c.name.begin(), c.name.end());
  }
}

}  // namespace
