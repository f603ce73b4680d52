// Taking back the changes of one run from its backups, entry by entry, newest first: contents
// written back with the same protected write as a run, with their times and attributes;
// renames reversed; deleted files made again. The journal records each step, so that an undo
// cut short is found and finished later.
#pragma once

#include <string>
#include <vector>

#include "platform/append_file.h"
#include "platform/system_error.h"
#include "processing/backup/run_journal.h"

enum class RestoreOutcome {
  Restored,
  Unchanged,        // nothing of the run is left to take back in this entry
  ChangedSince,     // someone changed the file after the run
  NameTaken,        // the old name belongs to another file again
  Missing,          // the file is gone
  BackupDamaged,    // the backed-up bytes are unreadable or differ from their hash
  Failed,           // a system error; see `error`
};

struct RestoreResult {
  RestoreOutcome outcome = RestoreOutcome::Unchanged;
  platform::ErrorCode error = 0;
  // The path the entry's file has after the step, and its size.
  std::u16string path;
  std::uint64_t size = 0;
};

class RunRestore {
 public:
  RunRestore(std::u16string folder, RunJournal journal);
  RunRestore(const RunRestore&) = delete;
  RunRestore& operator=(const RunRestore&) = delete;

  // Takes the journal for writing; false when another process holds it.
  bool Open(platform::ErrorCode& error);
  // Puts the original back. A content entry whose change may be half done is written back
  // whatever the file holds now: the program itself left it so. A completed one only while the
  // file holds what the run wrote.
  RestoreResult Restore(JournalEntry& entry);
  // The run is taken back; its journal says so.
  void MarkUndone();
  // An interrupted run counts as ended from now on (its rest stays undoable).
  void MarkEnded();

  RunJournal& journal() { return journal_; }
  const std::u16string& folder() const { return folder_; }

 private:
  RestoreResult RestoreContent(JournalEntry& entry);
  RestoreResult RestoreDeletion(JournalEntry& entry);
  RestoreResult RestoreRename(JournalEntry& entry);
  bool Note(JournalEntry& entry, JournalEntryState state, bool durable);
  void AppendLine(const std::string& line);

  std::u16string folder_;
  RunJournal journal_;
  platform::AppendFile file_;
};

// The entries in the order an undo takes them: newest first.
std::vector<JournalEntry*> EntriesToRestore(RunJournal& journal, bool onlyHalfDone);
