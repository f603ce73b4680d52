// Files processed ahead of the worker on a thread of their own, for runs that change nothing:
// the worker queues each file the walk finds and takes the outcomes back in the same order, so
// that it alone reports them, as it would have processed them itself.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>

#include "processing/file_outcome.h"
#include "run/record/file_result.h"

class ReadAhead {
 public:
  // Processes one file on the helper thread; must not throw.
  using Process = std::function<FileOutcome(CFileResult& entry)>;

  struct Done {
    std::unique_ptr<CFileResult> entry;
    FileOutcome outcome;
  };

  // At most this many files are queued, and files of at most this many listed bytes together
  // (a larger one goes alone).
  static constexpr size_t kMaxFiles = 64;
  static constexpr std::uint64_t kMaxBytes = std::uint64_t{32} << 20;

  // Starts the helper thread.
  explicit ReadAhead(Process process);
  // Drops what is queued and waits for the helper thread to end.
  ~ReadAhead();
  ReadAhead(const ReadAhead&) = delete;
  ReadAhead& operator=(const ReadAhead&) = delete;

  // Whether one more file of this listed size fits in the queue now.
  bool HasRoom(std::uint64_t size) const;
  void Push(std::unique_ptr<CFileResult> entry);
  // Whether the helper has a few files waiting that it has not taken up: then the worker does
  // the next one itself and queues it done (PushDone), in its place in the order.
  bool Behind() const;
  void PushDone(std::unique_ptr<CFileResult> entry, FileOutcome outcome);
  bool empty() const;
  // Takes the oldest file's outcome into `done`: once it is ready when `wait`, else only if it
  // is ready already. False when there is none to take.
  bool TakeOldest(bool wait, Done& done);
  // Drops every queued file, once the helper is done with the one it holds.
  void Clear();

 private:
  struct Slot {
    std::unique_ptr<CFileResult> entry;
    FileOutcome outcome;
    bool ready = false;
  };
  void Run();
  // Worker: waits until the condition holds, waking an idle helper first.
  template <typename Condition>
  void WaitFor(std::unique_lock<std::mutex>& lock, Condition condition);

  // Files queued before an idle helper is woken.
  static constexpr size_t kWakeBatch = 8;

  Process process_;
  mutable std::mutex mutex_;
  std::condition_variable work_;   // for the helper
  std::condition_variable ready_;  // for the worker
  std::deque<Slot> slots_;
  size_t started_ = 0;  // slots the helper has taken up or passed over, from the front
  std::uint64_t bytes_ = 0;
  bool busy_ = false;
  bool helperIdle_ = false;
  bool workerWaiting_ = false;
  bool clearing_ = false;  // no further slot is taken up
  bool ending_ = false;
  std::thread thread_;
};
