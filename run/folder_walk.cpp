#include "run/folder_walk.h"

#include <algorithm>
#include <memory>
#include <vector>

#include "platform/directory_identity.h"
#include "platform/directory_listing.h"
#include "platform/path_queries.h"
#include "platform/path_separator.h"
#include "platform/string_table.h"
#include "platform/system_error.h"
#include "run/exclusion_list.h"
#include "run/file_limit_checks.h"
#include "text/text_format.h"

namespace {

bool IsDotEntry(const std::u16string& name) {
  return name == u"." || name == u"..";
}

// A folder on the walk's current path, for the loop check.
struct PathFolder {
  platform::DirectoryIdentity identity;
  std::u16string path;
};

// One walk from a search path down.
struct Walk {
  const RunParameters& parameters;
  WalkEvents& events;
  // What the walk passes over.
  ExclusionList exclusions;
  // The folders from the search path down to the one being walked.
  std::vector<PathFolder> pathFolders;
};

void WalkFrom(const std::u16string& folder, const std::u16string& relativeFolder, Walk& walk);

void SendListingError(Walk& walk, unsigned textId, const std::u16string& path,
                      platform::ErrorCode code) {
  std::u16string systemText;
  FormatSystemError(code, systemText);
  walk.events.FolderError(FormatString(textId, {path, systemText}));
}

// Keeps a folder on the walk's path of folders while it is walked. Finds the ancestor that
// the folder is (through a link or junction), if any.
class PathFolderEntry {
 public:
  PathFolderEntry(Walk& walk, const std::u16string& folder) : walk_(walk) {
    platform::DirectoryIdentity identity;
    if (!platform::GetDirectoryIdentity(folder, identity))
      return;  // unknown: walked unchecked; its listing reports what is wrong with it
    auto& folders = walk.pathFolders;
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
      walk_.pathFolders.pop_back();
  }
  PathFolderEntry(const PathFolderEntry&) = delete;
  PathFolderEntry& operator=(const PathFolderEntry&) = delete;

  const std::u16string* ancestor() const { return ancestor_; }

 private:
  Walk& walk_;
  const std::u16string* ancestor_ = nullptr;
  bool pushed_ = false;
};

// The path of an entry below the search folder.
std::u16string RelativePath(const std::u16string& relativeFolder, const std::u16string& name) {
  return relativeFolder.empty() ? name : platform::JoinPath(relativeFolder, name);
}

bool OpenListing(Walk& walk, platform::DirectoryListing& listing, const std::u16string& pattern,
                 platform::ErrorCode& error,
                 platform::ListingNeed need = platform::ListingNeed::Everything) {
  walk.events.ListingOpening(pattern);
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
void ReportSkipped(Walk& walk, const platform::DirectoryListing& listing,
                   const std::u16string& folder, SkipReason reason) {
  auto entry = DescribeFile(listing, folder);
  entry->skipped = reason;
  entry->resultText = platform::LoadText(SkipText(reason));
  walk.events.Skipped(std::move(entry));
}

// The subfolder phase; false when the walk was stopped. Hidden folders are left out unless
// hidden files are searched; excluded folders are reported and not listed.
bool WalkSubfolders(const std::u16string& folder, const std::u16string& relativeFolder,
                    Walk& walk) {
  const bool searchHidden = walk.parameters.settings.searchHidden != 0;
  std::u16string last = platform::JoinPath(folder, u"*");
  platform::DirectoryListing listing;
  platform::ErrorCode error = 0;
  if (!OpenListing(walk, listing, last, error, platform::ListingNeed::Folders)) {
    SendListingError(walk, IDS_SEARCH_START_FAILED, folder, error);
    return true;
  }
  do {
    const std::u16string& name = listing.name();
    if (!IsDotEntry(name) && (searchHidden || !listing.EntryIsHidden())) {
      last = platform::JoinPath(folder, name);
      if (listing.EntryIsDirectory(last)) {
        std::u16string relative = RelativePath(relativeFolder, name);
        if (walk.exclusions.Excludes(name, relative, true))
          ReportSkipped(walk, listing, folder, SkipReason::Excluded);
        else
          WalkFrom(last, relative, walk);
      }
    }
    if (walk.events.ShouldStop())
      return false;
  } while (listing.Next(error));
  if (error != platform::kErrorNoMoreFiles)
    SendListingError(walk, IDS_SEARCH_CONTINUE_FAILED, last, error);
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
                      const std::u16string& relativeFolder, const Walk& walk) {
  const std::u16string& name = listing.name();
  if (!walk.exclusions.empty() &&
      walk.exclusions.Excludes(name, RelativePath(relativeFolder, name), false))
    return SkipReason::Excluded;
  const FileLimits& limits = walk.parameters.limits;
  if (!limits.any())
    return SkipReason::None;
  switch (CheckFileLimits(limits, listing.size(), listing.modified())) {
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
              const std::u16string& mask, SeenPaths& seen, Walk& walk) {
  std::u16string last = platform::JoinPath(folder, mask);
  platform::DirectoryListing listing;
  platform::ErrorCode error = 0;
  if (!OpenListing(walk, listing, last, error)) {
    if (error != platform::kErrorFileNotFound)
      SendListingError(walk, IDS_MASK_START_FAILED, last, error);
    return true;
  }
  do {
    const std::u16string& name = listing.name();
    if (!IsDotEntry(name)) {
      last = platform::JoinPath(folder, name);
      // An apply lists only the files it was given.
      const bool given = !walk.parameters.applyOnly || walk.parameters.applyOnly->contains(last);
      if (given && !walk.events.Produced(last) && IsNewInFolder(last, seen) &&
          listing.EntryIsFile(last)) {
        const SkipReason skip = FilterFile(listing, relativeFolder, walk);
        if (skip == SkipReason::None)
          walk.events.FileFound(DescribeFile(listing, folder));
        else
          ReportSkipped(walk, listing, folder, skip);
      }
    }
    if (walk.events.ShouldStop())
      return false;
  } while (listing.Next(error));
  if (error != platform::kErrorNoMoreFiles)
    SendListingError(walk, IDS_MASK_CONTINUE_FAILED, last, error);
  return true;
}

void WalkFrom(const std::u16string& folder, const std::u16string& relativeFolder, Walk& walk) {
  PathFolderEntry onPath(walk, folder);
  if (onPath.ancestor()) {
    walk.events.FolderError(FormatString(IDS_FOLDER_LOOP, {folder, *onPath.ancestor()}));
    return;
  }
  const RunParameters& parameters = walk.parameters;
  if (parameters.includeSubfolders && !WalkSubfolders(folder, relativeFolder, walk))
    return;
  SeenPaths seen;
  for (const std::u16string& mask : parameters.masks) {
    if (!WalkMask(folder, relativeFolder, mask, seen, walk))
      return;
  }
}

}  // namespace

void WalkFolder(const std::u16string& folder, const RunParameters& parameters,
                WalkEvents& events) {
  Walk walk{parameters, events, ExclusionList(parameters.exclusions), {}};
  WalkFrom(folder, std::u16string(), walk);
}
