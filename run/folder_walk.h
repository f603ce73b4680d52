// The folder walk of a run, on the worker thread.
#pragma once

#include <string>

#include "run/seen_paths.h"

class SearchWorker;

// Walks one folder: with subfolders on, first every subfolder (depth first, in listing order),
// then the folder's files mask by mask, each file once. Hidden subfolders are walked only when
// hidden files are searched. Pipes, sockets and devices are never files to process, nor is a
// file the run has renamed into being. Tests the stop event after every entry and returns when
// it is signalled. A folder that leads back to one of the folders above it is reported and not
// walked. Entries that the run's exclusions take (an excluded folder is never listed) and files
// outside its size and date limits are reported as skipped, with their reason.
void WalkFolder(const std::u16string& folder, SearchWorker& worker);
