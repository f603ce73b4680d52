#include "cli/terminal_console.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <string_view>

namespace {

constexpr int kAnswerPollMilliseconds = 100;
// Standard output through a pipe gets a buffer this large where the system allows, so that a
// reader is woken once per buffered piece rather than every 64 KB.
constexpr int kPipeSize = 1 << 20;
constexpr int kStopSignals[] = {SIGINT, SIGTERM, SIGHUP};

std::atomic<bool> interrupted{false};

void OnStopSignal(int) {
  interrupted.store(true);
}

}  // namespace

// Writes everything, retrying after signals; false when the reader has gone.
bool TerminalConsole::WriteAll(ConsoleStream stream, std::string_view bytes) {
  const int descriptor = stream == ConsoleStream::Out ? STDOUT_FILENO : STDERR_FILENO;
  while (!bytes.empty()) {
    const ssize_t written = write(descriptor, bytes.data(), bytes.size());
    if (written < 0) {
      if (errno == EINTR)
        continue;
      return false;
    }
    bytes.remove_prefix(static_cast<size_t>(written));
  }
  return true;
}

TerminalConsole::TerminalConsole() {
  struct sigaction action {};
  action.sa_handler = OnStopSignal;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  for (int signal : kStopSignals)
    sigaction(signal, &action, nullptr);
  // A closed pipe must not kill the process while a file is being written.
  std::signal(SIGPIPE, SIG_IGN);
  struct stat output {};
  if (fstat(STDOUT_FILENO, &output) == 0 && S_ISFIFO(output.st_mode))
    fcntl(STDOUT_FILENO, F_SETPIPE_SZ, kPipeSize);
}

TerminalConsole::~TerminalConsole() {
  Flush();
}

bool TerminalConsole::InputIsTerminal() const {
  return isatty(STDIN_FILENO) == 1;
}

bool TerminalConsole::OutputShowsColor() const {
  const char* term = std::getenv("TERM");
  return isatty(STDOUT_FILENO) == 1 && !(term && std::string_view(term) == "dumb");
}

bool TerminalConsole::ReadLine(std::string& line) {
  line.clear();
  // The signal may arrive on another thread, so the wait looks at the flag regularly.
  pollfd input{STDIN_FILENO, POLLIN, 0};
  while (!interrupted.load()) {
    const int ready = poll(&input, 1, kAnswerPollMilliseconds);
    if (ready == 0 || (ready < 0 && errno == EINTR))
      continue;
    char c = 0;
    const ssize_t got = ready < 0 ? -1 : read(STDIN_FILENO, &c, 1);
    if (got < 0 && errno == EINTR)
      continue;
    if (got <= 0)
      return got == 0 && !line.empty();
    if (c == '\n')
      return true;
    if (c != '\r')
      line.push_back(c);
  }
  return false;
}

void TerminalConsole::OnHelperThread() {
  // The stop signals go to the threads that look for them between their waits.
  sigset_t signals;
  sigemptyset(&signals);
  for (int signal : kStopSignals)
    sigaddset(&signals, signal);
  pthread_sigmask(SIG_BLOCK, &signals, nullptr);
}

bool TerminalConsole::InterruptRequested() {
  return interrupted.load();
}
