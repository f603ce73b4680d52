#include "processing/file_name_processing.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>

#ifdef _WIN32
#include <windows.h>
#else
#include <unistd.h>
#endif

#include "platform/name_in_folder.h"
#include "platform/string_table.h"
#include "run/file_processors.h"
#include "run/search_worker.h"
#include "tests/support/recording_channel.h"
#include "tests/support/temp_tree.h"
#include "tests/support/trash_home.h"
#include "text/regex/regex_compiler.h"
#include "text/text_format.h"

namespace fs = std::filesystem;

namespace {

struct RenameMode : testing::Test {
  RenameMode() {
    parameters.targetWindow = &window;
    parameters.renameMode = true;
    worker.parameters = &parameters;
  }

  // Processes the file of this name in the tree's root and returns its result message.
  const ResultMessage& Process(const std::u16string& name) {
    auto entry = std::make_unique<CFileResult>();
    entry->folder = tree.root();
    entry->name = name;
    ProcessFileName(worker, std::move(entry));
    EXPECT_EQ(window.results.size(), ++processed) << "one result message per file";
    return window.results.back();
  }

  void Set(ActionType action, std::u16string find, std::u16string replace = u"") {
    parameters.action = action;
    parameters.findText = std::move(find);
    parameters.replaceText = std::move(replace);
  }

  bool Exists(std::u16string_view name) const { return fs::exists(tree.FsPath(name)); }

