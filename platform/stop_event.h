// The stop signal of a run: set by the window, tested by the worker without waiting.
#pragma once

#include <memory>

namespace platform {

class StopEvent {
 public:
  // A manual-reset event, created not signalled.
  StopEvent();
  ~StopEvent();
  StopEvent(const StopEvent&) = delete;
  StopEvent& operator=(const StopEvent&) = delete;

  void Set();
  void Reset();
  // Tests the event with a time-out of 0.
  bool IsSet() const;

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

}  // namespace platform
