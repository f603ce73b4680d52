#include "run/run_command.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "platform/string_table.h"
#include "tests/run/run_harness.h"
#include "tests/support/temp_tree.h"
#include "text/text_format.h"

using ::testing::ElementsAre;
using ::testing::IsEmpty;

namespace {

std::u16string Text(unsigned id) {
  return platform::LoadText(id);
}

class RunCommand : public ::testing::Test {
 protected:
  RunCommand() {
    tree.MakeFile(u"a/file.txt");
    tree.MakeFolder(u"b");
    run.RecordFiles(true);
  }

  // Fields that pass every check: Replace "x" by "y" in folder a.
  RunFields Valid() const {
    RunFields fields = FieldsFor(tree.Path(u"a"), u"*.txt");
    fields.action = ActionType::Replace;
    fields.replaceText = u"y";
    return fields;
  }
  // Runs and expects that nothing started, with exactly this message shown.
  void ExpectRefused(const RunFields& fields, const std::u16string& text,
                     unsigned caption = IDS_ERROR_CAPTION) {
    run.controller.OnRun(fields);
    EXPECT_EQ(run.controller.runState(), RunState::Idle);
    ASSERT_EQ(run.prompt.shown.size(), 1u);
    EXPECT_EQ(run.prompt.shown[0].text, text);
    EXPECT_EQ(run.prompt.shown[0].caption, Text(caption));
    EXPECT_THAT(run.view.uiStates, IsEmpty());
    EXPECT_THAT(run.view.statusTexts, IsEmpty());
  }
  // Runs to the end and expects that it started, with the given number of questions asked.
  void ExpectStarted(const RunFields& fields, size_t questions = 0) {
    ASSERT_TRUE(run.Run(fields));
    EXPECT_EQ(run.prompt.shown.size(), questions);
    EXPECT_THAT(tree.Relative(run.processed.paths), ElementsAre(u"a/file.txt"));
  }