  std::string Content(std::u16string_view name) const {
    std::ifstream in(tree.FsPath(name), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }

  static std::u16string Matches(std::int64_t count) {
    return FormatString(IDS_MATCHES_FOUND, {count});
  }

  TempTree tree;
  RecordingChannel window;
  RunParameters parameters;
  SearchWorker worker;
  size_t processed = 0;
};

void ExpectResult(const ResultMessage& message, ResultStatus status, const std::u16string& text,
                  size_t matches) {
  EXPECT_EQ(message.status, status);
  ASSERT_TRUE(message.file);
  EXPECT_EQ(message.file->resultText, text);
  EXPECT_EQ(message.file->matches.size(), matches);
}

}  // namespace

TEST_F(RenameMode, ReplaceRenamesOnceAndTheEntryKeepsTheFoundName) {
  tree.MakeFile(u"old_old.txt", "content");
  Set(ActionType::Replace, u"old", u"new");
  const ResultMessage& result = Process(u"old_old.txt");
  ExpectResult(result, ResultStatus::FileResult, Matches(2), 2);
  EXPECT_EQ(result.file->name, u"old_old.txt");
  EXPECT_FALSE(Exists(u"old_old.txt"));
  EXPECT_EQ(Content(u"new_new.txt"), "content");
}

TEST_F(RenameMode, NamesAreComparedWithoutCaseUnlessCaseSensitive) {
  tree.MakeFile(u"a.txt");
  Set(ActionType::Replace, u"TXT", u"doc");
  ExpectResult(Process(u"a.txt"), ResultStatus::FileResult, Matches(1), 1);
  EXPECT_TRUE(Exists(u"a.doc"));
  parameters.caseSensitive = true;
  Set(ActionType::Replace, u"DOC", u"txt");
  ExpectResult(Process(u"a.doc"), ResultStatus::FileResult, Matches(0), 0);
  EXPECT_TRUE(Exists(u"a.doc"));
}

TEST_F(RenameMode, DeletingPartOfTheNameRenames) {
  tree.MakeFile(u"report_copy.txt");
  Set(ActionType::Delete, u"_copy");
  ExpectResult(Process(u"report_copy.txt"), ResultStatus::FileResult, Matches(1), 1);
  EXPECT_TRUE(Exists(u"report.txt"));
  EXPECT_FALSE(Exists(u"report_copy.txt"));
}

TEST_F(RenameMode, AnEmptyFindTextTakesTheWholeName) {
  tree.MakeFile(u"a.txt");
  parameters.confirmReplace = true;
  Set(ActionType::AddToEnd, u"", u".bak");
  ExpectResult(Process(u"a.txt"), ResultStatus::FileResult, Matches(1), 1);
  EXPECT_TRUE(Exists(u"a.txt.bak"));
  Set(ActionType::AddToBeginning, u"", u"old-");
  Process(u"a.txt.bak");
  EXPECT_TRUE(Exists(u"old-a.txt.bak"));
  Set(ActionType::PlaceAfter, u"", u"b.txt");
  Process(u"old-a.txt.bak");
  EXPECT_TRUE(Exists(u"b.txt")) << "the replace text becomes the whole name";
  Set(ActionType::FindOnly, u"");
  const ResultMessage& found = Process(u"b.txt");
  ExpectResult(found, ResultStatus::FileResult, Matches(1), 1);
  EXPECT_EQ(found.file->matches[0].character, 0);
  EXPECT_EQ(window.AskedCharacters(), (std::vector<std::int64_t>{0, 0, 0}))
      << "Find only never asks";
}

TEST_F(RenameMode, FindOnlyRecordsTheFirstMatchAndLeavesTheFile) {
  tree.MakeFile(u"banana");
  Set(ActionType::FindOnly, u"a");
  const ResultMessage& result = Process(u"banana");
  ExpectResult(result, ResultStatus::FileResult, Matches(1), 1);
  EXPECT_EQ(result.file->matches[0].line, 0);
  EXPECT_EQ(result.file->matches[0].character, 1);
  EXPECT_TRUE(Exists(u"banana"));
}

TEST_F(RenameMode, NoToAllLeavesEveryNameAndTheRunGoesOn) {
  tree.MakeFile(u"x_1");
  tree.MakeFile(u"x_2");
  parameters.confirmReplace = true;
  window.answers = {ConfirmAnswer::NoToAll};
  Set(ActionType::Delete, u"x");
  ExpectResult(Process(u"x_1"), ResultStatus::FileResult, Matches(0), 0);
  ExpectResult(Process(u"x_2"), ResultStatus::FileResult, Matches(0), 0);
  EXPECT_TRUE(Exists(u"x_1") && Exists(u"x_2"));
  EXPECT_EQ(window.asked.size(), 1u);
}

TEST_F(RenameMode, WithoutConfirmReplaceNothingIsAskedEvenAfterNoToAll) {
  tree.MakeFile(u"a1");
  parameters.confirmState = ConfirmAnswer::NoToAll;
  Set(ActionType::Replace, u"1", u"2");
  ExpectResult(Process(u"a1"), ResultStatus::FileResult, Matches(1), 1);
  EXPECT_TRUE(Exists(u"a2"));
  EXPECT_TRUE(window.asked.empty());
}

TEST_F(RenameMode, RenamingOntoAnExistingNameFailsAndLeavesBothFiles) {
  tree.MakeFile(u"a.txt", "first");
  tree.MakeFile(u"b.txt", "second");
  Set(ActionType::Replace, u"a", u"b");
  const ResultMessage& result = Process(u"a.txt");
  EXPECT_EQ(result.status, ResultStatus::FileError);
  EXPECT_FALSE(result.file->resultText.empty()) << "the platform's message";
  EXPECT_EQ(Content(u"a.txt"), "first");
  EXPECT_EQ(Content(u"b.txt"), "second");
}

TEST_F(RenameMode, ANameThatWouldLeaveTheFolderIsRefused) {
  tree.MakeFolder(u"sub");
  tree.MakeFile(u"a_b");
  tree.MakeFile(u"xx");
  Set(ActionType::Replace, u"_", u"/../");
  const ResultMessage& slash = Process(u"a_b");
  ExpectResult(slash, ResultStatus::FileError,
               FormatString(IDS_NEW_NAME_INVALID, {std::u16string_view(u"a/../b")}), 1);
  EXPECT_TRUE(Exists(u"a_b"));
  Set(ActionType::Replace, u"x", u".");
  ExpectResult(Process(u"xx"), ResultStatus::FileError,
               FormatString(IDS_NEW_NAME_INVALID, {std::u16string_view(u"..")}), 2);
  EXPECT_TRUE(Exists(u"xx"));
  Set(ActionType::PlaceBefore, u"a", u"sub/");
  Process(u"a_b");
  EXPECT_TRUE(Exists(u"a_b"));
  EXPECT_FALSE(Exists(u"sub/a_b"));
}

TEST(NewFileName, StaysInItsFolderOnlyWithoutSeparatorsOrDotNames) {
  EXPECT_TRUE(StaysInFolder(u"a.txt"));
  EXPECT_TRUE(StaysInFolder(u".hidden"));
  for (std::u16string_view name : {u"", u".", u"..", u"a/b", u"/a", u"a/"})
    EXPECT_FALSE(StaysInFolder(name)) << std::string(name.begin(), name.end());
#ifdef _WIN32
  EXPECT_FALSE(StaysInFolder(u"a\\b"));
  EXPECT_FALSE(StaysInFolder(u". ."));
  EXPECT_FALSE(StaysInFolder(u"...")) << "trailing dots are cut off";
  for (std::u16string_view name : {u"a.", u"a ", u"CON", u"nul.txt", u"Com1.log"})
    EXPECT_FALSE(StaysInFolder(name)) << std::string(name.begin(), name.end());
  EXPECT_TRUE(StaysInFolder(u"CONSOLE.txt"));
#else
  EXPECT_TRUE(StaysInFolder(u"..."));
  EXPECT_TRUE(StaysInFolder(u"a\\b"));
  EXPECT_TRUE(StaysInFolder(u"CON"));
#endif
}

TEST_F(RenameMode, AReadOnlyFileIsAnErrorEvenForFindOnly) {
  tree.MakeFile(u"locked.txt");
  fs::permissions(tree.FsPath(u"locked.txt"),
                  fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                  fs::perm_options::remove);
  Set(ActionType::FindOnly, u"zzz");
  ExpectResult(Process(u"locked.txt"), ResultStatus::FileError,
               platform::LoadText(IDS_FILE_READ_ONLY), 0);
  parameters.settings.replaceReadOnly = 1;
  ExpectResult(Process(u"locked.txt"), ResultStatus::FileResult, Matches(0), 0);
}

TEST_F(RenameMode, AHiddenFileIsAnErrorUnlessHiddenFilesAreSearched) {
#ifdef _WIN32
  const std::u16string name = u"secret.txt";
  tree.MakeFile(name);
  SetFileAttributesW(tree.FsPath(name).c_str(), FILE_ATTRIBUTE_HIDDEN);
#else
  const std::u16string name = u".secret";
  tree.MakeFile(name);
#endif
  parameters.settings.searchHidden = 0;
  Set(ActionType::Replace, u"secret", u"open");
  ExpectResult(Process(name), ResultStatus::FileError, platform::LoadText(IDS_FILE_HIDDEN), 0);
  EXPECT_TRUE(Exists(name));
}

TEST_F(RenameMode, AFileGoneBeforeProcessingIsAnError) {
  Set(ActionType::Replace, u"a", u"b");
  const ResultMessage& result = Process(u"missing-a");
  EXPECT_EQ(result.status, ResultStatus::FileError);
  EXPECT_FALSE(result.file->resultText.empty());
}

TEST_F(RenameMode, KeepFileDateSetsTheOldTimesOnTheRenamedFile) {
  tree.MakeFile(u"dated-1.txt");
  // Whole seconds: the times travel on the platform's 100-nanosecond scale.
  const auto old = std::chrono::floor<std::chrono::seconds>(
      fs::last_write_time(tree.FsPath(u"dated-1.txt")) - std::chrono::hours(240));
  fs::last_write_time(tree.FsPath(u"dated-1.txt"), old);
  parameters.settings.keepFileDate = 1;
  Set(ActionType::Replace, u"1", u"2");
  ExpectResult(Process(u"dated-1.txt"), ResultStatus::FileResult, Matches(1), 1);
  ASSERT_TRUE(Exists(u"dated-2.txt"));
  EXPECT_EQ(fs::last_write_time(tree.FsPath(u"dated-2.txt")), old);
}

TEST_F(RenameMode, KeepFileDateStillRenamesAFileThatCannotBeOpenedForWriting) {
  tree.MakeFile(u"fixed-1.txt");
  fs::permissions(tree.FsPath(u"fixed-1.txt"),
                  fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                  fs::perm_options::remove);
  parameters.settings.keepFileDate = 1;
  parameters.settings.replaceReadOnly = 1;
  Set(ActionType::Replace, u"1", u"2");
  ExpectResult(Process(u"fixed-1.txt"), ResultStatus::FileResult, Matches(1), 1);
  EXPECT_TRUE(Exists(u"fixed-2.txt"));
}

TEST_F(RenameMode, PatternsChangeTheNameThroughTheRegexDriver) {
  RegexProgram program;
  ASSERT_EQ(CompileRegex(false, program, u"a{b+}c"), kRegexOk);
  parameters.useRegex = true;
  parameters.regex = &program;
  tree.MakeFile(u"xabbbc.txt");
  Set(ActionType::Replace, u"a{b+}c", u"X");
  const ResultMessage& result = Process(u"xabbbc.txt");
  ExpectResult(result, ResultStatus::FileResult, Matches(1), 1);
  EXPECT_EQ(result.file->matches[0].character, 2);
  EXPECT_TRUE(Exists(u"xaXc.txt"));
}

TEST_F(RenameMode, AWholeNameDeletedByAPatternGoesToTheTrash) {
  if (TrashFilesFolder().empty())
    GTEST_SKIP() << "the recycle bin cannot be redirected here";
  RegexProgram program;
  ASSERT_EQ(CompileRegex(false, program, u".+"), kRegexOk);
  parameters.useRegex = true;
  parameters.regex = &program;
  tree.MakeFile(u"pattern-gone.txt");
  Set(ActionType::Delete, u".+");
  ExpectResult(Process(u"pattern-gone.txt"), ResultStatus::FileResult,
               platform::LoadText(IDS_DELETED), 1);
  EXPECT_FALSE(Exists(u"pattern-gone.txt"));
}

TEST_F(RenameMode, ANameThatLosesAllItsUnitsGoesToTheTrash) {
  const fs::path trash = TrashFilesFolder();
  if (trash.empty())
    GTEST_SKIP() << "the recycle bin cannot be redirected here";
  tree.MakeFile(u"aaa", "kept in the trash");
  tree.MakeFile(u"whole.txt", "also kept");
  Set(ActionType::Delete, u"a");
  ExpectResult(Process(u"aaa"), ResultStatus::FileResult, platform::LoadText(IDS_DELETED), 3);
  EXPECT_FALSE(Exists(u"aaa"));
  std::ifstream in(trash / "aaa", std::ios::binary);
  EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()),
            "kept in the trash");
  // An empty find text with Delete deletes every found file.
  Set(ActionType::Delete, u"");
  ExpectResult(Process(u"whole.txt"), ResultStatus::FileResult, platform::LoadText(IDS_DELETED), 1);
  EXPECT_TRUE(fs::exists(trash / "whole.txt"));
}

#ifndef _WIN32
// GIO refuses the system-internal /dev/shm: the file must not be deleted for good instead.
TEST_F(RenameMode, AFileTheTrashCannotTakeIsReportedAndKept) {
  const std::string name = "voxalon-kept-" + std::to_string(getpid());
  const fs::path path = fs::path("/dev/shm") / name;
  {
    std::ofstream out(path);
    if (!out)
      GTEST_SKIP() << "no /dev/shm";
  }
  Set(ActionType::Delete, u"");
  auto entry = std::make_unique<CFileResult>();
  entry->folder = u"/dev/shm";
  entry->name = std::u16string(name.begin(), name.end());
  ProcessFileName(worker, std::move(entry));
  ASSERT_EQ(window.results.size(), 1u);
  ExpectResult(window.results[0], ResultStatus::FileResult, platform::LoadText(IDS_DELETE_FAILED),
               1);
  EXPECT_TRUE(fs::exists(path));
  fs::remove(path);
}
#endif
