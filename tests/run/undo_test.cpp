// Undo from the backups of real runs: the files, their times and names come back byte for byte.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "platform/file_fault.h"
#include "platform/string_table.h"
#include "processing/backup/backup_runs.h"
#include "run/run_backups.h"
#include "tests/run/run_harness.h"
#include "tests/support/temp_tree.h"

namespace fs = std::filesystem;

namespace {

constexpr char kOriginal[] = "one zebra\r\ntwo zebra\n";
// Whole seconds, which every platform's file times hold exactly.
const fs::file_time_type kOldTime(std::chrono::duration_cast<std::chrono::seconds>(
    (fs::file_time_type::clock::now() - std::chrono::hours(240)).time_since_epoch()));

class Undo : public ::testing::Test {
 protected:
  Undo() {
    tree.MakeFolder(u"files");
    run.settings.backupDirectory = tree.Path(u"backups");
  }

  void MakeFile(std::u16string_view name, std::string_view content = kOriginal) {
    tree.MakeFile(u"files/" + std::u16string(name), content);
    fs::last_write_time(File(name), kOldTime);
  }
  fs::path File(std::u16string_view name) const {
    return tree.FsPath(u"files/" + std::u16string(name));
  }
  std::string Content(std::u16string_view name) const {
    std::ifstream in(File(name), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }

  void Change(ActionType action, std::u16string find, std::u16string replace = u"okapi",
              bool renameMode = false) {
    RunFields fields = FieldsFor(tree.Path(u"files"), u"*.*");
    fields.action = action;
    fields.findText = std::move(find);
    fields.replaceText = std::move(replace);
    fields.renameMode = renameMode;
    ASSERT_TRUE(run.Run(fields));
  }
  void UndoRun() {
    run.prompt.shown.clear();
    run.controller.OnUndo();
    ASSERT_TRUE(run.WaitUntilIdle());
  }
  std::vector<std::u16string> ResultTexts() const {
    std::vector<std::u16string> texts;
    for (const auto& result : run.controller.results())
      texts.push_back(result->name + u": " + result->resultText);
    return texts;
  }

  TempTree tree;
  RunHarness run;
};

TEST_F(Undo, EveryContentActionComesBackByteForByteWithItsTime) {
  const ActionType actions[] = {ActionType::Replace,        ActionType::Delete,
                                ActionType::PlaceBefore,    ActionType::PlaceAfter,
                                ActionType::AddToBeginning, ActionType::AddToEnd};
  for (const ActionType action : actions) {
    SCOPED_TRACE(static_cast<int>(action));
    MakeFile(u"a.txt");
    MakeFile(u"b.txt", "no match");
    Change(action, u"zebra");
    ASSERT_NE(Content(u"a.txt"), kOriginal);
    EXPECT_TRUE(run.controller.CanUndo());
    UndoRun();
    ASSERT_EQ(run.prompt.shown.size(), 1u);
    EXPECT_EQ(run.prompt.shown[0].buttons, PromptButtons::OkCancel);
    EXPECT_NE(run.prompt.shown[0].text.find(u": 1 files?"), std::u16string::npos);
    EXPECT_EQ(Content(u"a.txt"), kOriginal);
    EXPECT_EQ(fs::last_write_time(File(u"a.txt")), kOldTime);
    EXPECT_EQ(ResultTexts(), std::vector<std::u16string>{u"a.txt: Restored"});
    EXPECT_FALSE(run.controller.CanUndo());
  }
}

TEST_F(Undo, RenamesAreReversedAndDeletedFilesComeBackFromTheBackup) {
  MakeFile(u"zebra.txt");
  MakeFile(u"gone.dat", "kept bytes");
  Change(ActionType::Replace, u"zebra", u"okapi", true);
  ASSERT_TRUE(fs::exists(File(u"okapi.txt")));
  Change(ActionType::Delete, u"", u"", true);
  ASSERT_FALSE(fs::exists(File(u"gone.dat")));
  UndoRun();
  EXPECT_EQ(Content(u"gone.dat"), "kept bytes");
  EXPECT_EQ(Content(u"okapi.txt"), kOriginal) << "the deletion run is taken back first";
  EXPECT_EQ(fs::last_write_time(File(u"gone.dat")), kOldTime);
  UndoRun();
  EXPECT_FALSE(fs::exists(File(u"okapi.txt")));
  EXPECT_EQ(Content(u"zebra.txt"), kOriginal);
}

TEST_F(Undo, FilesChangedSinceOrNamesTakenAgainAreSkippedWithAReason) {
  MakeFile(u"a.txt");
  MakeFile(u"b.txt");
  Change(ActionType::Replace, u"zebra");
  {
    std::ofstream(File(u"b.txt"), std::ios::binary) << "edited by hand";
  }
  UndoRun();
  EXPECT_EQ(Content(u"a.txt"), kOriginal);
  EXPECT_EQ(Content(u"b.txt"), "edited by hand");
  std::vector<std::u16string> texts = ResultTexts();
  std::sort(texts.begin(), texts.end());
  EXPECT_EQ(texts, (std::vector<std::u16string>{u"a.txt: Restored",
                                                 u"b.txt: Skipped: changed since the run"}));

  Change(ActionType::Replace, u"a.", u"c.", true);
  MakeFile(u"a.txt", "a newcomer");
  UndoRun();
  EXPECT_EQ(Content(u"a.txt"), "a newcomer");
  EXPECT_EQ(Content(u"c.txt"), kOriginal);
  EXPECT_EQ(ResultTexts(), std::vector<std::u16string>{u"c.txt: Skipped: the name is taken"});
}

TEST_F(Undo, TwiceGoesTwoRunsBackAndThenThereIsNothingLeft) {
  MakeFile(u"a.txt");
  Change(ActionType::Replace, u"zebra", u"okapi");
  Change(ActionType::Replace, u"okapi", u"lion");
  UndoRun();
  EXPECT_EQ(Content(u"a.txt"), "one okapi\r\ntwo okapi\n");
  UndoRun();
  EXPECT_EQ(Content(u"a.txt"), kOriginal);
  UndoRun();
  ASSERT_EQ(run.prompt.shown.size(), 1u);
  EXPECT_EQ(run.prompt.shown[0].text, platform::LoadText(IDS_NOTHING_TO_UNDO));
}

TEST_F(Undo, ABackupThatCannotBeWrittenLeavesItsFileUnchangedAndTheRunGoesOn) {
  MakeFile(u"a.txt");
  MakeFile(u"b.txt");
  platform::FileFault fault;
  fault.operation = platform::FileOperation::Append;
  fault.skip = 1;  // the journal's header goes through; the first file's bytes do not
  fault.error = platform::kErrorOutOfMemory;
  platform::ArmFileFault(fault);
  Change(ActionType::Replace, u"zebra");
  platform::DisarmFileFaults();
  const int unchanged = (Content(u"a.txt") == kOriginal) + (Content(u"b.txt") == kOriginal);
  EXPECT_EQ(unchanged, 1);
  ASSERT_EQ(run.view.errorLog.size(), 1u);
  EXPECT_NE(run.view.errorLog[0].find(u"Left unchanged: couldn't make the backup"),
            std::u16string::npos);
  UndoRun();
  EXPECT_EQ(Content(u"a.txt"), kOriginal);
  EXPECT_EQ(Content(u"b.txt"), kOriginal);
}

TEST_F(Undo, RunsWithoutBackupsOrChangesLeaveNothingToUndo) {
  MakeFile(u"a.txt");
  Change(ActionType::FindOnly, u"zebra");
  Change(ActionType::Replace, u"absent");
  run.settings.makeBackup = 0;
  Change(ActionType::Replace, u"zebra");
  EXPECT_FALSE(run.controller.CanUndo());
  EXPECT_TRUE(ListRunFolders(BackupRootOf(run.settings)).empty());
}

}  // namespace

namespace {

// Changed files are written a batch at a time, once the batch's backups are flushed together:
// no file before its backup is durable, and one flush of the data and one of the journal serve
// the whole batch.
TEST_F(Undo, ABatchOfChangesWaitsForOneFlushOfItsBackups) {
  const struct {
    int syncsThatWork;
    int filesChanged;
  } cases[] = {{0, 0}, {1, 0}, {2, 5}};
  for (const auto& test : cases) {
    SCOPED_TRACE(test.syncsThatWork);
    for (const char16_t* name : {u"a.txt", u"b.txt", u"c.txt", u"d.txt", u"e.txt"})
      MakeFile(name);
    run.view.errorLog.clear();
    platform::FileFault fault;
    fault.operation = platform::FileOperation::Sync;
    fault.skip = test.syncsThatWork;
    fault.count = 1000;
    fault.error = platform::kErrorOutOfMemory;
    platform::ArmFileFault(fault);
    Change(ActionType::Replace, u"zebra");
    platform::DisarmFileFaults();
    int changed = 0;
    for (const char16_t* name : {u"a.txt", u"b.txt", u"c.txt", u"d.txt", u"e.txt"})
      changed += Content(name) != kOriginal;
    EXPECT_EQ(changed, test.filesChanged);
    EXPECT_EQ(run.view.errorLog.size(), static_cast<size_t>(5 - test.filesChanged));
    if (test.filesChanged > 0) {
      UndoRun();
      EXPECT_EQ(Content(u"e.txt"), kOriginal);
    }
  }
}

// A batch never changes more files than the results may list: as without batches, the run stops
// with one file beyond the limit processed.
TEST_F(Undo, TheFileLimitBoundsABatch) {
  for (const char16_t* name : {u"a.txt", u"b.txt", u"c.txt", u"d.txt", u"e.txt"})
    MakeFile(name);
  run.settings.maxFilesShown = 2;
  Change(ActionType::Replace, u"zebra");
  int changed = 0;
  for (const char16_t* name : {u"a.txt", u"b.txt", u"c.txt", u"d.txt", u"e.txt"})
    changed += Content(name) != kOriginal;
  EXPECT_EQ(changed, 3);
  EXPECT_EQ(run.controller.results().size(), 2u);
}

}  // namespace
