// The folder walk of a run, on the worker thread.
#pragma once

#include <string>
#include <unordered_set>

class SearchWorker;

// Walks one folder: with subfolders on, first every subfolder (depth first, in listing order),
// then the folder's files mask by mask, each file once. Tests the stop event after every entry
// and returns when it is signalled. A folder that leads back to one of the folders above it is
// reported and not walked.
void WalkFolder(const std::u16string& folder, SearchWorker& worker);

// The full paths a folder's file phase has processed, looked up by exact text in constant time
// (a plain list would make a folder of many files quadratic).
using SeenPaths = std::unordered_set<std::u16string>;

// False when `seen` already holds exactly this path; otherwise adds it and returns true.
bool IsNewInFolder(const std::u16string& fullPath, SeenPaths& seen);
