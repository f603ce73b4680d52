#include "cli/console_run_channel.h"

ConsoleRunChannel::Inside::Inside(ConsoleRunChannel& channel) : channel_(channel) {
  ++channel_.senders_;
}

ConsoleRunChannel::Inside::~Inside() {
  if (--channel_.senders_ == 0 && channel_.closing_)
    channel_.handled_.notify_all();
}

ConsoleRunChannel::~ConsoleRunChannel() {
  std::unique_lock lock(mutex_);
  closing_ = true;
  handled_.wait(lock, [this] { return senders_ == 0; });
}

void ConsoleRunChannel::SendResult(ResultMessage message) {
  std::lock_guard lock(mutex_);
  Inside inside(*this);
  // Only the completion message can end a wait; waking the main thread for every file would
  // cost two thread switches each.
  const bool finished = message.status == ResultStatus::RunFinished;
  handler_->OnResultMessage(std::move(message));
  if (finished)
    handled_.notify_all();
}

ConfirmAnswer ConsoleRunChannel::SendConfirmation(const CFileResult::replace_info& position,
                                                  const CFileResult& file) {
  std::lock_guard lock(mutex_);
  Inside inside(*this);
  return handler_->OnConfirmMessage(position, file);
}

void ConsoleRunChannel::Locked(const std::function<void()>& action) {
  std::lock_guard lock(mutex_);
  action();
}

bool ConsoleRunChannel::WaitFor(const std::function<bool()>& done,
                                std::chrono::milliseconds timeout) {
  std::unique_lock lock(mutex_);
  return handled_.wait_for(lock, timeout, done);
}
