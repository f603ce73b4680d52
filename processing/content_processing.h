// What a run does to the content of one found file, on the worker thread.
#pragma once

#include <memory>

#include "run/file_result.h"

class SearchWorker;

// Takes over the entry and reports it to the window with exactly one result message.
void ProcessFileContent(SearchWorker& worker, std::unique_ptr<CFileResult> entry);
