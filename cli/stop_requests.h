// Stops asked of the run from outside it. Ctrl+C only asks. When the console closes or the
// session ends, the system ends the process as soon as the one who was told returns, so that one
// waits until the run is over and the file in hand is finished.
#pragma once

#include <atomic>

class StopRequests {
 public:
  // Ctrl+C or Ctrl+Break: asks the run to stop; returns at once.
  void Interrupt() { interrupted_.store(true); }
  // The console closing, logoff or shutdown: asks the run to stop and returns once RunOver has
  // been called.
  void EndAndWait() {
    Interrupt();
    over_.wait(false);
  }
  // The program is done with its run (or never started one).
  void RunOver() {
    over_.store(true);
    over_.notify_all();
  }
  bool Interrupted() const { return interrupted_.load(); }

 private:
  // Plain atomics: nothing to destroy while a waiting thread still sees them at process exit.
  std::atomic<bool> interrupted_{false};
  std::atomic<bool> over_{false};
};
