#include "run/result_batch.h"

#include <utility>

void ResultBatch::Start(std::int32_t listLimit) {
  std::lock_guard<std::mutex> lock(mutex_);
  kept_.clear();
  limit_ = listLimit;
  listed_ = 0;
}

bool ResultBatch::Offer(ResultMessage& message) {
  if (message.status == ResultStatus::RunFinished)
    return false;
  const bool listed = message.status == ResultStatus::FileResult && message.file &&
                      IsListedResult(*message.file);
  std::lock_guard<std::mutex> lock(mutex_);
  if (listed && limit_ > 0 && ++listed_ > limit_)
    return false;
  kept_.push_back(std::move(message));
  return true;
}

std::vector<ResultMessage> ResultBatch::Take() {
  std::lock_guard<std::mutex> lock(mutex_);
  return std::exchange(kept_, {});
}
