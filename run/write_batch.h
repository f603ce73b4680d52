// The changed files of a run with backups, written a batch at a time: the batch's backups are
// staged, made durable with one flush of the data and one of the journal, and only then is each
// file written. Every result the worker sends while a write waits queues behind it, so the
// window gets them in walk order, each written file's as it would without batching.
#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>

#include "processing/content_file.h"
#include "run/record/file_result.h"
#include "run/record/run_channel.h"

class BackupStore;

class WriteBatch {
 public:
  // A batch is written when it holds this many files or bytes (original and changed), or when
  // its first write has waited this long.
  static constexpr std::size_t kMaxFiles = 64;
  static constexpr std::uint64_t kMaxBytes = std::uint64_t{32} << 20;
  static constexpr std::chrono::milliseconds kMaxWait{200};

  // Where results go once their turn comes, and whether the run was stopped.
  struct Sink {
    std::function<void(ResultMessage)> deliver;
    std::function<bool()> stopRequested;
  };

  // `maxListed`: the run's file limit, 0 for none; a batch never holds changes beyond it.
  WriteBatch(BackupStore& store, Sink sink, std::int32_t maxListed)
      : store_(store), sink_(std::move(sink)), maxListed_(maxListed > 0 ? maxListed : 0) {}

  // Whether a write waits: then every result queues.
  bool Waiting() const { return !queue_.empty(); }
  // A changed file whose staged backup is not yet durable: the message is sent once it is
  // written, with the outcome of the write.
  void QueueWrite(ResultMessage message, std::unique_ptr<ContentFile> write);
  // Sends the message now, or behind the waiting writes.
  void Send(ResultMessage message);
  // Writes the batch when its time is up.
  void WriteWhenDue();
  // Makes the batch's backups durable, writes its files and sends every queued message in
  // order. After a stop nothing more is written or sent: the rest is given up, unchanged.
  void WriteAll();

 private:
  struct Queued {
    ResultMessage message;
    std::unique_ptr<ContentFile> write;
  };
  void Deliver(ResultMessage message);
  bool AtLimit() const { return maxListed_ > 0 && sentListed_ + queuedListed_ >= maxListed_; }

  BackupStore& store_;
  Sink sink_;
  std::int32_t maxListed_;
  // Rows the window lists: sent, and queued.
  std::int32_t sentListed_ = 0;
  std::int32_t queuedListed_ = 0;
  std::deque<Queued> queue_;
  std::size_t writes_ = 0;
  std::uint64_t bytes_ = 0;
  std::chrono::steady_clock::time_point firstWrite_;
};
