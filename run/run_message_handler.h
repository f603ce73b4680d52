// The window side of the two worker messages, as a channel delivers them on the window thread.
#pragma once

#include "run/record/file_result.h"
#include "run/record/run_channel.h"
#include "run/record/run_types.h"

class RunMessageHandler {
 public:
  virtual ~RunMessageHandler() = default;
  // The result message; the handler takes over the message's object.
  virtual void OnResultMessage(ResultMessage message) = 0;
  // The confirmation message; the sender keeps the position and the file.
  virtual ConfirmAnswer OnConfirmMessage(const CFileResult::replace_info& position,
                                         const CFileResult& file) = 0;
};
