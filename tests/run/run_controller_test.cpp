#include "run/run_controller.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "platform/string_table.h"
#include "processing/confirmation.h"
#include "tests/run/run_harness.h"
#include "tests/support/temp_tree.h"
#include "text/text_format.h"

using ::testing::ElementsAre;
using ::testing::IsEmpty;

namespace {

std::u16string FoundFiles(std::int64_t count) {
  return FormatString(IDS_FOUND_FILES, {count});
}

class RunWindow : public ::testing::Test {
 protected:
  void MakeFiles(int count) {
    std::u16string name = u"f0.txt";
    for (int i = 0; i < count; ++i, ++name[1])
      tree.MakeFile(name);
  }
  RunFields Fields() const { return FieldsFor(tree.root(), u"*.txt"); }

  TempTree tree;
  RunHarness run;
};

TEST_F(RunWindow, FilesWithoutMatchesListNothingAndTheRunEndsWithZero) {
  MakeFiles(3);
  RunFields fields = Fields();
  fields.findText = u"absent";
  ASSERT_TRUE(run.Run(fields));
  EXPECT_THAT(run.view.rows, IsEmpty());
  EXPECT_THAT(run.controller.results(), IsEmpty());
  EXPECT_THAT(run.view.statusTexts,
              ElementsAre(platform::LoadText(IDS_IN_PROGRESS), FoundFiles(0)));
  EXPECT_EQ(run.controller.runState(), RunState::Idle);
}

TEST_F(RunWindow, MatchingFilesBecomeRowsInArrivalOrder) {
  MakeFiles(3);
  run.RecordFiles(true);
  ASSERT_TRUE(run.Run(Fields()));
  ASSERT_EQ(run.view.rows.size(), 3u);
  for (size_t i = 0; i < 3; ++i) {
    EXPECT_EQ(run.view.rows[i].row, static_cast<int>(i));
    EXPECT_EQ(run.view.rows[i].index, i);
    EXPECT_EQ(run.view.rows[i].name, run.controller.results()[i]->name);
  }
  EXPECT_EQ(run.view.status(), FoundFiles(3));
}

TEST_F(RunWindow, FileLimitStopsTheRunAfterTheFirstFileBeyondIt) {
  MakeFiles(5);
  run.RecordFiles(true);
  run.settings.maxFilesShown = 2;
  ASSERT_TRUE(run.Run(FieldsFor(tree.root(), u"*.txt", false)));
  EXPECT_EQ(run.processed.paths.size(), 3u);  // the third is processed, only not listed
  EXPECT_EQ(run.view.rows.size(), 2u);
  EXPECT_EQ(run.controller.results().size(), 2u);
  EXPECT_EQ(run.view.CountStatus(platform::LoadText(IDS_STOPPING)), 1);
  EXPECT_EQ(run.view.status(), FoundFiles(2));
}

TEST_F(RunWindow, StopSignalsOnceAndOnlyWhileRunning) {
  run.controller.OnStop();
  EXPECT_THAT(run.view.statusTexts, IsEmpty());

  MakeFiles(2);
  run.controller.OnRun(Fields());
  ASSERT_EQ(run.controller.runState(), RunState::Running);
  ASSERT_TRUE(run.controller.worker().thread.IsSet());
  run.controller.OnStop();
  EXPECT_EQ(run.controller.runState(), RunState::Stopping);
  EXPECT_FALSE(run.controller.worker().thread.IsSet());
  EXPECT_TRUE(run.controller.worker().StopRequested());
  run.controller.OnStop();
  EXPECT_EQ(run.view.CountStatus(platform::LoadText(IDS_STOPPING)), 1);
  ASSERT_TRUE(run.WaitUntilIdle());
  EXPECT_EQ(run.view.CountStatus(u"Found files: "), 1);
}

TEST_F(RunWindow, ClearOnlyWhenIdleAndThenEmptiesTheTextFieldsToo) {
  MakeFiles(2);
  run.RecordFiles(true);
  ASSERT_TRUE(run.Run(Fields()));
  ASSERT_EQ(run.controller.results().size(), 2u);

  run.controller.OnRun(Fields());
  run.channel.ServeOne(std::chrono::seconds(10));  // the first file of the new run
  run.controller.OnClear();
  EXPECT_EQ(run.view.rows.size(), 1u);
  EXPECT_EQ(run.view.textFieldClears, 0);
  ASSERT_TRUE(run.WaitUntilIdle());

  const std::u16string status = run.view.status();
  run.controller.OnClear();
  EXPECT_THAT(run.view.rows, IsEmpty());
  EXPECT_THAT(run.controller.results(), IsEmpty());
  EXPECT_EQ(run.view.textFieldClears, 1);
  EXPECT_EQ(run.view.status(), status);
}

TEST_F(RunWindow, FileErrorsAndSearchErrorsGoToTheErrorLogOnly) {
  MakeFiles(1);
  run.controller.worker().SetFileProcessor(
      [](SearchWorker& worker, std::unique_ptr<CFileResult> entry) {
        entry->resultText = u"Access is denied.";
        entry->matches.push_back({0, 0});
        worker.SendFileResult(ResultStatus::FileError, std::move(entry));
        worker.SendSearchError(u"listing failed");
      });
  ASSERT_TRUE(run.Run(Fields()));
  EXPECT_THAT(run.view.rows, IsEmpty());
  EXPECT_THAT(
      run.view.errorLog,
      ElementsAre(u" (\"" + tree.Path(u"f0.txt") + u"\"): Access is denied.", u"listing failed"));
}

TEST_F(RunWindow, ConfirmationReachesTheWindowWithTheFullPathAndReturnsItsAnswer) {
  MakeFiles(1);
  std::vector<bool> consents;
  run.controller.worker().SetFileProcessor(
      [&consents](SearchWorker& worker, std::unique_ptr<CFileResult> entry) {
        consents.push_back(AskConfirmation(*worker.parameters, {0, 0}, *entry));
        consents.push_back(AskConfirmation(*worker.parameters, {1, 2}, *entry));
        worker.SendFileResult(ResultStatus::FileResult, std::move(entry));
      });
  run.view.confirmationAnswer = ConfirmAnswer::NoToAll;
  ASSERT_TRUE(run.Run(Fields()));
  EXPECT_THAT(consents, ElementsAre(false, false));
  EXPECT_THAT(run.view.confirmationPaths, ElementsAre(tree.Path(u"f0.txt")));
  EXPECT_EQ(run.controller.parameters().confirmState, ConfirmAnswer::NoToAll);
}

TEST_F(RunWindow, StopAndWaitReturnsOnlyAfterTheCompletionMessage) {
  MakeFiles(5);
  run.RecordFiles(true);
  run.controller.StopAndWait(run.channel);  // idle: returns at once
  run.controller.OnRun(FieldsFor(tree.root(), u"*.txt", false));
  ASSERT_TRUE(run.channel.ServeOne(std::chrono::seconds(10)));
  run.controller.StopAndWait(run.channel);
  EXPECT_EQ(run.controller.runState(), RunState::Idle);
  EXPECT_EQ(run.view.CountStatus(u"Found files: "), 1);
  EXPECT_FALSE(run.controller.worker().thread.IsSet());
  EXPECT_LE(run.processed.paths.size(), 2u);  // the one served, and perhaps the next
}

TEST(RunningUi, IdleAndRunningStates) {
  const RunningUi idle = RunningUiFor(true, false, 0);
  EXPECT_TRUE(idle.runButton && idle.inputs && idle.useVariables && idle.settingsItem &&
              idle.idleActionItems && idle.replaceEdit);
  EXPECT_FALSE(idle.stopButton || idle.stopItem);

  const RunningUi running = RunningUiFor(false, false, 0);
  EXPECT_TRUE(running.stopButton && running.stopItem);
  EXPECT_FALSE(running.runButton || running.inputs || running.useVariables ||
               running.settingsItem || running.idleActionItems);
}

TEST(RunningUi, UseVariablesFollowsRenameModeAndReplaceFollowsTheAction) {
  EXPECT_FALSE(RunningUiFor(true, true, 0).useVariables);
  EXPECT_FALSE(RunningUiFor(false, false, 0).useVariables);
  for (bool idle : {true, false}) {
    for (std::int32_t action = 0; action <= 6; ++action) {
      const bool noReplacement = action == static_cast<std::int32_t>(ActionType::FindOnly) ||
                                 action == static_cast<std::int32_t>(ActionType::Delete);
      EXPECT_EQ(RunningUiFor(idle, false, action).replaceEdit, !noReplacement)
          << idle << " " << action;
    }
  }
}

}  // namespace
