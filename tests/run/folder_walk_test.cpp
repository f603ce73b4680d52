#include "run/folder_walk.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>

#include "platform/path_separator.h"
#include "platform/string_table.h"
#include "platform/system_error.h"
#include "tests/run/run_harness.h"
#include "tests/support/temp_tree.h"
#include "text/text_format.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <dirent.h>
#include <linux/capability.h>
#include <sys/syscall.h>
#include <unistd.h>
#endif

using ::testing::ElementsAre;
using ::testing::IsEmpty;
using ::testing::UnorderedElementsAre;

namespace {

class FolderWalk : public ::testing::Test {
 protected:
  void SetUp() override { run.RecordFiles(true); }

  // Runs over the tree's root; false on a time-out.
  bool Walk(const std::u16string& masks, bool includeSubfolders = true) {
    return run.Run(FieldsFor(u"\"" + tree.root() + u"\"", masks, includeSubfolders));
  }
  std::vector<std::u16string> Processed() const { return tree.Relative(run.processed.paths); }
  // Exactly one completion, and nothing from the worker after it.
  void ExpectSingleCompletion() {
    EXPECT_EQ(run.view.CountStatus(u"Found files: "), 1);
    EXPECT_FALSE(run.channel.ServeOne(std::chrono::milliseconds(100)));
  }

