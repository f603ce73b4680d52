#include "processing/backup/run_restore.h"

#include <algorithm>
#include <utility>

#include "platform/directory_listing.h"
#include "platform/file.h"
#include "platform/file_attributes.h"
#include "platform/file_move.h"
#include "platform/file_system.h"
#include "platform/path_separator.h"
#include "processing/backup/backup_runs.h"
#include "processing/backup/backup_store.h"
#include "processing/backup/content_hash.h"
#include "processing/whole_file.h"

namespace {

RestoreResult Outcome(RestoreOutcome outcome, const std::u16string& path,
                      platform::ErrorCode error = 0) {
  RestoreResult result;
  result.outcome = outcome;
  result.path = path;
  result.error = error;
  return result;
}

RestoreResult Failure(const std::u16string& path, platform::ErrorCode error) {
  return Outcome(error == platform::kErrorFileNotFound ? RestoreOutcome::Missing
                                                       : RestoreOutcome::Failed,
                 path, error);
}

// Makes a file whose original was backed up: the bytes, then the times, then the attributes.
bool CreateOriginal(const JournalEntry& entry, const std::vector<unsigned char>& bytes,
                    platform::ErrorCode& error) {
  platform::AppendFile created;
  if (!created.Open(entry.path, platform::AppendMode::CreateNew, error))
    return false;
  if (!created.Append(bytes.data(), bytes.size(), error) || !created.Sync(error)) {
    created.Close();
    platform::ErrorCode ignored = 0;
    platform::RemoveFile(entry.path, ignored);
    return false;
  }
  created.Close();
  platform::File file;
  platform::ErrorCode ignored = 0;
  if (entry.timesKnown &&
      file.Open(entry.path, platform::FileAccess::ReadWrite, platform::FileShare::Read, ignored))
    file.SetTimes(entry.times, ignored);
  file.Close();
  platform::SetSavedAttributes(entry.path, entry.attributes, ignored);
  return true;
}

}  // namespace

RunRestore::RunRestore(std::u16string folder, RunJournal journal)
    : folder_(std::move(folder)), journal_(std::move(journal)) {}

bool RunRestore::Open(platform::ErrorCode& error) {
  return file_.Open(platform::JoinPath(folder_, kJournalName), platform::AppendMode::OpenAlways,
                    error);
}

void RunRestore::AppendLine(const std::string& line) {
  platform::ErrorCode ignored = 0;
  file_.Append(line.data(), line.size(), ignored);
}

bool RunRestore::Note(JournalEntry& entry, JournalEntryState state, bool durable) {
  entry.state = state;
  AppendLine(JournalStateLine(entry));
  platform::ErrorCode ignored = 0;
  return !durable || file_.Sync(ignored);
}

RestoreResult RunRestore::Restore(JournalEntry& entry) {
  switch (entry.kind) {
    case JournalEntryKind::Content:
      return RestoreContent(entry);
    case JournalEntryKind::Deletion:
      return RestoreDeletion(entry);
    case JournalEntryKind::Rename:
      return RestoreRename(entry);
  }
  return Outcome(RestoreOutcome::Unchanged, entry.path);
}

