#include "ui/win32/window_run_channel.h"

#include <memory>
#include <string>

#include "run/record/run_parameters.h"

namespace {
// What the window answers to a result message it has taken over.
constexpr LRESULT kResultTaken = 1;
}  // namespace

void WindowRunChannel::BeginRun(const RunParameters& parameters) {
  batch_.Start(parameters.settings.maxFilesShown);
}

void WindowRunChannel::SendResult(ResultMessage message) {
  if (batch_.Offer(message))
    return;
  void* object = message.file ? static_cast<void*>(message.file.get())
                              : static_cast<void*>(message.errorText.get());
  LRESULT taken = SendMessageW(window_, kRunResultMessage, static_cast<WPARAM>(message.status),
                               reinterpret_cast<LPARAM>(object));
  if (taken == kResultTaken) {
    // The window owns the objects now.
    message.file.release();
    message.errorText.release();
  }
}

ConfirmAnswer WindowRunChannel::SendConfirmation(const CFileResult::replace_info& position,
                                                 const CFileResult& file) {
  SetLastError(ERROR_SUCCESS);
  LRESULT answer = SendMessageW(window_, kRunConfirmMessage, reinterpret_cast<WPARAM>(&position),
                                reinterpret_cast<LPARAM>(&file));
  if (answer == 0 && GetLastError() != ERROR_SUCCESS)
    return ConfirmAnswer::NoToAll;
  switch (answer) {
    case static_cast<LRESULT>(ConfirmAnswer::Yes):
    case static_cast<LRESULT>(ConfirmAnswer::No):
    case static_cast<LRESULT>(ConfirmAnswer::YesToAll):
    case static_cast<LRESULT>(ConfirmAnswer::NoToAll):
      return static_cast<ConfirmAnswer>(answer);
    default:
      return ConfirmAnswer::No;
  }
}

bool WindowRunChannel::HandleMessage(RunMessageHandler& handler, UINT message, WPARAM wParam,
                                     LPARAM lParam, LRESULT& result) {
  if (message == kRunResultMessage || message == kRunConfirmMessage)
    TakeBatch(handler);
  if (message == kRunResultMessage) {
    ResultMessage received;
    received.status = static_cast<ResultStatus>(wParam);
    void* object = reinterpret_cast<void*>(lParam);
    if (received.status == ResultStatus::SearchError)
      received.errorText.reset(static_cast<std::u16string*>(object));
    else if (received.status != ResultStatus::RunFinished)
      received.file.reset(static_cast<CFileResult*>(object));
    handler.OnResultMessage(std::move(received));
    result = kResultTaken;
    return true;
  }
  if (message == kRunConfirmMessage) {
    result = static_cast<LRESULT>(
        handler.OnConfirmMessage(*reinterpret_cast<const CFileResult::replace_info*>(wParam),
                                 *reinterpret_cast<const CFileResult*>(lParam)));
    return true;
  }
  return false;
}

bool WindowRunChannel::TakeBatch(RunMessageHandler& handler) {
  std::vector<ResultMessage> batch = batch_.Take();
  for (ResultMessage& message : batch)
    handler.OnResultMessage(std::move(message));
  return !batch.empty();
}

void WindowMessagePump::ServeUntil(const std::function<bool()>& done) {
  constexpr DWORD kWakeUpMs = 50;
  while (!done()) {
    MsgWaitForMultipleObjects(0, nullptr, FALSE, kWakeUpMs, QS_ALLINPUT);
    MSG message;
    // PeekMessageW also delivers the messages the worker sends.
    while (!done() && PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
      if (message.message == WM_QUIT) {
        PostQuitMessage(static_cast<int>(message.wParam));
        return;
      }
      TranslateMessage(&message);
      DispatchMessageW(&message);
    }
  }
}
