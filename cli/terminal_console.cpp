#include "cli/terminal_console.h"

namespace {

// Standard output is written in pieces of this size, or every 100 ms.
constexpr size_t kFlushSize = 256 * 1024;

}  // namespace

void TerminalConsole::Write(ConsoleStream stream, std::string_view utf8) {
  std::lock_guard lock(mutex_);
  if (stream == ConsoleStream::Out) {
    if (utf8.size() >= kFlushSize) {
      // A large piece goes out as it is, after what came before, without a copy.
      FlushLocked();
      if (!outputClosed_.load() && !WriteAll(ConsoleStream::Out, utf8))
        outputClosed_.store(true);
      return;
    }
    pending_.append(utf8);
    if (pending_.size() >= kFlushSize)
      FlushLocked();
    return;
  }
  FlushLocked();
  WriteAll(ConsoleStream::Err, utf8);
}

void TerminalConsole::Flush() {
  std::lock_guard lock(mutex_);
  FlushLocked();
}

void TerminalConsole::FlushLocked() {
  if (pending_.empty())
    return;
  if (!outputClosed_.load() && !WriteAll(ConsoleStream::Out, pending_))
    outputClosed_.store(true);
  pending_.clear();
}

bool TerminalConsole::Interrupted() const {
  return InterruptRequested() || outputClosed_.load();
}
