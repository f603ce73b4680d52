#include "run/search_worker.h"

#include <exception>

#include "platform/heap_block.h"
#include "platform/string_table.h"
#include "processing/backup/backup_store.h"
#include "processing/content_processing.h"
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
  // A file that changed since the preview is listed with its reason and left alone.
  if (ListedChangedSincePreview(*parameters, *entry)) {
    entry->typeName = typeNames_.NameOf(entry->name);
    entry->resultText = platform::LoadText(IDS_CHANGED_SINCE_PREVIEW);
    entry->listedWithoutMatches = true;
    SendFileResult(ResultStatus::FileResult, std::move(entry));
    return;
  }
  if (readAhead_) {
    // A full queue waits for its oldest file first. After a stop the entry is not processed,
    // as the walk would not have found it.
    ReadAhead::Done done;
    while (!readAhead_->HasRoom(entry->size) && !StopRequested() &&
           readAhead_->TakeOldest(true, done))
      ReportOutcome(*this, std::move(done.entry), std::move(done.outcome));
    if (!ReportReadAhead(false))
      return;
    if (readAheadSharing_ && readAhead_->Behind()) {
      FileOutcome outcome = ProcessContent(*parameters, stopEvent, *entry);
      readAhead_->PushDone(std::move(entry), std::move(outcome));
    } else {
      readAhead_->Push(std::move(entry));
    }
    ReportReadAhead(false);
    return;
  }
  if (fileProcessor_) {
    entry->typeName = typeNames_.NameOf(entry->name);
    fileProcessor_(*this, std::move(entry));
  } else if (parameters->renameMode) {
    ProcessFileName(*this, std::move(entry));
  } else {
    ProcessFileContent(*this, std::move(entry));
  }
}

bool SearchWorker::ReadsAhead() const {
  return readAheadAllowed_ && !job_ && !fileProcessor_ && !parameters->renameMode &&
         parameters->action == ActionType::FindOnly;
}

bool SearchWorker::BatchesWrites() const {
  // A question about a match is asked only once the files before it are written and listed.
  return parameters->backup && !job_ && !fileProcessor_ && !parameters->renameMode &&
         !parameters->preview && !parameters->confirmReplace &&
         parameters->action != ActionType::FindOnly;
}

void SearchWorker::ListingOpening(const std::u16string& pattern) {
  if (writeBatch_)
    writeBatch_->WriteWhenDue();
  if (listingObserver_)
    listingObserver_(pattern);
}

bool SearchWorker::ReportReadAhead(bool all) {
  if (!readAhead_)
    return !StopRequested();
  for (;;) {
    if (StopRequested()) {
      readAhead_->Clear();
      return false;
    }
    ReadAhead::Done done;
    if (!readAhead_->TakeOldest(all, done))
      return true;
    ReportOutcome(*this, std::move(done.entry), std::move(done.outcome));
  }
}

// What the walk reports itself comes after every file found before it, and not after a stop.
void SearchWorker::FolderError(std::u16string text) {
  if (ReportReadAhead(true))
    SendSearchError(std::move(text));
}

void SearchWorker::Skipped(std::unique_ptr<CFileResult> entry) {
  if (ReportReadAhead(true))
    SendFileResult(ResultStatus::FileResult, std::move(entry));
}

void SearchWorker::Send(ResultMessage message) {
  if (writeBatch_)
    writeBatch_->Send(std::move(message));
  else
    parameters->targetWindow->SendResult(std::move(message));
}

void SearchWorker::SendFileResult(ResultStatus status, std::unique_ptr<CFileResult> file) {
  ResultMessage message;
  message.status = status;
  message.file = std::move(file);
  Send(std::move(message));
}

void SearchWorker::SendProcessedFile(ResultStatus status, std::unique_ptr<CFileResult> file,
                                     std::unique_ptr<ContentFile> pendingWrite) {
  // Only a row that is shown needs the type name.
  if (status == ResultStatus::FileResult &&
      (!file->matches.empty() || file->skipped != SkipReason::None))
    file->typeName = typeNames_.NameOf(file->name);
  if (pendingWrite && writeBatch_) {
    ResultMessage message;
    message.status = status;
    message.file = std::move(file);
    writeBatch_->QueueWrite(std::move(message), std::move(pendingWrite));
    return;
  }
  SendFileResult(status, std::move(file));
}

void SearchWorker::SendSearchError(std::u16string text) {
  ResultMessage message;
  message.status = ResultStatus::SearchError;
  message.errorText = std::make_unique<std::u16string>(std::move(text));
  Send(std::move(message));
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
      if (worker.ReadsAhead()) {
        // Set before the helper reads the parameters.
        if (!parameters.confirmReplace)
          worker.parameters->confirmState = ConfirmAnswer::YesToAll;
        try {
          worker.readAhead_ = std::make_unique<ReadAhead>([&worker](CFileResult& entry) {
            return ProcessContent(*worker.parameters, worker.stopEvent, entry);
          });
        } catch (const std::exception&) {
          // No second thread: the worker processes every file itself.
        }
      }
      if (worker.BatchesWrites()) {
        worker.parameters->batchWrites = true;
        worker.writeBatch_ = std::make_unique<WriteBatch>(
            *parameters.backup,
            WriteBatch::Sink{[&worker](ResultMessage message) {
                               worker.parameters->targetWindow->SendResult(std::move(message));
                             },
                             [&worker] { return worker.StopRequested(); }},
            parameters.settings.maxFilesShown);
      }
      // No stop test here: after a stop each walk returns at its first one.
      for (const std::u16string& path : parameters.searchPaths)
        WalkFolder(path, parameters, worker);
      worker.ReportReadAhead(true);
      worker.readAhead_.reset();
      if (worker.writeBatch_)
        worker.writeBatch_->WriteAll();
      worker.writeBatch_.reset();
      worker.parameters->batchWrites = false;
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
