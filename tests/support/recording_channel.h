// A run channel for tests: keeps every result message and every question (its position and the
// change it showed) and answers the questions from a script, on the calling thread.
#pragma once

#include <atomic>
#include <cstdint>
#include <deque>
#include <utility>
#include <vector>

#include "run/record/run_channel.h"

class RecordingChannel : public RunChannel {
 public:
  // `answers` answer the first questions, `afterScript` every later one.
  explicit RecordingChannel(std::vector<ConfirmAnswer> script = {},
                            ConfirmAnswer afterScript = ConfirmAnswer::Yes)
      : answers(script.begin(), script.end()), afterScript(afterScript) {}

  void SendResult(ResultMessage message) override { results.push_back(std::move(message)); }
  ConfirmAnswer SendConfirmation(const CFileResult::replace_info& position,
                                 const CFileResult& file) override {
    asked.push_back(position);
    if (file.askedChange)
      changes.push_back(*file.askedChange);
    ++questions;
    if (answers.empty())
      return afterScript;
    const ConfirmAnswer answer = answers.front();
    answers.pop_front();
    return answer;
  }

  // The character positions of the questions, in order.
  std::vector<std::int64_t> AskedCharacters() const {
    std::vector<std::int64_t> characters;
    for (const auto& position : asked)
      characters.push_back(position.character);
    return characters;
  }
  // The questions' positions as (line, character) pairs, in order.
  std::vector<std::pair<std::int64_t, std::int64_t>> AskedPairs() const {
    std::vector<std::pair<std::int64_t, std::int64_t>> pairs;
    for (const auto& position : asked)
      pairs.emplace_back(position.line, position.character);
    return pairs;
  }

  std::vector<ResultMessage> results;
  std::vector<CFileResult::replace_info> asked;
  std::vector<ChangeLines> changes;  // of the questions that showed one
  std::deque<ConfirmAnswer> answers;
  ConfirmAnswer afterScript;
  std::atomic<int> questions{0};  // read by a test thread while the processing asks
};
