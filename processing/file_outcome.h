// What processing did with one found file: the status and text of its one result message.
#pragma once

#include <memory>
#include <string>

#include "platform/system_error.h"
#include "processing/content_file.h"
#include "run/record/file_result.h"
#include "run/record/run_channel.h"

struct FileOutcome {
  ResultStatus status = ResultStatus::FileResult;
  std::u16string text;
  bool written = false;  // the file was written to
  // The full path a rename gave the file, else empty.
  std::u16string producedPath;
  // Why the file was passed over, if it was.
  SkipReason skipped = SkipReason::None;
  // A change whose write waits until its staged backup is durable (RunParameters::batchWrites):
  // the outcome is known only once WritePendingChange or GiveUpPendingChange ran.
  std::unique_ptr<ContentFile> pendingWrite;
};

// Status FileResult with this text.
FileOutcome Processed(std::u16string text);
// Status FileError with the system's text of the error.
FileOutcome Failed(platform::ErrorCode error);
// Status FileError with this text.
FileOutcome FailedWith(std::u16string text);
// Status FileResult with "%d matches found" for the entry's records.
FileOutcome MatchesFound(const CFileResult& entry);
// Status FileResult for a file passed over as binary.
FileOutcome SkippedAsBinary();
