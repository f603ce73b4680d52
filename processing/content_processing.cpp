#include "processing/content_processing.h"

#include "processing/untouched_file.h"

// Placeholder until content search and replace lands: the file is reported untouched.
void ProcessFileContent(SearchWorker& worker, std::unique_ptr<CFileResult> entry) {
  ReportUntouchedFile(worker, std::move(entry));
}
