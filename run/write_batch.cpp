#include "run/write_batch.h"

#include <string>
#include <utility>

#include "processing/backup/backup_store.h"
#include "processing/content_processing.h"

namespace {

bool Listed(const ResultMessage& message) {
  return message.status == ResultStatus::FileResult && message.file &&
         message.file->skipped == SkipReason::None && IsListedResult(*message.file);
}

}  // namespace

void WriteBatch::QueueWrite(ResultMessage message, std::unique_ptr<ContentFile> write) {
  if (writes_ == 0)
    firstWrite_ = std::chrono::steady_clock::now();
  ++writes_;
  ++queuedListed_;
  bytes_ += write->original.size() + write->changed.size();
  queue_.push_back({std::move(message), std::move(write)});
  if (writes_ >= kMaxFiles || bytes_ >= kMaxBytes || AtLimit())
    WriteAll();
  else
    WriteWhenDue();
}

void WriteBatch::Send(ResultMessage message) {
  if (!Waiting()) {
    Deliver(std::move(message));
    return;
  }
  if (Listed(message))
    ++queuedListed_;
  queue_.push_back({std::move(message), nullptr});
  WriteWhenDue();
}

void WriteBatch::WriteWhenDue() {
  if (writes_ > 0 && std::chrono::steady_clock::now() - firstWrite_ >= kMaxWait)
    WriteAll();
}

void WriteBatch::Deliver(ResultMessage message) {
  if (Listed(message))
    ++sentListed_;
  sink_.deliver(std::move(message));
}

void WriteBatch::WriteAll() {
  std::deque<Queued> queue = std::move(queue_);
  queue_.clear();
  writes_ = 0;
  bytes_ = 0;
  queuedListed_ = 0;
  if (queue.empty())
    return;
  std::u16string reason;
  bool durable = false;
  if (sink_.stopRequested())
    store_.DropStaged();
  else
    durable = store_.MakeDurable(reason);
  bool stopped = false;
  for (Queued& item : queue) {
    // After a stop nothing more is written or sent.
    stopped = stopped || sink_.stopRequested();
    if (item.write) {
      CFileResult& entry = *item.message.file;
      const FileOutcome outcome = durable && !stopped ? WritePendingChange(*item.write, entry)
                                                      : GiveUpPendingChange(*item.write, reason);
      item.write.reset();
      item.message.status = outcome.status;
      entry.resultText = outcome.text;
    }
    if (!stopped)
      Deliver(std::move(item.message));
  }
}
