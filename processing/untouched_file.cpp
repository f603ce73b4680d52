#include "processing/untouched_file.h"

#include "platform/string_table.h"
#include "run/search_worker.h"
#include "text/text_format.h"

void ReportUntouchedFile(SearchWorker& worker, std::unique_ptr<CFileResult> entry) {
  entry->matches.clear();
  entry->resultText = FormatString(IDS_MATCHES_FOUND, {std::int64_t{0}});
  worker.SendFileResult(ResultStatus::FileResult, std::move(entry));
}
