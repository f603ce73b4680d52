// The console front end's window channel: the worker's calls are handled on the worker's own
// thread, one at a time under a lock that the main thread takes too, so the run's window side
// still sees one caller at a time without two thread switches per file.
#pragma once

#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>

#include "run/record/run_channel.h"
#include "run/run_message_handler.h"

class ConsoleRunChannel : public RunChannel {
 public:
  ConsoleRunChannel() = default;
  // Waits until no worker is inside a call any more.
  ~ConsoleRunChannel() override;
  ConsoleRunChannel(const ConsoleRunChannel&) = delete;
  ConsoleRunChannel& operator=(const ConsoleRunChannel&) = delete;

  // Set before the first call.
  void SetHandler(RunMessageHandler* handler) { handler_ = handler; }

  // Worker side: handled at once, under the lock.
  void SendResult(ResultMessage message) override;
  ConfirmAnswer SendConfirmation(const CFileResult::replace_info& position,
                                 const CFileResult& file) override;

  // Main thread: runs `action` under the lock, between two of the worker's calls.
  void Locked(const std::function<void()>& action);
  // Main thread: waits until `done` holds (tested under the lock after the completion message)
  // or the time-out passes; whether it holds.
  bool WaitFor(const std::function<bool()>& done, std::chrono::milliseconds timeout);

 private:
  // Counts the worker in, so the destructor can wait for it to leave.
  class Inside {
   public:
    explicit Inside(ConsoleRunChannel& channel);
    ~Inside();
    Inside(const Inside&) = delete;
    Inside& operator=(const Inside&) = delete;

   private:
    ConsoleRunChannel& channel_;
  };

  RunMessageHandler* handler_ = nullptr;
  std::mutex mutex_;
  std::condition_variable handled_;
  int senders_ = 0;
  bool closing_ = false;
};
