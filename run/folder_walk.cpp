#include "run/folder_walk.h"

#include <algorithm>
#include <memory>

#include "platform/directory_identity.h"
#include "platform/directory_listing.h"
#include "platform/path_queries.h"
#include "platform/path_separator.h"
#include "platform/string_table.h"
#include "platform/system_error.h"
#include "run/exclusion_list.h"
#include "run/search_worker.h"
#include "text/text_format.h"

namespace {

bool IsDotEntry(const std::u16string& name) {
  return name == u"." || name == u"..";
}

void SendListingError(SearchWorker& worker, unsigned textId, const std::u16string& path,
                      platform::ErrorCode code) {
  std::u16string systemText;
  FormatSystemError(code, systemText);
  worker.SendSearchError(FormatString(textId, {path, systemText}));
}

// Keeps a folder on the worker's path of folders while it is walked. Finds the ancestor that
// the folder is (through a link or junction), if any.
class PathFolderEntry {
 public:
  PathFolderEntry(SearchWorker& worker, const std::u16string& folder) : worker_(worker) {
    platform::DirectoryIdentity identity;
    if (!platform::GetDirectoryIdentity(folder, identity))
      return;  // unknown: walked unchecked; its listing reports what is wrong with it
    auto& folders = worker.pathFolders;
    auto same = std::find_if(folders.begin(), folders.end(),
                             [&](const auto& entry) { return entry.identity == identity; });
    if (same != folders.end()) {
      ancestor_ = &same->path;
      return;
    }
    folders.push_back({identity, folder});
    pushed_ = true;
  }
  ~PathFolderEntry() {
    if (pushed_)
      worker_.pathFolders.pop_back();
  }
  PathFolderEntry(const PathFolderEntry&) = delete;
  PathFolderEntry& operator=(const PathFolderEntry&) = delete;

  const std::u16string* ancestor() const { return ancestor_; }

