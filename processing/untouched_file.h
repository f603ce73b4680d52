// The report of a file that processing leaves as it is.
#pragma once

#include <memory>

#include "run/file_result.h"

class SearchWorker;

// Sends the entry as a file result with no matches: "%d matches found" with 0.
void ReportUntouchedFile(SearchWorker& worker, std::unique_ptr<CFileResult> entry);
