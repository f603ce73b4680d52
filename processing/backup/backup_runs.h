// The runs kept under the backup root: listing them, finding the one to undo or to recover, and
// keeping their number and size bounded.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "processing/backup/run_journal.h"

// Old runs go by this rule, applied before a run makes its first backup: only the newest
// kKeptRuns - 1 runs stay beside the new one, and then the oldest go while all backups together
// take more than a quarter of the space that would be free without them.
inline constexpr size_t kKeptRuns = 20;

struct RunFolder {
  std::u16string folder;
  RunJournal journal;
  // Another process is still writing the run.
  bool inUse = false;
};

// The runs under the root, oldest first.
std::vector<RunFolder> ListRunFolders(const std::u16string& root);

// Whether the run has a change left to take back.
bool HasUndoableEntries(const RunJournal& journal);
// The newest run that is not undone and has something to take back (a run still in progress
// elsewhere excepted); null when none.
const RunFolder* LatestUndoableRun(const std::vector<RunFolder>& runs);
// The newest run that did not end and nobody writes: its process died.
const RunFolder* LatestInterruptedRun(const std::vector<RunFolder>& runs);
// The number of files a full undo would touch.
int UndoableFileCount(const RunJournal& journal);

void PruneRuns(const std::u16string& root);
// Removes a run's files and folder.
void RemoveRunFolder(const std::u16string& folder);

// The original bytes of a Content or Deletion entry, checked against the journal's hash.
// False when the data file is unreadable or the bytes differ.
bool ReadBackedUpBytes(const std::u16string& folder, const JournalEntry& entry,
                       std::vector<unsigned char>& bytes);
