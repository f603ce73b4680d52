#include "processing/file_name_processing.h"

#include "processing/untouched_file.h"

// Placeholder until rename mode lands: the file is reported untouched.
void ProcessFileName(SearchWorker& worker, std::unique_ptr<CFileResult> entry) {
  ReportUntouchedFile(worker, std::move(entry));
}
