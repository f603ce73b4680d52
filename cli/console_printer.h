// Prints on a thread of its own, in the order the jobs were handed over, so that formatting and
// writing the lines of one file overlap the processing of the next. A job is started at once
// when it is large; small ones are gathered and printed at least every 50 ms, which spares the
// worker a thread switch for every file.
#pragma once

#include <condition_variable>
#include <cstddef>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>

class ConsolePrinter {
 public:
  // onStart runs first on the printer's thread.
  explicit ConsolePrinter(std::function<void()> onStart);
  // Prints what is left, then ends the thread.
  ~ConsolePrinter();
  ConsolePrinter(const ConsolePrinter&) = delete;
  ConsolePrinter& operator=(const ConsolePrinter&) = delete;

  // Hands a job over; `weight` is about how many lines it prints.
  void Post(std::function<void()> job, size_t weight);
  // Returns once every job handed over is done.
  void Drain();

 private:
  void Run();

  std::function<void()> onStart_;
  std::mutex mutex_;
  std::condition_variable wake_;
  std::condition_variable done_;
  std::deque<std::function<void()>> jobs_;
  size_t waitingWeight_ = 0;
  bool busy_ = false;
  bool drainRequested_ = false;
  bool ending_ = false;
  std::thread thread_;
};
