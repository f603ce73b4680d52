// The worker's channel to the main window: SendMessageW with the result message and the
// confirmation message, handled on the window thread while the worker waits.
#pragma once

#include <windows.h>

#include "run/message_pump.h"
#include "run/record/run_channel.h"
#include "run/run_message_handler.h"

static_assert(kRunResultMessage == WM_USER + 2 && kRunConfirmMessage == WM_USER + 3);

class WindowRunChannel : public RunChannel {
 public:
  WindowRunChannel() = default;
  void SetWindow(HWND window) { window_ = window; }

  // The heap objects travel as the message's pointer argument and belong to the window once it
  // has acknowledged the message; a message the window never got is cleaned up here.
  void SendResult(ResultMessage message) override;
  // A question the window cannot answer (it is gone) counts as No To All, never as consent.
  ConfirmAnswer SendConfirmation(const CFileResult::replace_info& position,
                                 const CFileResult& file) override;

  // Window side: whether the message is one of the two, handled by `handler`; `result` is the
  // value the window procedure returns.
  static bool HandleMessage(RunMessageHandler& handler, UINT message, WPARAM wParam, LPARAM lParam,
                            LRESULT& result);

 private:
  HWND window_ = nullptr;
};

// Serves the window thread's messages, sent ones included, until a condition holds.
class WindowMessagePump : public MessagePump {
 public:
  void ServeUntil(const std::function<bool()>& done) override;
};
