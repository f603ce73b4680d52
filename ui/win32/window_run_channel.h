// The worker's channel to the main window: SendMessageW with the result message and the
// confirmation message, handled on the window thread while the worker waits.
#pragma once

#include <windows.h>

#include "run/message_pump.h"
#include "run/record/run_channel.h"
#include "run/result_batch.h"
#include "run/run_message_handler.h"

static_assert(kRunResultMessage == WM_USER + 2 && kRunConfirmMessage == WM_USER + 3);

class WindowRunChannel : public RunChannel {
 public:
  WindowRunChannel() = default;
  void SetWindow(HWND window) { window_ = window; }

  // Takes the run's file limit for the batch.
  void BeginRun(const RunParameters& parameters) override;
  // A result that the batch keeps waits there for the window's next turn (TakeBatch). Any other
  // message goes at once; the heap objects travel as its pointer argument and belong to the
  // window once it has acknowledged the message; a message the window never got is cleaned up
  // here.
  void SendResult(ResultMessage message) override;
  // A question the window cannot answer (it is gone) counts as No To All, never as consent.
  ConfirmAnswer SendConfirmation(const CFileResult::replace_info& position,
                                 const CFileResult& file) override;

  // Window side: whether the message is one of the two, handled by `handler` after the batch
  // kept before it; `result` is the value the window procedure returns.
  bool HandleMessage(RunMessageHandler& handler, UINT message, WPARAM wParam, LPARAM lParam,
                     LRESULT& result);
  // Window side: hands the kept results to `handler`, in order; false when there were none.
  bool TakeBatch(RunMessageHandler& handler);

 private:
  HWND window_ = nullptr;
  ResultBatch batch_;
};

// Serves the window thread's messages, sent ones included, until a condition holds.
class WindowMessagePump : public MessagePump {
 public:
  void ServeUntil(const std::function<bool()>& done) override;
};
