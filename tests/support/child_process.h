// A program of the build started as a child process, spoken to through its standard streams as a
// user or a script would: arguments, standard input, environment, output, exit status, Ctrl+C.
#pragma once

#include <chrono>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

enum class ChildStream { Out, Err };

struct ChildOptions {
  // Standard input: these bytes, then its end. In terminal mode they are typed at the terminal,
  // which stays open for Type.
  std::string input;
  // Added to the inherited environment as "NAME=value" (UTF-8); a name already set is replaced.
  std::vector<std::string> environment;
  // POSIX only: standard input and standard error on a pseudo-terminal without echo or output
  // processing (the error stream then holds what the program wrote there); standard output stays
  // a pipe.
  bool terminal = false;
};

class ChildProcess {
 public:
  using Duration = std::chrono::milliseconds;
  static constexpr Duration kTimeout{60000};

  ChildProcess();
  // Kills a child that is still running.
  ~ChildProcess();
  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;

  // Starts the program with the arguments (UTF-8; natively passed on byte for byte); false when
  // it could not be started.
  bool Start(const std::u16string& program, const std::vector<std::string>& arguments,
             const ChildOptions& options = {});

  // Waits until the stream holds `text` after the end of the text last waited for on it, and
  // moves past it; false when the stream ended without it or the time ran out.
  bool WaitFor(ChildStream stream, std::string_view text, Duration timeout = kTimeout);
  // Types at the terminal (terminal mode only).
  bool Type(std::string_view bytes);
  // Ctrl+C: SIGINT natively, CTRL_BREAK_EVENT to the child's process group on Windows; false
  // when it could not be sent.
  bool Interrupt();
  // Waits for the end of the child and of its output; on time-out kills it and returns false.
  bool Wait(Duration timeout = kTimeout);

  // After Wait: the exit status; natively minus the signal number for a child a signal ended, so
  // that it differs from an exit status of 128 + the signal number. -1 before the end.
  int exitStatus() const;
  // The output so far.
  std::string out() const;
  std::string err() const;

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

struct ChildResult {
  bool finished = false;  // started and ended in time
  int exitStatus = -1;
  std::string out;
  std::string err;
};

// Starts the program, waits for its end and collects its output.
inline ChildResult RunChild(const std::u16string& program,
                            const std::vector<std::string>& arguments,
                            const ChildOptions& options = {},
                            ChildProcess::Duration timeout = ChildProcess::kTimeout) {
  ChildProcess child;
  ChildResult result;
  result.finished = child.Start(program, arguments, options) && child.Wait(timeout);
  result.exitStatus = result.finished ? child.exitStatus() : -1;
  result.out = child.out();
  result.err = child.err();
  return result;
}