  TempTree tree;
  RunHarness run;
};

TEST_F(FolderWalk, SubfolderFilesComeFirstThenFilesMaskByMask) {
  tree.MakeFile(u"x.txt");
  tree.MakeFile(u"a.dat");
  tree.MakeFile(u"sub/y.txt");
  tree.MakeFile(u"sub/deeper/z.dat");
  ASSERT_TRUE(Walk(u"*.txt, *.dat"));
  EXPECT_THAT(Processed(), ElementsAre(u"sub/deeper/z.dat", u"sub/y.txt", u"x.txt", u"a.dat"));
  EXPECT_THAT(run.view.errorLog, IsEmpty());
  ExpectSingleCompletion();
}

TEST_F(FolderWalk, FileMatchingSeveralMasksIsProcessedOnceUnderTheFirst) {
  tree.MakeFile(u"a.txt");
  tree.MakeFile(u"ab.dat");
  ASSERT_TRUE(Walk(u"*.txt, a*"));
  EXPECT_THAT(Processed(), ElementsAre(u"a.txt", u"ab.dat"));
}

TEST_F(FolderWalk, EntryDescribesTheFileAsTheWalkFoundIt) {
  tree.MakeFile(u"sub/y.txt", "hello");
  ASSERT_TRUE(Walk(u"*.txt"));
  ASSERT_EQ(run.controller.results().size(), 1u);
  const CFileResult& entry = *run.controller.results()[0];
  EXPECT_EQ(entry.name, u"y.txt");
  EXPECT_EQ(entry.folder, tree.Path(u"sub"));
  EXPECT_EQ(entry.size, 5u);
  EXPECT_GE(entry.modified.year, 2020);
  EXPECT_GE(entry.modified.month, 1);
  EXPECT_LE(entry.modified.month, 12);
}

TEST_F(FolderWalk, WithoutSubfoldersNoSubfolderIsWalkedAndFoldersAreNeverFiles) {
  tree.MakeFile(u"x.txt");
  tree.MakeFile(u"sub/y.txt");
  tree.MakeFile(u"old.txt/inner.txt");
  ASSERT_TRUE(Walk(u"*.txt", false));
  EXPECT_THAT(Processed(), ElementsAre(u"x.txt"));
}

TEST_F(FolderWalk, FolderNamedLikeAMaskIsWalkedButNotProcessed) {
  tree.MakeFile(u"old.txt/inner.txt");
  ASSERT_TRUE(Walk(u"*.txt"));
  EXPECT_THAT(Processed(), ElementsAre(u"old.txt/inner.txt"));
}

TEST_F(FolderWalk, HiddenFoldersAreWalkedOnlyWhenHiddenFilesAreSearched) {
  tree.MakeFile(u".hidden/z.txt");
  tree.MakeFile(u"shown/y.txt");
  tree.MakeFile(u"x.txt");
#ifdef _WIN32
  SetFileAttributesW(tree.FsPath(u".hidden").c_str(), FILE_ATTRIBUTE_HIDDEN);
#endif
  run.settings.searchHidden = 0;
  ASSERT_TRUE(Walk(u"*.txt"));
  EXPECT_THAT(Processed(), ElementsAre(u"shown/y.txt", u"x.txt"));
  run.processed = {};
  run.settings.searchHidden = 1;
  ASSERT_TRUE(Walk(u"*.txt"));
  EXPECT_THAT(Processed(), ElementsAre(u".hidden/z.txt", u"shown/y.txt", u"x.txt"));
}

// Paths get one separator after a folder that ends in one, as a drive root does.
TEST_F(FolderWalk, ASearchPathEndingInASeparatorGivesSinglySeparatedPaths) {
  tree.MakeFile(u"sub/y.txt");
  tree.MakeFile(u"x.txt");
  ASSERT_TRUE(run.Run(FieldsFor(u"\"" + tree.root() + platform::kPathSeparator + u"\"", u"*.txt")));
  EXPECT_THAT(run.processed.paths, ElementsAre(tree.Path(u"sub/y.txt"), tree.Path(u"x.txt")));
  ASSERT_EQ(run.controller.results().size(), 2u);
  EXPECT_EQ(run.controller.results()[0]->folder, tree.Path(u"sub"));
}

// "a.txt" becomes "a.txt.bak", which the second mask lists: it is not renamed again.
TEST_F(FolderWalk, AFileTheRunRenamedIsNotProcessedAgain) {
  run.controller.worker().SetFileProcessor({});
  tree.MakeFile(u"a.txt");
  tree.MakeFile(u"b.bak");
  RunFields fields = FieldsFor(u"\"" + tree.root() + u"\"", u"*.txt, *.bak", false);
  fields.renameMode = true;
  fields.confirmReplace = false;
  fields.action = ActionType::AddToEnd;
  fields.findText.clear();
  fields.replaceText = u".bak";
  ASSERT_TRUE(run.Run(fields));
  std::vector<std::u16string> names;
  for (const auto& entry : std::filesystem::directory_iterator(tree.FsPath(u"")))
    names.push_back(entry.path().filename().u16string());
  EXPECT_THAT(names, UnorderedElementsAre(u"a.txt.bak", u"b.bak.bak"));
  EXPECT_THAT(run.view.errorLog, IsEmpty());
}

TEST_F(FolderWalk, MaskWithoutMatchIsSilent) {
  tree.MakeFile(u"x.txt");
  tree.MakeFolder(u"empty");
  ASSERT_TRUE(Walk(u"*.none"));
  EXPECT_THAT(Processed(), IsEmpty());
  EXPECT_THAT(run.view.errorLog, IsEmpty());
  EXPECT_EQ(run.view.status(), FormatString(IDS_FOUND_FILES, {std::int64_t{0}}));
  ExpectSingleCompletion();
}

TEST_F(FolderWalk, SizesOf4GiBAndMoreKeepAll64Bits) {
  constexpr std::uint64_t kSize = (std::uint64_t{5} << 30) + 3;
  if (!tree.MakeSparseFile(u"big.bin", kSize))
    GTEST_SKIP() << "no room for a sparse file";
  ASSERT_TRUE(Walk(u"*.bin"));
  EXPECT_THAT(run.processed.sizes, ElementsAre(kSize));
}

TEST_F(FolderWalk, StopDuringADeepWalkEndsEveryLevelAndTheRemainingPaths) {
  tree.MakeFile(u"one/f.txt");
  tree.MakeFile(u"one/d1/f.txt");
  tree.MakeFile(u"one/d1/d2/f.txt");
  tree.MakeFile(u"one/d1/d2/d3/f.txt");
  tree.MakeFile(u"two/g.txt");
  tree.MakeFile(u"two/s/h.txt");
  run.view.onRowAdded = [this] { run.controller.OnStop(); };
  RunFields fields = FieldsFor(tree.Path(u"one") + u"," + tree.Path(u"two"), u"*.txt");
  ASSERT_TRUE(run.Run(fields));
  EXPECT_THAT(Processed(), ElementsAre(u"one/d1/d2/d3/f.txt"));
  EXPECT_EQ(run.view.CountStatus(u"Stopping..."), 1);
  ExpectSingleCompletion();
}

TEST_F(FolderWalk, AfterAStopAPathWhoseFirstEntryIsAFileStillProcessesIt) {
  tree.MakeFile(u"one/a1.txt");
  tree.MakeFile(u"one/a2.txt");
  tree.MakeFile(u"two/b1.txt");
  tree.MakeFile(u"two/b2.txt");
  run.view.onRowAdded = [this] { run.controller.OnStop(); };
  ASSERT_TRUE(run.Run(FieldsFor(tree.Path(u"one") + u"," + tree.Path(u"two"), u"*.txt", false)));
  std::vector<std::u16string> processed = Processed();
  ASSERT_EQ(processed.size(), 2u);
  EXPECT_TRUE(processed[0].starts_with(u"one/"));
  EXPECT_TRUE(processed[1].starts_with(u"two/"));
  ExpectSingleCompletion();
}

TEST_F(FolderWalk, LoopBackToAnAncestorIsReportedAndNotWalked) {
  tree.MakeFile(u"top/a.txt");
  tree.MakeFile(u"top/sub/b.txt");
  if (!tree.MakeFolderLink(u"top", u"top/sub/back"))
    GTEST_SKIP() << "folder links are not available";
  ASSERT_TRUE(run.Run(FieldsFor(tree.Path(u"top"), u"*.txt")));
  EXPECT_THAT(Processed(), ElementsAre(u"top/sub/b.txt", u"top/a.txt"));
  EXPECT_THAT(
      run.view.errorLog,
      ElementsAre(FormatString(IDS_FOLDER_LOOP, {tree.Path(u"top/sub/back"), tree.Path(u"top")})));
  ExpectSingleCompletion();
}

TEST_F(FolderWalk, LinkToAFolderBesideIsWalkedLikeAnyFolder) {
  tree.MakeFile(u"top/a/x.txt");
  if (!tree.MakeFolderLink(u"top/a", u"top/b"))
    GTEST_SKIP() << "folder links are not available";
  ASSERT_TRUE(run.Run(FieldsFor(tree.Path(u"top"), u"*.txt")));
  EXPECT_THAT(Processed(), UnorderedElementsAre(u"top/a/x.txt", u"top/b/x.txt"));
  EXPECT_THAT(run.view.errorLog, IsEmpty());
}

#ifdef _WIN32

// A mask that reaches into a folder that does not exist: the listing fails with an error of its
// own, not as a mask without a match.
TEST_F(FolderWalk, MaskThePlatformRejectsIsReportedForEveryFolder) {
  tree.MakeFile(u"x.txt");
  tree.MakeFolder(u"sub");
  ASSERT_TRUE(Walk(u"missing\\*.txt, *.txt"));
  EXPECT_THAT(Processed(), ElementsAre(u"x.txt"));
  ASSERT_EQ(run.view.errorLog.size(), 2u);
  for (const std::u16string& text : run.view.errorLog)
    EXPECT_TRUE(text.starts_with(u"Couldn't start search with mask ")) << text.size();
  EXPECT_TRUE(run.view.errorLog[0].starts_with(
      FormatString(IDS_MASK_START_FAILED, {tree.Path(u"sub/missing/*.txt"), u""})));
}

#else

// Drops the calling thread's right to read any folder, which root has, so that a folder without
// permissions cannot be listed; threads started meanwhile inherit the loss.
class WithoutAccessOverride {
 public:
  WithoutAccessOverride() {
    header_.version = _LINUX_CAPABILITY_VERSION_3;
    header_.pid = 0;
    if (syscall(SYS_capget, &header_, saved_) != 0)
      return;
    __user_cap_data_struct lowered[2] = {saved_[0], saved_[1]};
    lowered[0].effective &= ~((1u << CAP_DAC_OVERRIDE) | (1u << CAP_DAC_READ_SEARCH));
    lowered_ = syscall(SYS_capset, &header_, lowered) == 0;
  }
  ~WithoutAccessOverride() {
    if (lowered_)
      syscall(SYS_capset, &header_, saved_);
  }

