#include "processing/backup/backup_runs.h"

#include <algorithm>

#include "platform/append_file.h"
#include "platform/directory_listing.h"
#include "platform/file.h"
#include "platform/file_system.h"
#include "platform/path_separator.h"
#include "processing/backup/backup_store.h"
#include "processing/backup/content_hash.h"
#include "processing/whole_file.h"

namespace {

bool ReadJournal(const std::u16string& folder, RunJournal& journal) {
  platform::File file;
  platform::ErrorCode error = 0;
  FileBytes bytes;
  if (!file.Open(platform::JoinPath(folder, kJournalName), platform::FileAccess::Read,
                 platform::FileShare::All, error) ||
      ReadWholeFile(file, bytes) != 0)
    return false;
  const auto view = bytes.view();
  return ParseRunJournal(
      std::string_view(reinterpret_cast<const char*>(view.data()), view.size()), journal);
}

// The sizes of the entries of a folder (no subfolders are expected).
std::uint64_t FolderSize(const std::u16string& folder) {
  platform::DirectoryListing listing;
  platform::ErrorCode error = 0;
  std::uint64_t size = 0;
  if (!listing.Open(platform::JoinPath(folder, u"*"), error))
    return 0;
  do
    size += listing.size();
  while (listing.Next(error));
  return size;
}

}  // namespace

std::vector<RunFolder> ListRunFolders(const std::u16string& root) {
  std::vector<RunFolder> runs;
  platform::DirectoryListing listing;
  platform::ErrorCode error = 0;
  if (root.empty() || !listing.Open(platform::JoinPath(root, u"*"), error,
                                    platform::ListingNeed::Folders))
    return runs;
  do {
    const std::u16string& name = listing.name();
    const std::u16string folder = platform::JoinPath(root, name);
    if (name == u"." || name == u".." || !listing.EntryIsDirectory(folder))
      continue;
    RunFolder run;
    run.folder = folder;
    if (!ReadJournal(folder, run.journal))
      continue;
    run.inUse = !run.journal.ended &&
                platform::FileInUseForAppend(platform::JoinPath(folder, kJournalName));
    runs.push_back(std::move(run));
  } while (listing.Next(error));
  std::sort(runs.begin(), runs.end(),
            [](const RunFolder& a, const RunFolder& b) { return a.folder < b.folder; });
  return runs;
}

bool HasUndoableEntries(const RunJournal& journal) {
  return UndoableFileCount(journal) > 0;
}

int UndoableFileCount(const RunJournal& journal) {
  return static_cast<int>(std::count_if(
      journal.entries.begin(), journal.entries.end(), [](const JournalEntry& entry) {
        return entry.state != JournalEntryState::Failed &&
               entry.state != JournalEntryState::Restored;
      }));
}

const RunFolder* LatestUndoableRun(const std::vector<RunFolder>& runs) {
  for (auto run = runs.rbegin(); run != runs.rend(); ++run) {
    if (!run->inUse && !run->journal.undone && HasUndoableEntries(run->journal))
      return &*run;
  }
  return nullptr;
}

const RunFolder* LatestInterruptedRun(const std::vector<RunFolder>& runs) {
  for (auto run = runs.rbegin(); run != runs.rend(); ++run) {
    if (!run->inUse && !run->journal.ended && !run->journal.undone &&
        HasUndoableEntries(run->journal))
      return &*run;
  }
  return nullptr;
}

void RemoveRunFolder(const std::u16string& folder) {
  platform::ErrorCode ignored = 0;
  platform::RemoveFile(platform::JoinPath(folder, kJournalName), ignored);
  platform::RemoveFile(platform::JoinPath(folder, kDataName), ignored);
  platform::RemoveFolder(folder, ignored);
}

void PruneRuns(const std::u16string& root) {
  std::vector<RunFolder> runs = ListRunFolders(root);
  // A run another process still writes is never removed; an interrupted one goes by age too.
  std::erase_if(runs, [](const RunFolder& run) { return run.inUse; });
  size_t first = 0;
  while (runs.size() - first > kKeptRuns - 1)
    RemoveRunFolder(runs[first++].folder);
  std::vector<std::uint64_t> sizes;
  std::uint64_t total = 0;
  for (size_t i = first; i < runs.size(); ++i) {
    sizes.push_back(FolderSize(runs[i].folder));
    total += sizes.back();
  }
  std::uint64_t free = 0;
  platform::ErrorCode error = 0;
  if (!platform::FreeDiskSpace(root, free, error))
    return;
  for (size_t i = 0; i < sizes.size() && total > (free + total) / 4; ++i) {
    RemoveRunFolder(runs[first + i].folder);
    total -= sizes[i];
    free += sizes[i];
  }
}

bool ReadBackedUpBytes(const std::u16string& folder, const JournalEntry& entry,
                       std::vector<unsigned char>& bytes) {
  platform::File file;
  platform::ErrorCode error = 0;
  if (!file.Open(platform::JoinPath(folder, kDataName), platform::FileAccess::Read,
                 platform::FileShare::All, error) ||
      !file.Seek(entry.offset, error))
    return false;
  try {
    bytes.resize(static_cast<size_t>(entry.size));
  } catch (const std::bad_alloc&) {
    return false;
  }
  size_t filled = 0;
  while (filled < bytes.size()) {
    size_t done = 0;
    if (!file.Read(bytes.data() + filled, bytes.size() - filled, done, error) || done == 0)
      return false;
    filled += done;
  }
  return ContentHash(bytes) == entry.hash;
}
