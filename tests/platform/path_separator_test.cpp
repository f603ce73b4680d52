#include "platform/path_separator.h"

#include <gtest/gtest.h>

namespace {

struct JoinCase {
  std::u16string_view folder;
  std::u16string_view expected;  // with "a.txt" as the name
};

TEST(JoinPath, OneSeparatorBetweenFolderAndName) {
  const JoinCase cases[] = {
#ifdef _WIN32
      {u"C:\\", u"C:\\a.txt"},
      {u"C:\\Work", u"C:\\Work\\a.txt"},
      {u"C:\\Work\\", u"C:\\Work\\a.txt"},
      {u"C:/Work/", u"C:/Work/a.txt"},
      {u"\\\\server\\share", u"\\\\server\\share\\a.txt"},
#else
      {u"/", u"/a.txt"},
      {u"/tmp/x", u"/tmp/x/a.txt"},
      {u"/tmp/x/", u"/tmp/x/a.txt"},
      {u"/tmp/x\\", u"/tmp/x\\/a.txt"},  // a backslash is part of a POSIX name
#endif
  };
  for (const JoinCase& c : cases)
    EXPECT_EQ(platform::JoinPath(c.folder, u"a.txt"), c.expected)
        << std::string(c.folder.begin(), c.folder.end());
}

}  // namespace
