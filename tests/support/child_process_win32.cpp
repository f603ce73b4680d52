#include <windows.h>

#include <condition_variable>
#include <mutex>
#include <thread>

#include "platform/win32/wide.h"
#include "tests/support/child_process.h"
#include "text/utf8.h"

namespace {

using Clock = std::chrono::steady_clock;

std::u16string FromUtf8(std::string_view utf8) {
  std::u16string text;
  Utf8ToUtf16(utf8, text);
  return text;
}

// One argument as CommandLineToArgvW reads it back: quoted when it is empty or holds blanks or
// quotes; a quote is escaped, and so are the backslashes in front of a quote or the closing one.
std::u16string Quoted(const std::u16string& argument) {
  if (!argument.empty() && argument.find_first_of(u" \t\n\v\"") == std::u16string::npos)
    return argument;
  std::u16string quoted = u"\"";
  size_t backslashes = 0;
  for (char16_t c : argument) {
    if (c == u'\\') {
      ++backslashes;
      continue;
    }
    quoted.append(c == u'"' ? backslashes * 2 + 1 : backslashes, u'\\');
    backslashes = 0;
    quoted += c;
  }
  quoted.append(backslashes * 2, u'\\');
  quoted += u'"';
  return quoted;
}

std::u16string NameOf(std::u16string_view entry) {
  // A leading '=' belongs to the name (the hidden per-drive folders).
  const size_t equals = entry.find(u'=', 1);
  return std::u16string(entry.substr(0, equals));
}

bool SameName(const std::u16string& a, const std::u16string& b) {
  return CompareStringOrdinal(platform::Wide(a), static_cast<int>(a.size()), platform::Wide(b),
                              static_cast<int>(b.size()), TRUE) == CSTR_EQUAL;
}

// The parent's environment with the additions, as a block of zero-ended entries.
std::u16string EnvironmentBlock(const std::vector<std::string>& additions) {
  std::vector<std::u16string> added;
  for (const std::string& addition : additions)
    added.push_back(FromUtf8(addition));
  std::u16string block;
  if (wchar_t* strings = GetEnvironmentStringsW()) {
    for (const wchar_t* entry = strings; *entry; entry += wcslen(entry) + 1) {
      const std::u16string text = platform::FromWide(entry);
      bool replaced = false;
      for (const std::u16string& addition : added)
        replaced = replaced || SameName(NameOf(addition), NameOf(text));
      if (!replaced)
        block += text + u'\0';
    }
    FreeEnvironmentStringsW(strings);
  }
  for (const std::u16string& addition : added)
    block += addition + u'\0';
  block += u'\0';
  return block;
}

// A pipe whose parent end is not inherited.
bool MakePipe(HANDLE& read, HANDLE& write, bool parentReads) {
  SECURITY_ATTRIBUTES security{sizeof security, nullptr, TRUE};
  if (!CreatePipe(&read, &write, &security, 0))
    return false;
  SetHandleInformation(parentReads ? read : write, HANDLE_FLAG_INHERIT, 0);
  return true;
}

void CloseIfOpen(HANDLE& handle) {
  if (handle)
    CloseHandle(handle);
  handle = nullptr;
}

}  // namespace

struct ChildProcess::Impl {
  struct Output {
    HANDLE pipe = nullptr;
    std::string text;
    size_t cursor = 0;
    bool ended = false;
    std::thread reader;
  };

  PROCESS_INFORMATION process{};
  bool exited = false;
  bool killed = false;  // ended by the time-out
  DWORD exitCode = 0;
  std::mutex mutex;
  std::condition_variable changed;
  Output outputs[2];
  std::thread writer;

  ~Impl() {
    if (process.hProcess && !exited) {
      TerminateProcess(process.hProcess, 1);
      WaitForSingleObject(process.hProcess, INFINITE);
    }
    JoinAll();
    CloseIfOpen(process.hThread);
    CloseIfOpen(process.hProcess);
  }

  Output& Of(ChildStream stream) { return outputs[stream == ChildStream::Out ? 0 : 1]; }

  void Read(Output& output) {
    char buffer[65536];
    DWORD got = 0;
    while (ReadFile(output.pipe, buffer, sizeof buffer, &got, nullptr) && got > 0) {
      std::lock_guard lock(mutex);
      output.text.append(buffer, got);
      changed.notify_all();
    }
    std::lock_guard lock(mutex);
    output.ended = true;
    changed.notify_all();
  }

  // The outputs end once the child and every copy of its pipe ends are gone.
  void JoinAll() {
    for (Output& output : outputs) {
      if (output.reader.joinable())
        output.reader.join();
      CloseIfOpen(output.pipe);
    }
    if (writer.joinable())
      writer.join();
  }
};

