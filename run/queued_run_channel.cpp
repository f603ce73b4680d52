#include "run/queued_run_channel.h"

namespace {

constexpr std::chrono::milliseconds kPollInterval{20};

}  // namespace

QueuedRunChannel::QueuedRunChannel() : windowThread_(std::this_thread::get_id()) {}

QueuedRunChannel::~QueuedRunChannel() {
  std::unique_lock lock(mutex_);
  handled_.wait(lock, [this] { return senders_ == 0; });
}

void QueuedRunChannel::SendResult(ResultMessage message) {
  Call call;
  call.result = &message;
  Send(call);
}

ConfirmAnswer QueuedRunChannel::SendConfirmation(const CFileResult::replace_info& position,
                                                 const CFileResult& file) {
  Call call;
  call.position = &position;
  call.file = &file;
  Send(call);
  return call.answer;
}

void QueuedRunChannel::Send(Call& call) {
  if (std::this_thread::get_id() == windowThread_) {
    Handle(call);
    return;
  }
  std::unique_lock lock(mutex_);
  ++senders_;
  queue_.push_back(&call);
  queued_.notify_one();
  handled_.wait(lock, [&call] { return call.done; });
  // The last touch of the channel: the destructor may run as soon as the lock is released.
  --senders_;
  handled_.notify_all();
}

void QueuedRunChannel::Handle(Call& call) {
  if (call.result)
    handler_->OnResultMessage(std::move(*call.result));
  else
    call.answer = handler_->OnConfirmMessage(*call.position, *call.file);
}

bool QueuedRunChannel::ServeOne(std::chrono::milliseconds wait) {
  Call* call = nullptr;
  {
    std::unique_lock lock(mutex_);
    if (!queued_.wait_for(lock, wait, [this] { return !queue_.empty(); }))
      return false;
    call = queue_.front();
    queue_.pop_front();
  }
  Handle(*call);
  {
    std::lock_guard lock(mutex_);
    call->done = true;
  }
  handled_.notify_all();
  return true;
}

void QueuedRunChannel::ServeUntil(const std::function<bool()>& done) {
  while (!done())
    ServeOne(kPollInterval);
}

bool QueuedRunChannel::ServeUntil(const std::function<bool()>& done,
                                  std::chrono::milliseconds timeout) {
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  while (!done()) {
    if (std::chrono::steady_clock::now() >= deadline)
      return false;
    ServeOne(kPollInterval);
  }
  return true;
}
