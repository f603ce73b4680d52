// The worker of a run: its thread, its stop event, and what the folder walk and the file
// processors use to report to the window.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/stop_event.h"
#include "platform/system_error.h"
#include "platform/thread.h"
#include "run/record/file_result.h"
#include "run/record/run_channel.h"
#include "run/record/run_parameters.h"
#include "run/folder_walk.h"
#include "run/read_ahead.h"
#include "run/seen_paths.h"
#include "run/type_name_cache.h"
#include "run/write_batch.h"

class SearchWorker : private WalkEvents {
 public:
  // What is done with each file the walk finds; it takes over the entry and must report it to
  // the window with exactly one result message.
  using FileProcessor = std::function<void(SearchWorker& worker, std::unique_ptr<CFileResult>)>;
  // Work done on the thread instead of the walk (an undo), reporting as file processing does.
  using Job = std::function<void(SearchWorker& worker)>;

  SearchWorker() = default;
  // A thread still attached is told to stop and let go; it is not waited for.
  ~SearchWorker();
  SearchWorker(const SearchWorker&) = delete;
  SearchWorker& operator=(const SearchWorker&) = delete;

  // Starts the walk of the record on a new thread. With a thread already attached returns true
  // at once and changes nothing; false, with startError set, when no thread could be created.
  bool Start(RunParameters& record);
  // Starts the job on a new thread instead of the walk (none: the walk), as Start does.
  bool StartJob(RunParameters& record, Job job);
  // Signals the stop event and lets go of the thread, if one is attached.
  void Stop();

  // Replaces ProcessFileContent and ProcessFileName; set only while no run is active.
  void SetFileProcessor(FileProcessor processor) { fileProcessor_ = std::move(processor); }

  // Whether runs that change nothing process files ahead on a second thread (the default); set
  // only while no run is active.
  void SetReadAhead(bool allowed) { readAheadAllowed_ = allowed; }
  // Whether the worker processes a file itself while the read-ahead thread is behind (the
  // default), which reads files out of walk order; set only while no run is active.
  void SetReadAheadSharing(bool allowed) { readAheadSharing_ = allowed; }

  // Tells tests of each directory listing the walk opens, by its pattern; set only while no run
  // is active.
  void SetListingObserver(std::function<void(const std::u16string&)> observer) {
    listingObserver_ = std::move(observer);
  }

  // Worker thread: whether the stop event is signalled (tested with time-out 0).
  bool StopRequested() const { return stopEvent.IsSet(); }
  // Worker thread: hands an entry to file processing (content, or the name in rename mode; a
  // test's processor gets the entry with its type name).
  void ProcessFile(std::unique_ptr<CFileResult> entry);
  // Worker thread: the result message with a file (statuses FileResult and FileError).
  void SendFileResult(ResultStatus status, std::unique_ptr<CFileResult> file);
  // Worker thread: the result of a processed file, with its type name where it makes a row. A
  // change whose write waits for its backup is written with the batch, and its message sent then.
  void SendProcessedFile(ResultStatus status, std::unique_ptr<CFileResult> file,
                         std::unique_ptr<ContentFile> pendingWrite = nullptr);
  // Worker thread: the result message SearchError with this text.
  void SendSearchError(std::u16string text);

  RunParameters* parameters = nullptr;
  platform::StopEvent stopEvent;
  platform::Thread thread;
  std::uint32_t threadId = 0;
  platform::ErrorCode startError = 0;
  // The full paths of the files this run has renamed into being, as the walk forms paths: they
  // are never processed again, under another mask or through another search path.
  SeenPaths producedPaths;
  // In a preview, the names given and freed so far.
  PreviewNames previewNames;

 private:
  friend std::uint32_t ThreadMain(void* worker);
  void FileFound(std::unique_ptr<CFileResult> entry) override { ProcessFile(std::move(entry)); }
  void FolderError(std::u16string text) override;
  bool ShouldStop() const override { return StopRequested(); }
  bool Produced(const std::u16string& path) const override { return producedPaths.contains(path); }
  void Skipped(std::unique_ptr<CFileResult> entry) override;
  void ListingOpening(const std::u16string& pattern) override;

  // Whether this run's files may be processed ahead.
  bool ReadsAhead() const;
  // Whether this run's changes are written in batches behind their backups.
  bool BatchesWrites() const;
  // Every message goes to the window through here.
  void Send(ResultMessage message);
  // Reports the files processed ahead, in order: those ready, or with `all` every one; none
  // once the run is stopped. False when the run was stopped.
  bool ReportReadAhead(bool all);

  FileProcessor fileProcessor_;
  bool readAheadAllowed_ = true;
  bool readAheadSharing_ = true;
  std::unique_ptr<ReadAhead> readAhead_;  // while a run reads ahead
  std::unique_ptr<WriteBatch> writeBatch_;  // while a run batches its writes
  Job job_;
  std::function<void(const std::u16string&)> listingObserver_;
  TypeNameCache typeNames_;  // of the current run
};

// The thread function: walks every search path, then sends the completion message. Returns 0.
std::uint32_t ThreadMain(void* worker);
