#include "cli/terminal_console.h"

namespace {

constexpr size_t kFlushSize = 64 * 1024;

}  // namespace

void TerminalConsole::Write(ConsoleStream stream, std::string_view utf8) {
  if (stream == ConsoleStream::Out) {
    if (pending_.empty() && utf8.size() >= kFlushSize) {
      // A large piece goes out as it is, without a copy.
      if (!outputClosed_.load() && !WriteAll(ConsoleStream::Out, utf8))
        outputClosed_.store(true);
      return;
    }
    pending_.append(utf8);
    if (pending_.size() >= kFlushSize)
      Flush();
    return;
  }
  Flush();
  WriteAll(ConsoleStream::Err, utf8);
}

void TerminalConsole::Flush() {
  if (pending_.empty())
    return;
  if (!outputClosed_.load() && !WriteAll(ConsoleStream::Out, pending_))
    outputClosed_.store(true);
  pending_.clear();
}

bool TerminalConsole::Interrupted() const {
  return InterruptRequested() || outputClosed_.load();
}
