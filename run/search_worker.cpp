#include "run/search_worker.h"

#include "platform/heap_block.h"
#include "platform/string_table.h"
#include "processing/backup/backup_store.h"
#include "processing/preview_check.h"
#include "run/file_processors.h"
#include "text/reused_blocks.h"

SearchWorker::~SearchWorker() {
  Stop();
}

bool SearchWorker::Start(RunParameters& record) {
  return StartJob(record, nullptr);
}

bool SearchWorker::StartJob(RunParameters& record, Job job) {
  if (thread.IsSet())
    return true;
  job_ = std::move(job);
  stopEvent.Reset();
  parameters = &record;
  typeNames_.Clear();
  producedPaths.clear();
  previewNames = {};
  record.previewNames = &previewNames;
  platform::KeepFreedBlocksForReuse();
  return thread.Start(ThreadMain, this, threadId, startError);
}

void SearchWorker::Stop() {
  if (!thread.IsSet())
    return;
  stopEvent.Set();
  thread.Clear();
}

void SearchWorker::ProcessFile(std::unique_ptr<CFileResult> entry) {
  entry->typeName = typeNames_.NameOf(entry->name);
  if (ListedChangedSincePreview(*parameters, *entry)) {
    entry->resultText = platform::LoadText(IDS_CHANGED_SINCE_PREVIEW);
    entry->listedWithoutMatches = true;
    SendFileResult(ResultStatus::FileResult, std::move(entry));
    return;
  }
  if (fileProcessor_)
    fileProcessor_(*this, std::move(entry));
  else if (parameters->renameMode)
    ProcessFileName(*this, std::move(entry));
  else
    ProcessFileContent(*this, std::move(entry));
}

void SearchWorker::SendFileResult(ResultStatus status, std::unique_ptr<CFileResult> file) {
  ResultMessage message;
  message.status = status;
  message.file = std::move(file);
  parameters->targetWindow->SendResult(std::move(message));
}

void SearchWorker::SendSearchError(std::u16string text) {
  ResultMessage message;
  message.status = ResultStatus::SearchError;
  message.errorText = std::make_unique<std::u16string>(std::move(text));
  parameters->targetWindow->SendResult(std::move(message));
}

std::uint32_t ThreadMain(void* argument) {
  SearchWorker& worker = *static_cast<SearchWorker*>(argument);
  const RunParameters& parameters = *worker.parameters;
  {
    // Large blocks serve file after file, and are freed before the run is reported finished.
    const KeptBlocksScope keptBlocks;
    if (worker.job_) {
      worker.job_(worker);
    } else {
      // No stop test here: after a stop each walk returns at its first one.
      for (const std::u16string& path : parameters.searchPaths)
        WalkFolder(path, parameters, worker);
    }
  }
  if (parameters.backup)
    parameters.backup->End();
  // Once the window has handled this the worker may be gone: nothing of it is touched after.
  RunChannel* window = parameters.targetWindow;
  ResultMessage finished;
  finished.status = ResultStatus::RunFinished;
  window->SendResult(std::move(finished));
  return 0;
}
