#include "cli/console_printer.h"

#include <chrono>
#include <utility>

namespace {

// Jobs waiting this many lines between them wake the thread at once.
constexpr size_t kWakeWeight = 4096;
constexpr auto kGatherTime = std::chrono::milliseconds(50);

}  // namespace

ConsolePrinter::ConsolePrinter(std::function<void()> onStart)
    : onStart_(std::move(onStart)), thread_([this] { Run(); }) {}

ConsolePrinter::~ConsolePrinter() {
  {
    std::lock_guard lock(mutex_);
    ending_ = true;
  }
  wake_.notify_one();
  thread_.join();
}

void ConsolePrinter::Post(std::function<void()> job, size_t weight) {
  bool wake = false;
  {
    std::lock_guard lock(mutex_);
    jobs_.push_back(std::move(job));
    waitingWeight_ += weight + 1;
    wake = !busy_ && waitingWeight_ >= kWakeWeight;
  }
  if (wake)
    wake_.notify_one();
}

void ConsolePrinter::Drain() {
  std::unique_lock lock(mutex_);
  if (jobs_.empty() && !busy_)
    return;
  drainRequested_ = true;
  wake_.notify_one();
  done_.wait(lock, [this] { return jobs_.empty() && !busy_; });
}

void ConsolePrinter::Run() {
  if (onStart_)
    onStart_();
  std::unique_lock lock(mutex_);
  for (;;) {
    wake_.wait_for(lock, kGatherTime,
                   [this] { return ending_ || drainRequested_ || waitingWeight_ >= kWakeWeight; });
    busy_ = true;
    while (!jobs_.empty()) {
      std::function<void()> job = std::move(jobs_.front());
      jobs_.pop_front();
      waitingWeight_ = 0;
      lock.unlock();
      job();
      lock.lock();
    }
    busy_ = false;
    drainRequested_ = false;
    done_.notify_all();
    if (ending_)
      return;
  }
}
