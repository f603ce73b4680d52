// The worker's two ways of processing a found file: its content, or its name in rename mode.
#pragma once

#include <memory>

#include "run/record/file_result.h"

#include "processing/file_outcome.h"

class SearchWorker;

// Each takes over the entry and reports it to the window with exactly one result message.
void ProcessFileContent(SearchWorker& worker, std::unique_ptr<CFileResult> entry);
void ProcessFileName(SearchWorker& worker, std::unique_ptr<CFileResult> entry);
// Reports what processing did with the entry: its one result message.
void ReportOutcome(SearchWorker& worker, std::unique_ptr<CFileResult> entry, FileOutcome outcome);
