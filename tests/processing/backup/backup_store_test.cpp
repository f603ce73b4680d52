#include "processing/backup/backup_store.h"

#include <gtest/gtest.h>

#include <string>

#include "platform/clock.h"
#include "platform/path_separator.h"
#include "processing/backup/backup_runs.h"
#include "processing/backup/run_journal.h"
#include "tests/support/temp_tree.h"

namespace {

TEST(RunJournal, PathsWithTabsBreaksBackslashesAndLoneSurrogatesComeBackAsWritten) {
  RunJournal run;
  run.started = 133000000000000000;
  run.searchPaths = u"C:\\a\tb";
  JournalEntry content;
  content.id = 1;
  content.path = u"x\\y\nz\r\xDC80\xD83D\xDE00.txt";
  content.size = 5;
  content.hash = 0xFEDCBA9876543210;
  content.timesKnown = true;
  content.times.lastWrite = 42;
  JournalEntry rename;
  rename.id = 2;
  rename.kind = JournalEntryKind::Rename;
  rename.path = u"old";
  rename.newPath = u"new\\u0041";
  content.state = JournalEntryState::Done;
  content.newSize = 7;
  content.newHash = 9;
  const std::string text = JournalHeaderLines(run) + JournalEntryLine(content) +
                           JournalEntryLine(rename) + JournalStateLine(content) +
                           JournalEndLine() + "restored\t2";  // cut short: no line feed
  RunJournal read;
  ASSERT_TRUE(ParseRunJournal(text, read));
  EXPECT_EQ(read.searchPaths, run.searchPaths);
  ASSERT_EQ(read.entries.size(), 2u);
  EXPECT_EQ(read.entries[0].path, content.path);
  EXPECT_EQ(read.entries[0].hash, content.hash);
  EXPECT_EQ(read.entries[0].times.lastWrite, 42u);
  EXPECT_EQ(read.entries[0].state, JournalEntryState::Done);
  EXPECT_EQ(read.entries[0].newSize, 7u);
  EXPECT_EQ(read.entries[1].newPath, rename.newPath);
  EXPECT_EQ(read.entries[1].state, JournalEntryState::Started) << "the cut line does not count";
  EXPECT_TRUE(read.ended);
  EXPECT_FALSE(ParseRunJournal("not a journal\n", read));
}

TEST(BackupStore, KeepsTheNewestRunsAndMakesNoFolderForARunWithoutBackups) {
  TempTree tree;
  const std::u16string root = tree.Path(u"Backups");
  for (int i = 0; i < 25; ++i) {
    const std::u16string name = u"200001" + std::u16string(1, u'0' + i / 10) +
                                std::u16string(1, u'0' + i % 10) + u"-000000-000";
    RunJournal run;
    tree.MakeFile(u"Backups/" + name + u"/journal.txt", JournalHeaderLines(run) + JournalEndLine());
  }
  BackupStore unused(root, RunJournal());
  unused.End();
  EXPECT_EQ(ListRunFolders(root).size(), 25u);
  RunJournal now;
  now.started = platform::CurrentFileTime();
  BackupStore store(root, std::move(now));
  int id = 0;
  std::u16string reason;
  const unsigned char bytes[] = {'a', 'b'};
  ASSERT_TRUE(store.BackUpContent(JournalEntryKind::Content, tree.Path(u"f.txt"), bytes, {},
                                  nullptr, id, reason));
  store.End();
  const std::vector<RunFolder> runs = ListRunFolders(root);
  ASSERT_EQ(runs.size(), kKeptRuns);
  EXPECT_EQ(runs.front().folder, platform::JoinPath(root, u"20000106-000000-000"));
  EXPECT_EQ(runs.back().folder, store.folder());
  ASSERT_EQ(runs.back().journal.entries.size(), 1u);
  std::vector<unsigned char> read;
  EXPECT_TRUE(ReadBackedUpBytes(store.folder(), runs.back().journal.entries[0], read));
  EXPECT_EQ(read, std::vector<unsigned char>(bytes, bytes + 2));
}

}  // namespace