ChildProcess::ChildProcess() : impl_(std::make_unique<Impl>()) {}

ChildProcess::~ChildProcess() = default;

bool ChildProcess::Start(const std::u16string& program, const std::vector<std::string>& arguments,
                         const ChildOptions& options) {
  impl_ = std::make_unique<Impl>();
  if (options.terminal)
    return false;
  Impl& impl = *impl_;
  HANDLE outRead = nullptr, outWrite = nullptr, errRead = nullptr, errWrite = nullptr;
  HANDLE inRead = nullptr, inWrite = nullptr;
  auto closeAll = [&] {
    for (HANDLE* handle : {&outRead, &outWrite, &errRead, &errWrite, &inRead, &inWrite})
      CloseIfOpen(*handle);
  };
  if (!MakePipe(outRead, outWrite, true) || !MakePipe(errRead, errWrite, true) ||
      !MakePipe(inRead, inWrite, false)) {
    closeAll();
    return false;
  }

  std::u16string commandLine = u"\"" + program + u"\"";
  for (const std::string& argument : arguments)
    commandLine += u" " + Quoted(FromUtf8(argument));
  std::u16string environment = EnvironmentBlock(options.environment);
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdInput = inRead;
  startup.hStdOutput = outWrite;
  startup.hStdError = errWrite;
  // Its own process group, so that Ctrl+Break can be sent to the child alone.
  const DWORD flags = CREATE_UNICODE_ENVIRONMENT | CREATE_NEW_PROCESS_GROUP;
  if (!CreateProcessW(platform::Wide(program), platform::Wide(commandLine.data()), nullptr, nullptr,
                      TRUE, flags, environment.data(), nullptr, &startup, &impl.process)) {
    impl.process = {};
    closeAll();
    return false;
  }
  // Only the child keeps its ends, so that the outputs end with it.
  CloseIfOpen(outWrite);
  CloseIfOpen(errWrite);
  CloseIfOpen(inRead);
  impl.outputs[0].pipe = outRead;
  impl.outputs[1].pipe = errRead;
  for (Impl::Output& output : impl.outputs)
    output.reader = std::thread([&impl, &output] { impl.Read(output); });
  impl.writer = std::thread([input = options.input, inWrite] {
    DWORD written = 0;
    for (size_t done = 0; done < input.size(); done += written) {
      if (!WriteFile(inWrite, input.data() + done, static_cast<DWORD>(input.size() - done),
                     &written, nullptr))
        break;
    }
    CloseHandle(inWrite);
  });
  return true;
}

bool ChildProcess::WaitFor(ChildStream stream, std::string_view text, Duration timeout) {
  Impl& impl = *impl_;
  Impl::Output& output = impl.Of(stream);
  std::unique_lock lock(impl.mutex);
  size_t found = std::string::npos;
  impl.changed.wait_until(lock, Clock::now() + timeout, [&] {
    found = output.text.find(text, output.cursor);
    return found != std::string::npos || output.ended;
  });
  if (found == std::string::npos)
    return false;
  output.cursor = found + text.size();
  return true;
}

bool ChildProcess::Type(std::string_view) {
  return false;
}

bool ChildProcess::Interrupt() {
  Impl& impl = *impl_;
  return impl.process.hProcess && !impl.exited &&
         GenerateConsoleCtrlEvent(CTRL_BREAK_EVENT, impl.process.dwProcessId);
}

bool ChildProcess::Wait(Duration timeout) {
  Impl& impl = *impl_;
  if (!impl.process.hProcess)
    return false;
  const bool ended = WaitForSingleObject(impl.process.hProcess,
                                         static_cast<DWORD>(timeout.count())) == WAIT_OBJECT_0;
  if (!ended) {
    TerminateProcess(impl.process.hProcess, 1);
    WaitForSingleObject(impl.process.hProcess, INFINITE);
  }
  impl.exited = true;
  impl.killed = !ended;
  GetExitCodeProcess(impl.process.hProcess, &impl.exitCode);
  impl.JoinAll();
  return ended;
}

int ChildProcess::exitStatus() const {
  return impl_->exited && !impl_->killed ? static_cast<int>(impl_->exitCode) : -1;
}

std::string ChildProcess::out() const {
  std::lock_guard lock(impl_->mutex);
  return impl_->outputs[0].text;
}

std::string ChildProcess::err() const {
  std::lock_guard lock(impl_->mutex);
  return impl_->outputs[1].text;
}
