#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <csignal>

#include "tests/support/child_process.h"
#include "text/utf8.h"

extern char** environ;

namespace {

using Clock = std::chrono::steady_clock;

void CloseDescriptor(int& descriptor) {
  if (descriptor >= 0)
    close(descriptor);
  descriptor = -1;
}

std::string NameOf(std::string_view entry) {
  return std::string(entry.substr(0, entry.find('=')));
}

// The parent's environment with the additions; a name set again takes the added value.
std::vector<std::string> Environment(const std::vector<std::string>& additions) {
  std::vector<std::string> entries;
  for (char** entry = environ; *entry; ++entry) {
    const std::string name = NameOf(*entry);
    bool replaced = false;
    for (const std::string& addition : additions)
      replaced = replaced || NameOf(addition) == name;
    if (!replaced)
      entries.emplace_back(*entry);
  }
  entries.insert(entries.end(), additions.begin(), additions.end());
  return entries;
}

std::vector<char*> Pointers(std::vector<std::string>& strings) {
  std::vector<char*> pointers;
  for (std::string& text : strings)
    pointers.push_back(text.data());
  pointers.push_back(nullptr);
  return pointers;
}

// The child's end of a pseudo-terminal: lines still edited and ended by Enter, but nothing echoed
// and output bytes left as written.
bool ConfigureTerminal(int terminal) {
  termios settings{};
  if (tcgetattr(terminal, &settings) != 0)
    return false;
  settings.c_lflag &= ~static_cast<tcflag_t>(ECHO | ECHONL);
  settings.c_oflag &= ~static_cast<tcflag_t>(OPOST);
  return tcsetattr(terminal, TCSANOW, &settings) == 0;
}

}  // namespace

struct ChildProcess::Impl {
  pid_t pid = -1;
  bool reaped = false;
  int status = 0;
  // The parent's ends: standard input (a pipe, or the terminal's master side) and the outputs.
  int input = -1;
  int out = -1;
  int err = -1;
  bool terminal = false;
  std::string pendingInput;
  std::string outText;
  std::string errText;
  size_t outCursor = 0;
  size_t errCursor = 0;

  ~Impl() {
    if (pid > 0 && !reaped) {
      kill(pid, SIGKILL);
      waitpid(pid, &status, 0);
    }
    if (input != err)
      CloseDescriptor(input);
    CloseDescriptor(out);
    CloseDescriptor(err);
  }

  bool OutputOpen() const { return out >= 0 || err >= 0; }

  // Reads what is there; false at the end of the stream. A terminal's master side reports the end
  // as EIO once the child and every copy of its side are gone.
  static bool Drain(int descriptor, std::string& text) {
    char buffer[65536];
    const ssize_t got = read(descriptor, buffer, sizeof buffer);
    if (got > 0) {
      text.append(buffer, static_cast<size_t>(got));
      return true;
    }
    if (got < 0 && (errno == EINTR || errno == EAGAIN))
      return true;
    return false;
  }

  // Moves output and pending input for up to `wait`; returns at the first event.
  void Pump(Duration wait) {
    pollfd fds[3];
    nfds_t count = 0;
    if (out >= 0)
      fds[count++] = {out, POLLIN, 0};
    if (err >= 0)
      fds[count++] = {err, POLLIN, 0};
    const bool writing = input >= 0 && !pendingInput.empty();
    if (writing && input != err)
      fds[count++] = {input, POLLOUT, 0};
    if (count == 0) {
      usleep(static_cast<useconds_t>(std::min(wait, Duration(5)).count() * 1000));
      return;
    }
    if (poll(fds, count, static_cast<int>(wait.count())) <= 0)
      return;
    for (nfds_t i = 0; i < count; ++i) {
      const int descriptor = fds[i].fd;
      if (fds[i].revents == 0)
        continue;
      if (descriptor == out) {
        if (!Drain(out, outText))
          CloseDescriptor(out);
      } else if (descriptor == err) {
        if (!Drain(err, errText)) {
          if (input == err)
            input = -1;
          CloseDescriptor(err);
        }
      } else if (descriptor == input) {
        WritePending();
      }
    }
    if (writing && input >= 0 && input == err)
      WritePending();
  }

  void WritePending() {
    const ssize_t written = write(input, pendingInput.data(), pendingInput.size());
    if (written > 0)
      pendingInput.erase(0, static_cast<size_t>(written));
    else if (written < 0 && errno != EINTR && errno != EAGAIN)
      pendingInput.clear();
    // A pipe ends once its bytes are written; the terminal stays open for more.
    if (pendingInput.empty() && !terminal)
      CloseDescriptor(input);
  }

  void Reap(bool block) {
    if (pid <= 0 || reaped)
      return;
    pid_t done = 0;
    do {
      done = waitpid(pid, &status, block ? 0 : WNOHANG);
    } while (done < 0 && errno == EINTR);
    reaped = done == pid || done < 0;
  }
};

ChildProcess::ChildProcess() : impl_(std::make_unique<Impl>()) {}

ChildProcess::~ChildProcess() = default;

