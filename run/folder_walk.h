// The folder walk of a run, on the worker thread.
#pragma once

#include <memory>
#include <string>

#include "run/record/file_result.h"
#include "run/record/run_parameters.h"
#include "run/seen_paths.h"

// What the walk reports to, and asks of, whoever runs it.
class WalkEvents {
 public:
  virtual ~WalkEvents() = default;
  // A file to process; the receiver takes it over.
  virtual void FileFound(std::unique_ptr<CFileResult> entry) = 0;
  // A folder that could not be listed or that leads back up: the text of its error.
  virtual void FolderError(std::u16string text) = 0;
  // Whether the walk is to end now.
  virtual bool ShouldStop() const = 0;
  // Whether the run made this path itself (a file renamed into being): never processed.
  virtual bool Produced(const std::u16string& path) const = 0;
  // A file or folder passed over, its skipped reason and result text set; the receiver takes it.
  virtual void Skipped(std::unique_ptr<CFileResult> entry) = 0;
  // A directory listing about to open, by its pattern (for tests).
  virtual void ListingOpening(const std::u16string&) {}
};

// Walks one folder with the run's masks: with subfolders on, first every subfolder (depth first,
// in listing order), then the folder's files mask by mask, each file once. Hidden subfolders are
// walked only when hidden files are searched. Pipes, sockets and devices are never files to
// process, nor is a file the run has renamed into being. Asks ShouldStop after every entry and
// returns when it says so. A folder that leads back to one of the folders above it is reported
// and not walked. Entries that the run's exclusions take (an excluded folder is never listed) and
// files outside its size and date limits are reported as skipped, with their reason.
void WalkFolder(const std::u16string& folder, const RunParameters& parameters,
                WalkEvents& events);
