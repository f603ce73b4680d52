// The console of the running program: standard output held back in a buffer, standard error
// direct, answers read from standard input, and Ctrl+C turned into a stop of the run. The
// buffering is shared; the rest is in cli/posix/ and cli/win32/.
#pragma once

#include <atomic>
#include <mutex>
#include <string>

#include "cli/console.h"

class TerminalConsole : public Console {
 public:
  // Installs the handlers of Ctrl+C and its kin; one instance per process.
  TerminalConsole();
  ~TerminalConsole() override;
  TerminalConsole(const TerminalConsole&) = delete;
  TerminalConsole& operator=(const TerminalConsole&) = delete;

  void Write(ConsoleStream stream, std::string_view utf8) override;
  void Flush() override;
  bool InputIsTerminal() const override;
  bool OutputShowsColor() const override;
  bool ReadLine(std::string& line) override;
  // Also true once standard output has been closed by its reader, so the run stops cleanly.
  bool Interrupted() const override;
  void OnHelperThread() override;

 private:
  // The platform's part: writes all of the text to a stream; false when it cannot take it.
  static bool WriteAll(ConsoleStream stream, std::string_view utf8);
  // Whether Ctrl+C (or, on POSIX, SIGTERM or SIGHUP) arrived.
  static bool InterruptRequested();

  void FlushLocked();

  std::mutex mutex_;  // writers may be on several threads
  std::string pending_;
  std::atomic<bool> outputClosed_{false};
};