bool ChildProcess::Start(const std::u16string& program, const std::vector<std::string>& arguments,
                         const ChildOptions& options) {
  impl_ = std::make_unique<Impl>();
  Impl& impl = *impl_;
  // Input written after the child has gone must fail with EPIPE, not end the tests.
  std::signal(SIGPIPE, SIG_IGN);
  int outPipe[2] = {-1, -1};
  int errPipe[2] = {-1, -1};
  int inPipe[2] = {-1, -1};
  int master = -1;
  int slave = -1;
  auto closeAll = [&] {
    for (int* descriptor : {&outPipe[0], &outPipe[1], &errPipe[0], &errPipe[1], &inPipe[0],
                            &inPipe[1], &master, &slave})
      CloseDescriptor(*descriptor);
  };
  bool ready = pipe2(outPipe, O_CLOEXEC) == 0;
  if (options.terminal) {
    ready = ready && openpty(&master, &slave, nullptr, nullptr, nullptr) == 0 &&
            fcntl(master, F_SETFD, FD_CLOEXEC) == 0 && fcntl(slave, F_SETFD, FD_CLOEXEC) == 0 &&
            ConfigureTerminal(slave);
  } else {
    ready = ready && pipe2(errPipe, O_CLOEXEC) == 0 && pipe2(inPipe, O_CLOEXEC) == 0;
  }
  if (!ready) {
    closeAll();
    return false;
  }

  const int childInput = options.terminal ? slave : inPipe[0];
  const int childError = options.terminal ? slave : errPipe[1];
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, childInput, STDIN_FILENO);
  posix_spawn_file_actions_adddup2(&actions, outPipe[1], STDOUT_FILENO);
  posix_spawn_file_actions_adddup2(&actions, childError, STDERR_FILENO);
  // The child starts with the default reaction to the signals a test checks and none blocked.
  posix_spawnattr_t attributes;
  posix_spawnattr_init(&attributes);
  sigset_t defaults;
  sigemptyset(&defaults);
  for (int signal : {SIGINT, SIGTERM, SIGHUP, SIGPIPE})
    sigaddset(&defaults, signal);
  sigset_t none;
  sigemptyset(&none);
  posix_spawnattr_setsigdefault(&attributes, &defaults);
  posix_spawnattr_setsigmask(&attributes, &none);
  posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGDEF | POSIX_SPAWN_SETSIGMASK);

  std::string path = Utf16ToUtf8(program);
  std::vector<std::string> argv{path};
  argv.insert(argv.end(), arguments.begin(), arguments.end());
  std::vector<std::string> environment = Environment(options.environment);
  const int spawned = posix_spawn(&impl.pid, path.c_str(), &actions, &attributes,
                                  Pointers(argv).data(), Pointers(environment).data());
  posix_spawn_file_actions_destroy(&actions);
  posix_spawnattr_destroy(&attributes);
  if (spawned != 0) {
    impl.pid = -1;
    closeAll();
    return false;
  }

  // Keep the parent's ends only, so that the outputs end when the child does.
  impl.terminal = options.terminal;
  impl.out = outPipe[0];
  outPipe[0] = -1;
  if (options.terminal) {
    impl.err = impl.input = master;
    master = -1;
  } else {
    impl.err = errPipe[0];
    impl.input = inPipe[1];
    errPipe[0] = inPipe[1] = -1;
  }
  closeAll();
  fcntl(impl.input, F_SETFL, fcntl(impl.input, F_GETFL) | O_NONBLOCK);
  impl.pendingInput = options.input;
  if (!options.terminal && impl.pendingInput.empty())
    CloseDescriptor(impl.input);
  return true;
}

bool ChildProcess::WaitFor(ChildStream stream, std::string_view text, Duration timeout) {
  Impl& impl = *impl_;
  const auto deadline = Clock::now() + timeout;
  while (true) {
    std::string& buffer = stream == ChildStream::Out ? impl.outText : impl.errText;
    size_t& cursor = stream == ChildStream::Out ? impl.outCursor : impl.errCursor;
    const size_t found = buffer.find(text, cursor);
    if (found != std::string::npos) {
      cursor = found + text.size();
      return true;
    }
    const int descriptor = stream == ChildStream::Out ? impl.out : impl.err;
    const auto now = Clock::now();
    if (descriptor < 0 || now >= deadline)
      return false;
    impl.Pump(std::chrono::duration_cast<Duration>(deadline - now) + Duration(1));
  }
}

bool ChildProcess::Type(std::string_view bytes) {
  Impl& impl = *impl_;
  if (!impl.terminal || impl.input < 0)
    return false;
  impl.pendingInput.append(bytes);
  impl.WritePending();
  return true;
}

bool ChildProcess::Interrupt() {
  return impl_->pid > 0 && !impl_->reaped && kill(impl_->pid, SIGINT) == 0;
}

bool ChildProcess::Wait(Duration timeout) {
  Impl& impl = *impl_;
  if (impl.pid <= 0)
    return false;
  const auto deadline = Clock::now() + timeout;
  while (!impl.reaped || impl.OutputOpen()) {
    const auto now = Clock::now();
    if (now >= deadline) {
      if (!impl.reaped) {
        kill(impl.pid, SIGKILL);
        impl.Reap(true);
      }
      impl.status = -1;
      return false;
    }
    impl.Pump(std::min(Duration(20), std::chrono::duration_cast<Duration>(deadline - now)));
    impl.Reap(false);
  }
  return true;
}

int ChildProcess::exitStatus() const {
  const int status = impl_->status;
  if (!impl_->reaped || status < 0)
    return -1;
  if (WIFEXITED(status))
    return WEXITSTATUS(status);
  return WIFSIGNALED(status) ? -WTERMSIG(status) : -1;
}

std::string ChildProcess::out() const {
  return impl_->outText;
}

std::string ChildProcess::err() const {
  return impl_->errText;
}