  TempTree tree;
  RunHarness run;
};

TEST_F(RunCommand, ValidFieldsFillTheRecordAndStartTheRun) {
  RunFields fields = Valid();
  fields.caseSensitive = true;
  fields.confirmReplace = true;
  run.settings.maxFilesShown = 7;
  run.settings.regexMode = 0;
  ASSERT_TRUE(run.Run(fields));
  const RunParameters& record = run.controller.parameters();
  EXPECT_EQ(record.action, ActionType::Replace);
  EXPECT_TRUE(record.caseSensitive);
  EXPECT_TRUE(record.confirmReplace);
  EXPECT_TRUE(record.includeSubfolders);
  EXPECT_EQ(record.confirmState, ConfirmAnswer::Ask);
  EXPECT_EQ(record.resultMessage, 1026u);
  EXPECT_EQ(record.confirmMessage, 1027u);
  EXPECT_EQ(record.targetWindow, &run.channel);
  EXPECT_EQ(record.regex, nullptr);
  EXPECT_EQ(record.settings.maxFilesShown, 7);
  EXPECT_EQ(record.settings.regexMode, 1);
  EXPECT_THAT(record.searchPaths, ElementsAre(tree.Path(u"a")));
  EXPECT_THAT(record.masks, ElementsAre(u"*.txt"));
  EXPECT_THAT(run.prompt.shown, IsEmpty());
  EXPECT_EQ(run.view.statusTexts.front(), Text(IDS_IN_PROGRESS));
  EXPECT_EQ(run.view.statusEditClears, 1);
  ASSERT_EQ(run.view.uiStates.size(), 2u);
  EXPECT_FALSE(run.view.uiStates[0].runButton);
  EXPECT_TRUE(run.view.uiStates[1].runButton);
}

TEST_F(RunCommand, RunWhileARunIsActiveDoesNothing) {
  run.controller.OnRun(Valid());  // the worker now waits for the window
  ASSERT_EQ(run.controller.runState(), RunState::Running);
  run.controller.OnRun(FieldsFor(u"", u""));
  EXPECT_THAT(run.prompt.shown, IsEmpty());
  run.controller.OnStop();
  run.controller.OnRun(FieldsFor(u"", u""));
  EXPECT_EQ(run.controller.runState(), RunState::Stopping);
  EXPECT_THAT(run.prompt.shown, IsEmpty());
  ASSERT_TRUE(run.WaitUntilIdle());
  EXPECT_EQ(run.view.CountStatus(Text(IDS_IN_PROGRESS)), 1);
}

TEST_F(RunCommand, SearchPathsMustParseAndBeFolders) {
  ExpectRefused(FieldsFor(u"", u"*.txt"), Text(IDS_PATHS_PARSE_FAILED));
  run.prompt.shown.clear();
  ExpectRefused(FieldsFor(tree.Path(u"a") + u",,", u"*.txt"), Text(IDS_PATHS_PARSE_FAILED));
  EXPECT_THAT(run.recentFolders, IsEmpty());
}

TEST_F(RunCommand, FoldersBeforeAMissingOneStayRecorded) {
  const std::u16string missing = tree.Path(u"missing");
  ExpectRefused(FieldsFor(tree.Path(u"a") + u", " + missing, u"*.txt"),
                FormatString(IDS_PATH_NOT_DIRECTORY, {missing}));
  EXPECT_THAT(run.recentFolders, ElementsAre(tree.Path(u"a")));
}

TEST_F(RunCommand, AFileIsNoFolder) {
  const std::u16string file = tree.Path(u"a/file.txt");
  ExpectRefused(FieldsFor(file, u"*.txt"), FormatString(IDS_PATH_NOT_DIRECTORY, {file}));
}

TEST_F(RunCommand, RecentFoldersKeepTheirPlaceAndHoldTen) {
  run.recentFolders = {tree.Path(u"b")};
  ASSERT_TRUE(run.Run(FieldsFor(tree.Path(u"a") + u"," + tree.Path(u"b"), u"*.txt")));
  EXPECT_THAT(run.recentFolders, ElementsAre(tree.Path(u"a"), tree.Path(u"b")));

  std::vector<std::u16string> recent;
  for (char16_t c = u'0'; c <= u'9'; ++c)
    RecordRecentFolder(recent, std::u16string(1, c));
  RecordRecentFolder(recent, u"5");
  EXPECT_EQ(recent.front(), u"9");
  RecordRecentFolder(recent, u"new");
  EXPECT_EQ(recent.size(), kMaxRecentFolders);
  EXPECT_EQ(recent.front(), u"new");
  EXPECT_EQ(recent.back(), u"1");
}

TEST_F(RunCommand, EmptyOrBadMasksGiveTheMaskMessage) {
  ExpectRefused(FieldsFor(tree.Path(u"a"), u""), Text(IDS_MASKS_PARSE_FAILED));
  run.prompt.shown.clear();
  ExpectRefused(FieldsFor(tree.Path(u"a"), u"*.txt,"), Text(IDS_MASKS_PARSE_FAILED));
}

TEST_F(RunCommand, RenameModeNeedsSingleLineTextsBeforeAnyOtherTextCheck) {
  RunFields fields = Valid();
  fields.renameMode = true;
  fields.findText = u"a\nb";
  fields.replaceText = u"";  // would be the missing-replacement message otherwise
  ExpectRefused(fields, Text(IDS_RENAME_SINGLE_LINE));

  run.prompt.shown.clear();
  fields = Valid();
  fields.renameMode = true;
  fields.replaceText = u"y\r\n";  // the replacement keeps its line breaks
  ExpectRefused(fields, Text(IDS_RENAME_SINGLE_LINE));
}

TEST_F(RunCommand, DeleteWithoutFindTextAsksAndCancelKeepsThePreviousRun) {
  ASSERT_TRUE(run.Run(Valid()));
  ASSERT_EQ(run.view.rows.size(), 1u);
  const size_t statusCount = run.view.statusTexts.size();

  RunFields fields = Valid();
  fields.action = ActionType::Delete;
  fields.findText = u"\r\n";  // nothing left once line breaks are trimmed
  run.prompt.answers = {PromptAnswer::Cancel};
  run.controller.OnRun(fields);
  EXPECT_EQ(run.controller.runState(), RunState::Idle);
  ASSERT_EQ(run.prompt.shown.size(), 1u);
  EXPECT_EQ(run.prompt.shown[0].text, Text(IDS_DELETE_CONTENT_WARNING));
  EXPECT_EQ(run.prompt.shown[0].caption, Text(IDS_WARNING_CAPTION));
  EXPECT_EQ(run.prompt.shown[0].buttons, PromptButtons::OkCancel);
  EXPECT_EQ(run.view.rows.size(), 1u);
  EXPECT_EQ(run.controller.results().size(), 1u);
  EXPECT_EQ(run.view.statusTexts.size(), statusCount);
}

TEST_F(RunCommand, DeleteInRenameModeWarnsAboutRemovingFiles) {
  RunFields fields = Valid();
  fields.action = ActionType::Delete;
  fields.renameMode = true;
  fields.findText.clear();
  run.prompt.answers = {PromptAnswer::Cancel};
  ExpectRefused(fields, Text(IDS_DELETE_FILES_WARNING), IDS_WARNING_CAPTION);
}

TEST_F(RunCommand, DeleteWithoutFindTextStartsWhenConfirmed) {
  RunFields fields = Valid();
  fields.action = ActionType::Delete;
  fields.findText.clear();
  fields.replaceText.clear();
  ExpectStarted(fields, 1);
}

TEST_F(RunCommand, ReplacementIsRequiredByEveryActionThatInserts) {
  for (ActionType action : {ActionType::Replace, ActionType::PlaceBefore, ActionType::PlaceAfter,
                            ActionType::AddToBeginning, ActionType::AddToEnd}) {
    RunFields fields = Valid();
    fields.action = action;
    fields.replaceText.clear();
    run.prompt.shown.clear();
    ExpectRefused(fields, Text(IDS_REPLACEMENT_MISSING));
  }
}

TEST_F(RunCommand, EmptyFindTextWarnsBeforeReplacingWholeContents) {
  for (ActionType action : {ActionType::Replace, ActionType::PlaceBefore, ActionType::PlaceAfter}) {
    RunFields fields = Valid();
    fields.action = action;
    fields.findText.clear();
    run.prompt.shown.clear();
    run.prompt.answers = {PromptAnswer::Cancel};
    ExpectRefused(fields, Text(IDS_WHOLE_CONTENT_WARNING), IDS_WARNING_CAPTION);
    EXPECT_EQ(run.prompt.shown[0].buttons, PromptButtons::OkCancel);
  }
}

TEST_F(RunCommand, NoWholeContentWarningInRenameModeOrForAddActions) {
  RunFields fields = Valid();
  fields.findText.clear();
  fields.renameMode = true;
  ExpectStarted(fields);

  run.processed = {};
  fields = Valid();
  fields.action = ActionType::AddToBeginning;
  fields.findText.clear();
  ExpectStarted(fields);
}

TEST_F(RunCommand, FindOnlyNeedsNoTexts) {
  RunFields fields = FieldsFor(tree.Path(u"a"), u"*.txt");
  fields.findText.clear();
  ExpectStarted(fields);
}

TEST_F(RunCommand, FindTextLosesCarriageReturnsAndTrailingLinesWhenSet) {
  RunFields fields = Valid();
  fields.findText = u"a\r\nb\r\n\r\n\n";
  ASSERT_TRUE(run.Run(fields));
  EXPECT_EQ(run.controller.parameters().findText, u"a\nb");
  EXPECT_EQ(run.controller.parameters().replaceText, u"y");

  run.settings.trimTrailingNewLines = 0;
  ASSERT_TRUE(run.Run(fields));
  EXPECT_EQ(run.controller.parameters().findText, u"a\nb\n\n\n");
}

TEST_F(RunCommand, PatternIsCompiledWithLineFeedsWrittenAsEscapes) {
  std::u16string compiled;
  bool compiledCase = false;
  const RegexProgram* program = reinterpret_cast<const RegexProgram*>(&compiled);
  run.controller.SetChecks({[&](const std::u16string& pattern, bool caseSensitive,
                                const RegexProgram*& out, std::u16string&) {
                              compiled = pattern;
                              compiledCase = caseSensitive;
                              out = program;
                              return true;
                            },
                            nullptr});
  RunFields fields = Valid();
  fields.useRegex = true;
  fields.caseSensitive = true;
  fields.findText = u"a\nb";
  ASSERT_TRUE(run.Run(fields));
  EXPECT_EQ(compiled, u"a\\nb");
  EXPECT_TRUE(compiledCase);
  EXPECT_EQ(run.controller.parameters().regex, program);
  EXPECT_EQ(run.controller.parameters().findText, u"a\\nb");
}

TEST_F(RunCommand, PatternThatDoesNotCompileShowsItsMessage) {
  run.controller.SetChecks(
      {[](const std::u16string&, bool, const RegexProgram*&, std::u16string& message) {
         message = platform::LoadText(IDS_REGEX_ERROR_3);
         return false;
       },
       nullptr});
  RunFields fields = Valid();
  fields.useRegex = true;
  fields.findText = u"(";
  ExpectRefused(fields, Text(IDS_REGEX_ERROR_3));
}

TEST_F(RunCommand, VariableErrorIsShownAndOnlyTheFindTextIsChecked) {
  std::vector<std::u16string> checked;
  run.controller.SetChecks({nullptr, [&](std::u16string& text) {
                              checked.push_back(text);
                              text = u"bad variable";
                              return false;
                            }});
  RunFields fields = Valid();
  fields.useVariables = true;
  fields.findText = u"%x%";
  fields.replaceText = u"%y%";
  ExpectRefused(fields, FormatString(IDS_VARIABLE_PARSE_ERROR, {u"bad variable"}));
  EXPECT_THAT(checked, ElementsAre(u"%x%"));
}

TEST_F(RunCommand, VariablesAreCheckedOnlyInTheTextsThatFilesExpand) {
  std::vector<std::u16string> checked;
  run.controller.SetChecks({nullptr, [&](std::u16string& text) {
                              checked.push_back(text);
                              return true;
                            }});
  struct Case {
    ActionType action;
    bool useRegex;
    bool renameMode;
    std::vector<std::u16string> expected;
  };
  for (const Case& c : {Case{ActionType::Replace, false, false, {u"%f%", u"%r%"}},
                        Case{ActionType::AddToEnd, false, false, {u"%f%", u"%r%"}},
                        Case{ActionType::FindOnly, false, false, {u"%f%"}},
                        Case{ActionType::Delete, false, false, {u"%f%"}},
                        Case{ActionType::Replace, true, false, {u"%f%"}},
                        Case{ActionType::Replace, false, true, {}}}) {
    checked.clear();
    RunFields fields = Valid();
    fields.action = c.action;
    fields.useRegex = c.useRegex;
    fields.renameMode = c.renameMode;
    fields.useVariables = true;
    fields.findText = u"%f%";
    fields.replaceText = u"%r%";
    ASSERT_TRUE(run.Run(fields));
    EXPECT_EQ(checked, c.expected) << static_cast<int>(c.action) << c.useRegex << c.renameMode;
  }
}

TEST_F(RunCommand, WorkerThatCannotStartLeavesTheWindowIdle) {
  run.controller.SetWorkerStarter([](SearchWorker& worker, RunParameters&) {
    worker.startError = platform::kErrorOutOfMemory;
    return false;
  });
  run.controller.OnRun(Valid());
  EXPECT_EQ(run.controller.runState(), RunState::Idle);
  ASSERT_EQ(run.prompt.shown.size(), 1u);
  std::u16string reason;
  FormatSystemError(platform::kErrorOutOfMemory, reason);
  EXPECT_EQ(run.prompt.shown[0].text, FormatString(IDS_RUN_START_FAILED, {reason}));
  ASSERT_FALSE(run.view.uiStates.empty());
  EXPECT_TRUE(run.view.uiStates.back().runButton);
  EXPECT_EQ(run.view.status(), Text(IDS_READY));
}

}  // namespace
