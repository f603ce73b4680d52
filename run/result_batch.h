// Result messages that the worker leaves for the window to take a batch at a time, instead of
// waiting for the window once per file. Only what cannot change the course of the run waits in
// the batch: a result that may reach the list's file limit (after which the run stops at once),
// the completion message and every question go to the window at once, after the batch.
#pragma once

#include <cstdint>
#include <mutex>
#include <vector>

#include "run/record/run_channel.h"

class ResultBatch {
 public:
  // At the start of a run, before the worker starts: the list's file limit (0 or less: none).
  void Start(std::int32_t listLimit);
  // Worker: keeps the message and returns true, or returns false and leaves it with the caller,
  // which then hands the batch over before the message.
  bool Offer(ResultMessage& message);
  // Window: the kept messages, in the order they came.
  std::vector<ResultMessage> Take();

 private:
  std::mutex mutex_;
  std::vector<ResultMessage> kept_;
  std::int32_t limit_ = 0;
  // Results with matches offered so far, kept or not.
  std::int64_t listed_ = 0;
};