RestoreResult RunRestore::RestoreContent(JournalEntry& entry) {
  const std::u16string& path = entry.path;
  std::vector<unsigned char> original;
  if (!ReadBackedUpBytes(folder_, entry, original))
    return Outcome(RestoreOutcome::BackupDamaged, path);
  platform::FileAttributes attributes;
  platform::ErrorCode error = 0;
  if (!platform::ReadFileAttributes(path, attributes, error))
    return Failure(path, error);
  platform::ClearAttributesForWrite(path, attributes, error);
  RestoreResult result = Outcome(RestoreOutcome::Restored, path);
  result.size = original.size();
  bool written = false;
  {
    platform::File file;
    FileBytes current;
    if (!file.Open(path, platform::FileAccess::ReadWrite, platform::FileShare::Read, error) ||
        (error = ReadWholeFile(file, current)) != 0) {
      result = Failure(path, error);
    } else if (current.size() == original.size() &&
               std::equal(original.begin(), original.end(), current.view().begin())) {
      Note(entry, JournalEntryState::Restored, false);
    } else if (!MayBeHalfDone(entry) && (current.size() != entry.newSize ||
                                         ContentHash(current.view()) != entry.newHash)) {
      result = Outcome(RestoreOutcome::ChangedSince, path);
    } else if (!Note(entry, JournalEntryState::Restoring, true)) {
      result = Outcome(RestoreOutcome::Failed, path, platform::kErrorOutOfMemory);
    } else if ((error = WriteWholeFile(file, original, current.view())) != 0) {
      result = Failure(path, error);
    } else {
      written = true;
      platform::ErrorCode ignored = 0;
      if (entry.timesKnown)
        file.SetTimes(entry.times, ignored);
      Note(entry, JournalEntryState::Restored, false);
    }
  }
  platform::ErrorCode ignored = 0;
  if (written)
    platform::SetSavedAttributes(path, entry.attributes, ignored);
  else
    platform::RestoreFileAttributes(path, attributes, false, ignored);
  return result;
}

RestoreResult RunRestore::RestoreDeletion(JournalEntry& entry) {
  if (platform::PathExists(entry.path)) {
    // A deletion that never happened leaves nothing to do.
    return Outcome(entry.state == JournalEntryState::Done ? RestoreOutcome::NameTaken
                                                          : RestoreOutcome::Unchanged,
                   entry.path);
  }
  std::vector<unsigned char> original;
  if (!ReadBackedUpBytes(folder_, entry, original))
    return Outcome(RestoreOutcome::BackupDamaged, entry.path);
  platform::ErrorCode error = 0;
  Note(entry, JournalEntryState::Restoring, true);
  if (!CreateOriginal(entry, original, error))
    return Failure(entry.path, error);
  Note(entry, JournalEntryState::Restored, false);
  RestoreResult result = Outcome(RestoreOutcome::Restored, entry.path);
  result.size = original.size();
  return result;
}

RestoreResult RunRestore::RestoreRename(JournalEntry& entry) {
  const bool oldExists = platform::PathExists(entry.path);
  const bool newExists = platform::PathExists(entry.newPath);
  if (oldExists && !newExists && entry.state != JournalEntryState::Done)
    return Outcome(RestoreOutcome::Unchanged, entry.path);  // never moved
  if (oldExists)
    return Outcome(RestoreOutcome::NameTaken, entry.newPath);
  if (!newExists)
    return Outcome(RestoreOutcome::Missing, entry.newPath);
  platform::ErrorCode error = 0;
  Note(entry, JournalEntryState::Restoring, true);
  if (!platform::MoveFileNoReplace(entry.newPath, entry.path, error))
    return Failure(entry.newPath, error);
  Note(entry, JournalEntryState::Restored, false);
  return Outcome(RestoreOutcome::Restored, entry.path);
}

void RunRestore::MarkUndone() {
  journal_.undone = true;
  AppendLine(JournalUndoneLine());
  platform::ErrorCode ignored = 0;
  file_.Sync(ignored);
}

void RunRestore::MarkEnded() {
  journal_.ended = true;
  AppendLine(JournalEndLine());
}

std::vector<JournalEntry*> EntriesToRestore(RunJournal& journal, bool onlyHalfDone) {
  std::vector<JournalEntry*> entries;
  for (auto entry = journal.entries.rbegin(); entry != journal.entries.rend(); ++entry) {
    if (entry->state == JournalEntryState::Failed || entry->state == JournalEntryState::Restored)
      continue;
    if (!onlyHalfDone || MayBeHalfDone(*entry))
      entries.push_back(&*entry);
  }
  return entries;
}