 private:
  __user_cap_header_struct header_{};
  __user_cap_data_struct saved_[2]{};
  bool lowered_ = false;
};

std::u16string SystemText(platform::ErrorCode code) {
  std::u16string text;
  FormatSystemError(code, text);
  return text;
}

bool CanList(const std::filesystem::path& folder) {
  DIR* dir = opendir(folder.c_str());
  if (dir)
    closedir(dir);
  return dir != nullptr;
}

TEST_F(FolderWalk, UnlistableFolderIsReportedAndTheWalkGoesOn) {
  tree.MakeFile(u"locked/inner.txt");
  tree.MakeFile(u"open/o.txt");
  tree.MakeFile(u"r.txt");
  std::filesystem::permissions(tree.FsPath(u"locked"), std::filesystem::perms::none);
  WithoutAccessOverride unprivileged;
  if (CanList(tree.FsPath(u"locked")))
    GTEST_SKIP() << "this process may list any folder";
  ASSERT_TRUE(Walk(u"*.txt, *.dat"));
  EXPECT_THAT(Processed(), ElementsAre(u"open/o.txt", u"r.txt"));
  const std::u16string locked = tree.Path(u"locked");
  const std::u16string denied = SystemText(EACCES);
  EXPECT_THAT(run.view.errorLog,
              ElementsAre(FormatString(IDS_SEARCH_START_FAILED, {locked, denied}),
                          FormatString(IDS_MASK_START_FAILED, {locked + u"/*.txt", denied}),
                          FormatString(IDS_MASK_START_FAILED, {locked + u"/*.dat", denied})));
  ExpectSingleCompletion();
}

// A pipe would block the run in its opening, a device would be read without end.
TEST_F(FolderWalk, PipesAndDevicesAreLeftOutAndLinksToFilesKept) {
  tree.MakeFile(u"a.txt");
  ASSERT_FALSE(tree.MakeSpecialFiles(u".txt").empty());
  std::filesystem::create_symlink(tree.FsPath(u"a.txt"), tree.FsPath(u"link.txt"));
  ASSERT_TRUE(Walk(u"*.txt"));
  EXPECT_THAT(Processed(), ElementsAre(u"a.txt", u"link.txt"));
}

TEST_F(FolderWalk, EntriesOfAFolderComeInCaseInsensitiveNameOrder) {
  for (const char16_t* name : {u"b.txt", u"C.txt", u"a.txt", u"B_.txt", u"_.txt"})
    tree.MakeFile(name);
  ASSERT_TRUE(Walk(u"*.txt"));
  EXPECT_THAT(Processed(), ElementsAre(u"a.txt", u"b.txt", u"B_.txt", u"C.txt", u"_.txt"));
}

#endif

TEST(IsNewInFolder, ComparesExactlyAndRemembers) {
  SeenPaths seen;
  EXPECT_TRUE(IsNewInFolder(u"d/a.txt", seen));
  EXPECT_FALSE(IsNewInFolder(u"d/a.txt", seen));
  EXPECT_TRUE(IsNewInFolder(u"d/A.txt", seen));
  EXPECT_FALSE(IsNewInFolder(u"d/A.txt", seen));
  EXPECT_THAT(seen, UnorderedElementsAre(u"d/a.txt", u"d/A.txt"));
}

}  // namespace
