// Real Windows fails Win32 calls on paths of MAX_PATH units or more and cuts trailing dots and
// spaces off names, unless the path comes in the "\\?\" form. Wine takes long paths as they
// are; the name ending in a dot fails there too.
#include <windows.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "platform/string_table.h"
#include "platform/system_error.h"
#include "platform/win32/wide.h"
#include "tests/run/run_harness.h"
#include "tests/support/temp_tree.h"
#include "text/text_format.h"

using ::testing::IsEmpty;
using ::testing::UnorderedElementsAre;

namespace {

// Files and folders made and removed in the "\\?\" form, which std::filesystem does not use.
class ExtendedTree {
 public:
  explicit ExtendedTree(const std::u16string& root) : root_(root) {}
  ~ExtendedTree() {
    for (auto it = made_.rbegin(); it != made_.rend(); ++it) {
      const std::u16string path = Call(*it);
      if (!DeleteFileW(platform::Wide(path)))
        RemoveDirectoryW(platform::Wide(path));
    }
  }
  ExtendedTree(const ExtendedTree&) = delete;
  ExtendedTree& operator=(const ExtendedTree&) = delete;

  std::u16string Folder(const std::u16string& relative) {
    const std::u16string path = root_ + u'\\' + relative;
    EXPECT_TRUE(CreateDirectoryW(platform::Wide(Call(path)), nullptr)) << GetLastError();
    made_.push_back(path);
    return path;
  }
  std::u16string File(const std::u16string& relative, const char* content) {
    const std::u16string path = root_ + u'\\' + relative;
    HANDLE file = CreateFileW(platform::Wide(Call(path)), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    EXPECT_NE(file, INVALID_HANDLE_VALUE) << GetLastError();
    DWORD written = 0;
    WriteFile(file, content, static_cast<DWORD>(strlen(content)), &written, nullptr);
    CloseHandle(file);
    made_.push_back(path);
    return path;
  }
  // A file made here that a test renamed.
  void Renamed(const std::u16string& from, const std::u16string& to) {
    for (std::u16string& path : made_)
      if (path == from)
        path = to;
  }
  static bool Exists(const std::u16string& path) {
    return GetFileAttributesW(platform::Wide(Call(path))) != INVALID_FILE_ATTRIBUTES;
  }

 private:
  static std::u16string Call(const std::u16string& path) {
    return u"\\\\?\\" + path;
  }
  std::u16string root_;
  std::vector<std::u16string> made_;
};

TEST(LongPaths, FilesBeyondMaxPathAndNamesEndingInADotAreSearchedAndRenamed) {
  TempTree tree;
  ExtendedTree made(tree.root());
  std::u16string relative;
  for (char16_t level = u'a'; level < u'a' + 6; ++level) {
    relative += std::u16string(50, level);
    made.Folder(relative);
    relative += u'\\';
  }
  const std::u16string deep = made.File(relative + u"deep.txt", "x");
  ASSERT_GT(deep.size(), 300u);
  made.File(u"trail.", "x");

  RunHarness run;
  ASSERT_TRUE(run.Run(FieldsFor(tree.root(), u"*")));
  std::vector<std::u16string> found;
  for (const auto& result : run.controller.results())
    found.push_back(result->name + u'|' + result->resultText);
  const std::u16string oneMatch = FormatString(IDS_MATCHES_FOUND, {std::int64_t{1}});
  EXPECT_THAT(found, UnorderedElementsAre(u"deep.txt|" + oneMatch, u"trail.|" + oneMatch));
  EXPECT_THAT(run.view.errorLog, IsEmpty());

  RunFields rename = FieldsFor(tree.root(), u"*");
  rename.renameMode = true;
  rename.action = ActionType::Replace;
  rename.findText = u"deep";
  rename.replaceText = u"found";
  ASSERT_TRUE(run.Run(rename));
  const std::u16string renamed = tree.root() + u'\\' + relative + u"found.txt";
  made.Renamed(deep, renamed);
  EXPECT_TRUE(ExtendedTree::Exists(renamed));
  EXPECT_FALSE(ExtendedTree::Exists(deep));
  EXPECT_THAT(run.view.errorLog, IsEmpty());

  // The shell's recycle bin takes no path this long: the file stays, with the reason.
  rename.action = ActionType::Delete;
  rename.findText = u"found.txt";
  ASSERT_TRUE(run.Run(rename));
  EXPECT_TRUE(ExtendedTree::Exists(renamed));
  std::u16string tooLong;
  FormatSystemError(ERROR_FILENAME_EXCED_RANGE, tooLong);
  ASSERT_EQ(run.view.errorLog.size(), 1u);
  EXPECT_NE(run.view.errorLog[0].find(tooLong), std::u16string::npos);
}

}  // namespace
