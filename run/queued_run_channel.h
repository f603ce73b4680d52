// The window channel without a windowing system, for tests and the console front end. The
// thread that constructs it is the window thread: the worker's calls wait in a queue until
// that thread serves them, and the worker stays blocked until its call has been handled, as
// with SendMessageW. A call made on the window thread itself is handled at once.
#pragma once

#include <chrono>
#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>

#include "run/message_pump.h"
#include "run/record/run_channel.h"
#include "run/run_message_handler.h"

class QueuedRunChannel : public RunChannel, public MessagePump {
 public:
  QueuedRunChannel();
  // Waits until no worker is inside a call any more; the owner has waited for the completion
  // message before (RunController::StopAndWait).
  ~QueuedRunChannel() override;
  QueuedRunChannel(const QueuedRunChannel&) = delete;
  QueuedRunChannel& operator=(const QueuedRunChannel&) = delete;

  // The window side that handles the calls; set before the first call.
  void SetHandler(RunMessageHandler* handler) { handler_ = handler; }

  // Worker side.
  void SendResult(ResultMessage message) override;
  ConfirmAnswer SendConfirmation(const CFileResult::replace_info& position,
                                 const CFileResult& file) override;

  // Window side: handles at most one queued call, waiting up to `wait` for one; whether a call
  // was handled.
  bool ServeOne(std::chrono::milliseconds wait);
  void ServeUntil(const std::function<bool()>& done) override;
  // As ServeUntil, giving up after the time-out; whether done() became true.
  bool ServeUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout);

 private:
  struct Call {
    ResultMessage* result = nullptr;  // a result message, or else a confirmation
    const CFileResult::replace_info* position = nullptr;
    const CFileResult* file = nullptr;
    ConfirmAnswer answer = ConfirmAnswer::No;
    bool done = false;
  };

  void Send(Call& call);
  void Handle(Call& call);

  const std::thread::id windowThread_;
  RunMessageHandler* handler_ = nullptr;
  std::mutex mutex_;
  std::condition_variable queued_;
  std::condition_variable handled_;
  std::deque<Call*> queue_;
  int senders_ = 0;  // workers inside Send
};
