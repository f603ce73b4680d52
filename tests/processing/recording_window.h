// A window for file processing tests: keeps every result message and answers confirmation
// requests from a script, on the test's own thread.
#pragma once

#include <deque>
#include <vector>

#include "run/record/run_channel.h"

class RecordingWindow : public RunChannel {
 public:
  void SendResult(ResultMessage message) override { results.push_back(std::move(message)); }
  ConfirmAnswer SendConfirmation(const CFileResult::replace_info& position,
                                 const CFileResult&) override {
    asked.push_back(position.character);
    if (answers.empty())
      return ConfirmAnswer::Yes;
    const ConfirmAnswer answer = answers.front();
    answers.pop_front();
    return answer;
  }

  std::vector<ResultMessage> results;
  // The character positions of the questions, in order.
  std::vector<std::int64_t> asked;
  // The next answers; Yes once they run out.
  std::deque<ConfirmAnswer> answers;
};
