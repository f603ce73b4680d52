#include "platform/windows_paths.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>

namespace {

std::string Narrow(std::u16string_view text) {
  return std::string(text.begin(), text.end());
}

}  // namespace

TEST(WindowsPaths, OnlyDriveAndUncPathsAreFullyQualified) {
  for (std::u16string_view path : {u"C:\\a", u"c:/a", u"\\\\server\\share", u"\\\\?\\C:\\a"})
    EXPECT_TRUE(platform::IsFullyQualifiedWindowsPath(path)) << Narrow(path);
  for (std::u16string_view path : {u"", u"a", u".", u"..\\docs", u"C:", u"C:a", u"\\a", u"/a"})
    EXPECT_FALSE(platform::IsFullyQualifiedWindowsPath(path)) << Narrow(path);
}

TEST(WindowsPaths, DeviceNamesAreReservedWithAnyExtensionAndCase) {
  for (std::u16string_view name : {u"CON", u"prn", u"Aux.txt", u"nul.tar.gz", u"COM1", u"com9.c",
                                   u"LPT0", u"lpt\u00B9", u"CON .txt"})
    EXPECT_TRUE(platform::IsReservedDeviceName(name)) << Narrow(name);
  for (std::u16string_view name : {u"CONSOLE", u"ACON", u"COM", u"COM10", u"LPTA", u"x.CON", u""})
    EXPECT_FALSE(platform::IsReservedDeviceName(name)) << Narrow(name);
}

TEST(WindowsPaths, LongPathsAndNamesEndingInDotOrSpaceTakeTheExtendedForm) {
  const std::u16string deep = u"C:\\" + std::u16string(platform::kMaxPathUnits - 4, u'x');
  struct Case {
    std::u16string path;
    bool pattern;
    std::u16string expected;
  };
  const Case cases[] = {
      {u"C:\\a\\b.txt", false, u"C:\\a\\b.txt"},
      {u"C:\\a\\b.", false, u"\\\\?\\C:\\a\\b."},
      {u"C:\\a \\b", false, u"\\\\?\\C:\\a \\b"},
      {u"c:/x/./y/../b ", false, u"\\\\?\\c:\\x\\b "},
      {u"\\\\srv\\share\\d.\\f", false, u"\\\\?\\UNC\\srv\\share\\d.\\f"},
      {u"C:\\a.\\*.", true, u"\\\\?\\C:\\a.\\*."},
      {u"C:\\a\\*.", true, u"C:\\a\\*."},
      {u"a.", false, u"a."},
      {u"\\\\?\\C:\\a.", false, u"\\\\?\\C:\\a."},
      {deep, false, deep},
      {deep + u"y", false, u"\\\\?\\" + deep + u"y"},
  };
  for (const Case& c : cases)
    EXPECT_EQ(platform::Win32CallPath(c.path, c.pattern), c.expected) << Narrow(c.path);
}

// The shell deletes a relative path for good, and shortens a name ending in a dot or a space.
TEST(WindowsPaths, TheShellTakesOnlyShortFullyQualifiedPathsAsTheyAre) {
  using platform::ShellPathFault;
  const std::pair<std::u16string, ShellPathFault> cases[] = {
      {u"C:\\a\\b.txt", ShellPathFault::None},
      {u"\\\\srv\\share\\b.txt", ShellPathFault::None},
      {u"b.txt", ShellPathFault::NotFullyQualified},
      {u"..\\docs\\b.txt", ShellPathFault::NotFullyQualified},
      {u"C:b.txt", ShellPathFault::NotFullyQualified},
      {u"C:\\" + std::u16string(platform::kMaxPathUnits, u'x'), ShellPathFault::TooLong},
      {u"C:\\a\\b.", ShellPathFault::NotAsTyped},
      {u"\\\\?\\C:\\a\\b.txt", ShellPathFault::NotAsTyped},
  };
  for (const auto& [path, fault] : cases)
    EXPECT_EQ(platform::CheckShellPath(path), fault) << Narrow(path);
}

TEST(WindowsPaths, DotSegmentsFoldLexicallyBelowTheRoot) {
  EXPECT_EQ(platform::FoldDotSegments(u"/", u"/a/./b/../c//d/", u"/", u'/'), u"/a/c/d");
  EXPECT_EQ(platform::FoldDotSegments(u"/", u"../..", u"/", u'/'), u"/");
  EXPECT_EQ(platform::FoldDotSegments(u"/", u"a/..b/.c", u"/", u'/'), u"/a/..b/.c");
}
