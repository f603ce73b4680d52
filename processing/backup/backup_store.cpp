#include "processing/backup/backup_store.h"

#include <cstdio>
#include <utility>

#include "platform/clock.h"
#include "platform/data_folder.h"
#include "platform/directory_listing.h"
#include "platform/file_system.h"
#include "platform/path_separator.h"
#include "platform/string_table.h"
#include "processing/backup/backup_runs.h"
#include "processing/backup/content_hash.h"

namespace {

std::u16string SystemErrorText(platform::ErrorCode error) {
  std::u16string text;
  FormatSystemError(error, text);
  return text;
}

// "20261211-101503-042": the local start time, sortable; another run of the same millisecond
// gets "-2", "-3"...
std::u16string FolderName(platform::FileTime started, int attempt) {
  const CalendarTime time = platform::LocalCalendarTime(started);
  char name[48];
  std::snprintf(name, sizeof name, "%04u%02u%02u-%02u%02u%02u-%03u", time.year, time.month,
                time.day, time.hour, time.minute, time.second, time.milliseconds);
  std::u16string folder(name, name + std::char_traits<char>::length(name));
  if (attempt > 1)
    folder += u"-" + std::u16string(1, static_cast<char16_t>(u'0' + attempt));
  return folder;
}

}  // namespace

std::u16string BackupRoot(const std::u16string& backupDirectory) {
  const std::u16string base =
      backupDirectory.empty() ? platform::UserDataFolder() : backupDirectory;
  return base.empty() ? std::u16string() : platform::JoinPath(base, u"Backups");
}

BackupStore::BackupStore(std::u16string root, RunJournal run)
    : root_(std::move(root)), run_(std::move(run)) {
  run_.entries.clear();
}

bool BackupStore::Begin(std::u16string& reason) {
  if (journal_.IsOpen())
    return true;
  if (failedToBegin_) {
    reason = SystemErrorText(beginError_);
    return false;
  }
  platform::ErrorCode error = 0;
  if (root_.empty() || !platform::CreateFolders(root_, error)) {
    failedToBegin_ = true;
    beginError_ = root_.empty() ? platform::kErrorFileNotFound : error;
    reason = SystemErrorText(beginError_);
    return false;
  }
  PruneRuns(root_);
  // Nine tries at a free name; the journal's exclusive creation decides between two runs.
  for (int attempt = 1; attempt <= 9; ++attempt) {
    const std::u16string folder = platform::JoinPath(root_, FolderName(run_.started, attempt));
    if (platform::PathExists(folder))
      continue;
    if (!platform::CreateFolders(folder, error))
      break;
    const std::string header = JournalHeaderLines(run_);
    if (journal_.Open(platform::JoinPath(folder, kJournalName), platform::AppendMode::CreateNew,
                      error) &&
        data_.Open(platform::JoinPath(folder, kDataName), platform::AppendMode::CreateNew, error) &&
        journal_.Append(header.data(), header.size(), error)) {
      folder_ = folder;
      return true;
    }
    journal_.Close();
    data_.Close();
    RemoveRunFolder(folder);
    break;
  }
  failedToBegin_ = true;
  beginError_ = error;
  reason = SystemErrorText(error);
  return false;
}

bool BackupStore::Stage(JournalEntry& entry, std::span<const unsigned char> original,
                        std::u16string& reason) {
  if (!Begin(reason))
    return false;
  platform::ErrorCode error = 0;
  if (entry.kind != JournalEntryKind::Rename) {
    std::uint64_t free = 0;
    if (platform::FreeDiskSpace(folder_, free, error) &&
        (free < kBackupFreeSpaceMargin || free - kBackupFreeSpaceMargin < original.size())) {
      reason = platform::LoadText(IDS_BACKUP_NO_SPACE);
      return false;
    }
    entry.offset = data_.size();
    entry.size = original.size();
    entry.hash = ContentHash(original);
    if (!data_.Append(original.data(), original.size(), error)) {
      reason = SystemErrorText(error);
      return false;
    }
    stagedBytes_ += original.size();
  }
  entry.id = nextId_++;
  waitingEntries_ += JournalEntryLine(entry);
  return true;
}

bool BackupStore::MakeDurable(std::u16string& reason) {
  if (waitingEntries_.empty())
    return true;
  const std::string lines = std::move(waitingEntries_);
  waitingEntries_.clear();
  const bool hadData = stagedBytes_ > 0;
  stagedBytes_ = 0;
  platform::ErrorCode error = 0;
  if ((hadData && !data_.Sync(error)) || !journal_.Append(lines.data(), lines.size(), error) ||
      !journal_.Sync(error)) {
    reason = SystemErrorText(error);
    return false;
  }
  return true;
}

bool BackupStore::StageContent(JournalEntryKind kind, const std::u16string& path,
                               std::span<const unsigned char> original,
                               const platform::FileAttributes& attributes,
                               const platform::FileTimes* times, int& id,
                               std::u16string& reason) {
  JournalEntry entry;
  entry.kind = kind;
  entry.path = path;
  entry.attributes = attributes;
  entry.timesKnown = times != nullptr;
  if (times)
    entry.times = *times;
  if (!Stage(entry, original, reason))
    return false;
  id = entry.id;
  return true;
}

bool BackupStore::BackUpContent(JournalEntryKind kind, const std::u16string& path,
                                std::span<const unsigned char> original,
                                const platform::FileAttributes& attributes,
                                const platform::FileTimes* times, int& id,
                                std::u16string& reason) {
  return StageContent(kind, path, original, attributes, times, id, reason) &&
         MakeDurable(reason);
}

bool BackupStore::BackUpRename(const std::u16string& path, const std::u16string& newPath, int& id,
                               std::u16string& reason) {
  JournalEntry entry;
  entry.kind = JournalEntryKind::Rename;
  entry.path = path;
  entry.newPath = newPath;
  if (!Stage(entry, {}, reason) || !MakeDurable(reason))
    return false;
  id = entry.id;
  return true;
}

void BackupStore::AppendState(const JournalEntry& entry) {
  // Not flushed: a lost state line leaves the entry "started", which recovery takes back.
  const std::string line = JournalStateLine(entry);
  platform::ErrorCode ignored = 0;
  journal_.Append(line.data(), line.size(), ignored);
}

void BackupStore::MarkWritten(int id, std::span<const unsigned char> written) {
  JournalEntry entry;
  entry.id = id;
  entry.state = JournalEntryState::Done;
  entry.newSize = written.size();
  entry.newHash = ContentHash(written);
  AppendState(entry);
}

void BackupStore::MarkDone(int id) {
  JournalEntry entry;
  entry.id = id;
  entry.state = JournalEntryState::Done;
  entry.kind = JournalEntryKind::Rename;
  AppendState(entry);
}

void BackupStore::MarkFailed(int id) {
  JournalEntry entry;
  entry.id = id;
  entry.state = JournalEntryState::Failed;
  AppendState(entry);
}

void BackupStore::End() {
  if (!journal_.IsOpen())
    return;
  const std::string line = JournalEndLine();
  platform::ErrorCode ignored = 0;
  journal_.Append(line.data(), line.size(), ignored);
  journal_.Close();
  data_.Close();
}
