// The worker's one way to the window: two synchronous calls that block the worker until the
// window has handled them. The GUI sends the window messages of run_types.h; tests and the console
// front end have their own implementations.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "run/record/file_result.h"
#include "run/record/run_types.h"

struct RunParameters;

enum class ResultStatus : std::int32_t {
  RunFinished = 0,  // no object
  FileResult = 1,   // a processed or skipped file
  SearchError = 2,  // a directory listing error: errorText
  FileError = 3,    // a failed file; its resultText holds the error
};

struct ResultMessage {
  ResultStatus status = ResultStatus::RunFinished;
  std::unique_ptr<CFileResult> file;          // statuses 1 and 3; the window takes it over
  std::unique_ptr<std::u16string> errorText;  // status 2; the window takes it over
};

class RunChannel {
 public:
  virtual ~RunChannel() = default;
  // On the window thread, before the worker of a run starts.
  virtual void BeginRun(const RunParameters& /*parameters*/) {}
  // The result message; returns when the window has handled it.
  virtual void SendResult(ResultMessage message) = 0;
  // The confirmation message for one match of a file; returns the user's answer.
  virtual ConfirmAnswer SendConfirmation(const CFileResult::replace_info& position,
                                         const CFileResult& file) = 0;
};
