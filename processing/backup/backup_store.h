// One run's backups, written on the worker thread before each change: a folder per run under
// the backup root, holding the journal ("journal.txt", see run_journal.h) and the original bytes
// ("data.bin"). The folder is made at the first backup, so a run that changes nothing leaves
// none. A change may begin only once its backup is durable: every Back* call makes its bytes and
// its journal entry durable before it returns true; Stage* calls let several files' backups wait
// for one MakeDurable.
#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "platform/append_file.h"
#include "platform/file.h"
#include "platform/file_attributes.h"
#include "processing/backup/run_journal.h"

// A backup is not written when it would leave less than this free on the backup volume.
inline constexpr std::uint64_t kBackupFreeSpaceMargin = std::uint64_t{64} << 20;

// The folder of all runs' backups: "Backups" in the backup directory, or in the user's data
// folder when the directory is empty.
std::u16string BackupRoot(const std::u16string& backupDirectory);

inline constexpr char16_t kJournalName[] = u"journal.txt";
inline constexpr char16_t kDataName[] = u"data.bin";

class BackupStore {
 public:
  // `run` gives the header of the journal (its entries are ignored).
  BackupStore(std::u16string root, RunJournal run);
  BackupStore(const BackupStore&) = delete;
  BackupStore& operator=(const BackupStore&) = delete;

  // The original content of a file about to change, or to be deleted. False with `reason` (the
  // text of the result) when the backup could not be made durable: the file must stay as it is.
  bool BackUpContent(JournalEntryKind kind, const std::u16string& path,
                     std::span<const unsigned char> original,
                     const platform::FileAttributes& attributes, const platform::FileTimes* times,
                     int& id, std::u16string& reason);
  bool BackUpRename(const std::u16string& path, const std::u16string& newPath, int& id,
                    std::u16string& reason);

  // As BackUpContent, but the backup is durable only after the next MakeDurable: its bytes are
  // appended to the data file and its journal entry waits. False with `reason` when the bytes
  // could not be appended: the file must stay as it is.
  bool StageContent(JournalEntryKind kind, const std::u16string& path,
                    std::span<const unsigned char> original,
                    const platform::FileAttributes& attributes, const platform::FileTimes* times,
                    int& id, std::u16string& reason);
  // Makes every staged backup durable: the data first, then the waiting journal entries, so an
  // entry never points at bytes that are not. False with `reason` when that failed: no staged
  // change may begin.
  bool MakeDurable(std::u16string& reason);
  // Gives up every staged backup: their changes never begin, and the journal never lists them.
  void DropStaged() {
    waitingEntries_.clear();
    stagedBytes_ = 0;
  }
  // A content change is complete: the file holds `written`.
  void MarkWritten(int id, std::span<const unsigned char> written);
  // A rename or deletion is complete.
  void MarkDone(int id);
  // The change failed and the original was put back.
  void MarkFailed(int id);
  // The run ended: its journal says so.
  void End();

  // The run's folder; empty before the first backup.
  const std::u16string& folder() const { return folder_; }

 private:
  bool Begin(std::u16string& reason);
  // Appends the original bytes and queues the entry.
  bool Stage(JournalEntry& entry, std::span<const unsigned char> original, std::u16string& reason);
  void AppendState(const JournalEntry& entry);

  std::u16string root_;
  RunJournal run_;
  std::u16string folder_;
  platform::AppendFile journal_;
  platform::AppendFile data_;
  int nextId_ = 1;
  std::string waitingEntries_;  // journal lines of staged entries
  std::uint64_t stagedBytes_ = 0;  // data appended since the last MakeDurable
  bool failedToBegin_ = false;
  platform::ErrorCode beginError_ = 0;
};
