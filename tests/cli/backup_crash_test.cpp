// A run that dies at each point of a file's write (the process ends, no cleanup) is taken back
// by the next start's recovery: every file byte for byte as it was.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#ifdef _WIN32
#include <windows.h>
#endif

#include "platform/file_fault.h"
#include "processing/backup/backup_runs.h"
#include "run/run_backups.h"
#include "tests/run/run_harness.h"
#include "tests/support/child_process.h"
#include "tests/support/temp_tree.h"
#include "text/utf8.h"

namespace fs = std::filesystem;

namespace {

std::u16string CrashChild() {
#ifdef _WIN32
  wchar_t self[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, self, MAX_PATH);
  return (fs::path(self).parent_path() / "voxalon_crash_child.exe").u16string();
#else
  return (fs::read_symlink("/proc/self/exe").parent_path() / "voxalon_crash_child").u16string();
#endif
}

// Long enough that a write cut in the middle leaves both halves; every line changes length.
std::string Original(char tag) {
  std::string text;
  for (int line = 0; line < 2000; ++line)
    text += std::string("zebra ") + tag + " line " + std::to_string(line) + "\n";
  return text;
}

class CrashRecovery : public ::testing::Test {
 protected:
  CrashRecovery() {
    tree.MakeFolder(u"files");
    run.settings.backupDirectory = tree.Path(u"backups");
  }
  std::string Content(std::u16string_view name) const {
    std::ifstream in(tree.FsPath(u"files/" + std::u16string(name)), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }
  // voxalon-cli replacing "zebra" with "ok", ended at the given file operation.
  void RunAndDie(platform::FileOperation operation, int skip, std::uint64_t bytes) {
    const ChildResult child =
        RunChild(CrashChild(), {std::to_string(static_cast<int>(operation)), std::to_string(skip),
                                std::to_string(bytes), "--path", Utf16ToUtf8(tree.Path(u"files")),
                                "--find", "zebra", "--replace", "ok", "--backup-dir",
                                Utf16ToUtf8(tree.Path(u"backups"))});
    ASSERT_TRUE(child.finished);
    ASSERT_EQ(child.exitStatus, platform::kFaultEndStatus) << child.err;
  }

  TempTree tree;
  RunHarness run;
};

TEST_F(CrashRecovery, EveryCrashPointOfAWriteIsRestoredToTheOriginal) {
  struct Point {
    const char* name;
    platform::FileOperation operation;
    std::uint64_t bytes;
  };
  const Point points[] = {{"after the backup", platform::FileOperation::SetLength, 0},
                          {"after the length change", platform::FileOperation::Write, 0},
                          {"in the middle of the write", platform::FileOperation::Write, 20000},
                          {"after the write", platform::FileOperation::Flush, 0}};
  for (const Point& point : points) {
    SCOPED_TRACE(point.name);
    tree.MakeFile(u"files/a.txt", Original('a'));
    RunAndDie(point.operation, 0, point.bytes);
    run.prompt.shown.clear();
    ASSERT_TRUE(run.controller.OfferRecovery());
    ASSERT_TRUE(run.WaitUntilIdle());
    ASSERT_FALSE(run.prompt.shown.empty());
    EXPECT_NE(run.prompt.shown[0].text.find(u"was interrupted"), std::u16string::npos);
    EXPECT_EQ(Content(u"a.txt"), Original('a'));
    EXPECT_FALSE(run.controller.OfferRecovery()) << "recovered once";
  }
}

TEST_F(CrashRecovery, ACompletedFileIsKeptUnlessAsked) {
  tree.MakeFile(u"files/a.txt", Original('a'));
  tree.MakeFile(u"files/b.txt", Original('b'));
  // The second file dies before its length changes: the first is complete.
  RunAndDie(platform::FileOperation::SetLength, 1, 0);
  const std::string a = Content(u"a.txt");
  const std::string b = Content(u"b.txt");
  ASSERT_NE(a == Original('a'), b == Original('b')) << "one file changed, one not";
  run.prompt.answers = {PromptAnswer::Ok, PromptAnswer::Cancel};
  ASSERT_TRUE(run.controller.OfferRecovery());
  ASSERT_TRUE(run.WaitUntilIdle());
  EXPECT_EQ(run.prompt.shown.size(), 2u);
  EXPECT_EQ(Content(u"a.txt"), a);
  EXPECT_EQ(Content(u"b.txt"), b);
  // The rest stays for Undo.
  run.controller.OnUndo();
  ASSERT_TRUE(run.WaitUntilIdle());
  EXPECT_EQ(Content(u"a.txt"), Original('a'));
  EXPECT_EQ(Content(u"b.txt"), Original('b'));
}

TEST_F(CrashRecovery, NothingIsRestoredWithoutAsking) {
  tree.MakeFile(u"files/a.txt", Original('a'));
  RunAndDie(platform::FileOperation::Write, 0, 100);
  const std::string damaged = Content(u"a.txt");
  run.prompt.answers = {PromptAnswer::Cancel, PromptAnswer::Cancel};
  ASSERT_TRUE(run.controller.OfferRecovery());
  ASSERT_TRUE(run.WaitUntilIdle());
  EXPECT_EQ(Content(u"a.txt"), damaged);
  EXPECT_FALSE(run.controller.OfferRecovery()) << "asked once";
}

}  // namespace
