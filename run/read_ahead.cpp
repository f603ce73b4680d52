#include "run/read_ahead.h"

#include <utility>

#include "text/reused_blocks.h"

ReadAhead::ReadAhead(Process process) : process_(std::move(process)) {
  thread_ = std::thread([this] { Run(); });
}

ReadAhead::~ReadAhead() {
  {
    const std::lock_guard lock(mutex_);
    ending_ = true;
  }
  work_.notify_one();
  thread_.join();
}

bool ReadAhead::HasRoom(std::uint64_t size) const {
  const std::lock_guard lock(mutex_);
  return slots_.empty() || (slots_.size() < kMaxFiles && bytes_ + size <= kMaxBytes);
}

void ReadAhead::Push(std::unique_ptr<CFileResult> entry) {
  const std::lock_guard lock(mutex_);
  bytes_ += entry->size;
  slots_.push_back(Slot{std::move(entry), {}, false});
  // An idle helper is woken for a few files at a time, or when the worker waits.
  if (helperIdle_ && slots_.size() - started_ >= kWakeBatch)
    work_.notify_one();
}

bool ReadAhead::Behind() const {
  const std::lock_guard lock(mutex_);
  return slots_.size() - started_ >= kWakeBatch;
}

void ReadAhead::PushDone(std::unique_ptr<CFileResult> entry, FileOutcome outcome) {
  const std::lock_guard lock(mutex_);
  bytes_ += entry->size;
  slots_.push_back(Slot{std::move(entry), std::move(outcome), true});
}

bool ReadAhead::empty() const {
  const std::lock_guard lock(mutex_);
  return slots_.empty();
}

bool ReadAhead::TakeOldest(bool wait, Done& done) {
  std::unique_lock lock(mutex_);
  if (wait)
    WaitFor(lock, [this] { return slots_.empty() || slots_.front().ready; });
  if (slots_.empty() || !slots_.front().ready)
    return false;
  Slot& oldest = slots_.front();
  bytes_ -= oldest.entry->size;
  done.entry = std::move(oldest.entry);
  done.outcome = std::move(oldest.outcome);
  slots_.pop_front();
  if (started_ > 0)
    --started_;
  return true;
}

void ReadAhead::Clear() {
  std::unique_lock lock(mutex_);
  clearing_ = true;
  WaitFor(lock, [this] { return !busy_; });
  slots_.clear();
  started_ = 0;
  bytes_ = 0;
  clearing_ = false;
}

template <typename Condition>
void ReadAhead::WaitFor(std::unique_lock<std::mutex>& lock, Condition condition) {
  if (condition())
    return;
  if (helperIdle_)
    work_.notify_one();
  workerWaiting_ = true;
  ready_.wait(lock, condition);
  workerWaiting_ = false;
}

void ReadAhead::Run() {
  // The helper's blocks are its own, as the worker's are.
  const KeptBlocksScope keptBlocks;
  std::unique_lock lock(mutex_);
  for (;;) {
    helperIdle_ = true;
    work_.wait(lock, [this] { return ending_ || (!clearing_ && started_ < slots_.size()); });
    helperIdle_ = false;
    if (ending_)
      return;
    // Slots stay where they are while others come and go at the ends.
    Slot& slot = slots_[started_++];
    if (slot.ready)
      continue;  // done by the worker
    busy_ = true;
    lock.unlock();
    FileOutcome outcome = process_(*slot.entry);
    lock.lock();
    slot.outcome = std::move(outcome);
    slot.ready = true;
    busy_ = false;
    if (workerWaiting_)
      ready_.notify_one();
  }
}
