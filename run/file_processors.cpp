#include "run/file_processors.h"

#include <utility>

#include "processing/content_processing.h"
#include "processing/file_name_processing.h"
#include "run/search_worker.h"

void ReportOutcome(SearchWorker& worker, std::unique_ptr<CFileResult> entry, FileOutcome outcome) {
  if (!outcome.producedPath.empty())
    worker.producedPaths.insert(std::move(outcome.producedPath));
  entry->resultText = std::move(outcome.text);
  entry->skipped = outcome.skipped;
  worker.SendProcessedFile(outcome.status, std::move(entry), std::move(outcome.pendingWrite));
}

void ProcessFileContent(SearchWorker& worker, std::unique_ptr<CFileResult> entry) {
  FileOutcome outcome = ProcessContent(*worker.parameters, worker.stopEvent, *entry);
  ReportOutcome(worker, std::move(entry), std::move(outcome));
}

void ProcessFileName(SearchWorker& worker, std::unique_ptr<CFileResult> entry) {
  FileOutcome outcome = ProcessName(*worker.parameters, worker.stopEvent, *entry);
  ReportOutcome(worker, std::move(entry), std::move(outcome));
}