 private:
  SearchWorker& worker_;
  const std::u16string* ancestor_ = nullptr;
  bool pushed_ = false;
};

// What one search path's walk passes over, and where in it the walk is.
struct WalkFilters {
  ExclusionList exclusions;
  const FileLimits& limits;
};

// The path of an entry below the search folder.
std::u16string RelativePath(const std::u16string& relativeFolder, const std::u16string& name) {
  return relativeFolder.empty() ? name : platform::JoinPath(relativeFolder, name);
}

bool OpenListing(SearchWorker& worker, platform::DirectoryListing& listing,
                 const std::u16string& pattern, platform::ErrorCode& error,
                 platform::ListingNeed need = platform::ListingNeed::Everything) {
  worker.NoteListing(pattern);
  return listing.Open(pattern, error, need);
}

std::unique_ptr<CFileResult> DescribeFile(const platform::DirectoryListing& listing,
                                          const std::u16string& folder);

unsigned SkipText(SkipReason reason) {
  switch (reason) {
    case SkipReason::Excluded:
      return IDS_SKIPPED_EXCLUDED;
    case SkipReason::Size:
      return IDS_SKIPPED_SIZE;
    case SkipReason::Date:
      return IDS_SKIPPED_DATE;
    default:
      return IDS_BINARY_FILE_SKIPPED;
  }
}

// Reports an entry that the walk passes over, with its reason and no matches.
void ReportSkipped(SearchWorker& worker, const platform::DirectoryListing& listing,
                   const std::u16string& folder, SkipReason reason) {
  auto entry = DescribeFile(listing, folder);
  entry->skipped = reason;
  entry->resultText = platform::LoadText(SkipText(reason));
  worker.SendFileResult(ResultStatus::FileResult, std::move(entry));
}

void Walk(const std::u16string& folder, const std::u16string& relativeFolder,
          const WalkFilters& filters, SearchWorker& worker);

// The subfolder phase; false when the walk was stopped. Hidden folders are left out unless
// hidden files are searched; excluded folders are reported and not listed.
bool WalkSubfolders(const std::u16string& folder, const std::u16string& relativeFolder,
                    const WalkFilters& filters, SearchWorker& worker) {
  const bool searchHidden = worker.parameters->settings.searchHidden != 0;
  std::u16string last = platform::JoinPath(folder, u"*");
  platform::DirectoryListing listing;
  platform::ErrorCode error = 0;
  if (!OpenListing(worker, listing, last, error, platform::ListingNeed::Folders)) {
    SendListingError(worker, IDS_SEARCH_START_FAILED, folder, error);
    return true;
  }
  do {
    const std::u16string& name = listing.name();
    if (!IsDotEntry(name) && (searchHidden || !listing.EntryIsHidden())) {
      last = platform::JoinPath(folder, name);
      if (listing.EntryIsDirectory(last)) {
        std::u16string relative = RelativePath(relativeFolder, name);
        if (filters.exclusions.Excludes(name, relative, true))
          ReportSkipped(worker, listing, folder, SkipReason::Excluded);
        else
          Walk(last, relative, filters, worker);
      }
    }
    if (worker.StopRequested())
      return false;
  } while (listing.Next(error));
  if (error != platform::kErrorNoMoreFiles)
    SendListingError(worker, IDS_SEARCH_CONTINUE_FAILED, last, error);
  return true;
}

std::unique_ptr<CFileResult> DescribeFile(const platform::DirectoryListing& listing,
                                          const std::u16string& folder) {
  auto entry = std::make_unique<CFileResult>();
  entry->name = listing.name();
  entry->folder = folder;
  entry->size = listing.size();
  entry->modified = listing.modified();
  return entry;
}

// Why the walk passes over a file it lists, or SkipReason::None.
SkipReason FilterFile(const platform::DirectoryListing& listing,
                      const std::u16string& relativeFolder, const WalkFilters& filters) {
  const std::u16string& name = listing.name();
  if (!filters.exclusions.empty() &&
      filters.exclusions.Excludes(name, RelativePath(relativeFolder, name), false))
    return SkipReason::Excluded;
  if (!filters.limits.any())
    return SkipReason::None;
  switch (CheckFileLimits(filters.limits, listing.size(), listing.modified())) {
    case LimitCheck::Size:
      return SkipReason::Size;
    case LimitCheck::Date:
      return SkipReason::Date;
    case LimitCheck::Inside:
      break;
  }
  return SkipReason::None;
}

// The file phase of one mask; false when the walk was stopped. Only files that can be read to
// their end are processed, and none that this run has renamed into being.
bool WalkMask(const std::u16string& folder, const std::u16string& relativeFolder,
              const std::u16string& mask, SeenPaths& seen, const WalkFilters& filters,
              SearchWorker& worker) {
  std::u16string last = platform::JoinPath(folder, mask);
  platform::DirectoryListing listing;
  platform::ErrorCode error = 0;
  if (!OpenListing(worker, listing, last, error)) {
    if (error != platform::kErrorFileNotFound)
      SendListingError(worker, IDS_MASK_START_FAILED, last, error);
    return true;
  }
  do {
    const std::u16string& name = listing.name();
    if (!IsDotEntry(name)) {
      last = platform::JoinPath(folder, name);
      if (!worker.producedPaths.contains(last) && IsNewInFolder(last, seen) &&
          listing.EntryIsFile(last)) {
        const SkipReason skip = FilterFile(listing, relativeFolder, filters);
        if (skip == SkipReason::None)
          worker.ProcessFile(DescribeFile(listing, folder));
        else
          ReportSkipped(worker, listing, folder, skip);
      }
    }
    if (worker.StopRequested())
      return false;
  } while (listing.Next(error));
  if (error != platform::kErrorNoMoreFiles)
    SendListingError(worker, IDS_MASK_CONTINUE_FAILED, last, error);
  return true;
}

void Walk(const std::u16string& folder, const std::u16string& relativeFolder,
          const WalkFilters& filters, SearchWorker& worker) {
  PathFolderEntry onPath(worker, folder);
  if (onPath.ancestor()) {
    worker.SendSearchError(FormatString(IDS_FOLDER_LOOP, {folder, *onPath.ancestor()}));
    return;
  }
  const RunParameters& parameters = *worker.parameters;
  if (parameters.includeSubfolders && !WalkSubfolders(folder, relativeFolder, filters, worker))
    return;
  SeenPaths seen;
  for (const std::u16string& mask : parameters.masks) {
    if (!WalkMask(folder, relativeFolder, mask, seen, filters, worker))
      return;
  }
}

}  // namespace

void WalkFolder(const std::u16string& folder, SearchWorker& worker) {
  const RunParameters& parameters = *worker.parameters;
  const WalkFilters filters{ExclusionList(parameters.exclusions), parameters.limits};
  Walk(folder, std::u16string(), filters, worker);
}
