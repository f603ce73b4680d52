#include "cli/terminal_console.h"

#include <windows.h>

#include <thread>

#include "cli/stop_requests.h"
#include "platform/win32/wide.h"
#include "text/utf8.h"

namespace {

StopRequests stops;

BOOL WINAPI OnControlEvent(DWORD event) {
  switch (event) {
    case CTRL_C_EVENT:
    case CTRL_BREAK_EVENT:
      stops.Interrupt();
      return TRUE;
    case CTRL_CLOSE_EVENT:
    case CTRL_LOGOFF_EVENT:
    case CTRL_SHUTDOWN_EVENT:
      // The system ends the process once this returns, or when its time limit runs out. Wine's
      // consoles never send these; only real Windows exercises this.
      stops.EndAndWait();
      return TRUE;
    default:
      return FALSE;
  }
}

LRESULT CALLBACK SessionWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_QUERYENDSESSION)
    return TRUE;
  if (message == WM_ENDSESSION) {
    if (wParam)
      stops.EndAndWait();
    return 0;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

// A program that loads user32 (string resources, the shell) is told of logoff and shutdown only
// through its top-level windows, never through the console handler: a hidden one listens on a
// thread of its own for as long as the process lives. Only real Windows sends these.
void ListenForSessionEnd() {
  std::thread([] {
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = SessionWindowProc;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = L"VoxalonCliSession";
    if (!RegisterClassW(&windowClass))
      return;
    if (!CreateWindowExW(0, windowClass.lpszClassName, L"", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                         windowClass.hInstance, nullptr))
      return;
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0)
      DispatchMessageW(&message);
  }).detach();
}

bool IsConsole(HANDLE handle) {
  DWORD mode = 0;
  return handle != nullptr && handle != INVALID_HANDLE_VALUE && GetConsoleMode(handle, &mode);
}

}  // namespace

// A console gets the text as UTF-16, files and pipes as UTF-8.
bool TerminalConsole::WriteAll(ConsoleStream stream, std::string_view utf8) {
  HANDLE handle = GetStdHandle(stream == ConsoleStream::Out ? STD_OUTPUT_HANDLE : STD_ERROR_HANDLE);
  if (handle == nullptr || handle == INVALID_HANDLE_VALUE)
    return true;
  if (IsConsole(handle)) {
    std::u16string text;
    Utf8ToUtf16(utf8, text);
    const wchar_t* data = platform::Wide(text);
    size_t left = text.size();
    while (left > 0) {
      DWORD written = 0;
      const DWORD chunk = left > 8192 ? 8192 : static_cast<DWORD>(left);
      if (!WriteConsoleW(handle, data, chunk, &written, nullptr) || written == 0)
        return false;
      data += written;
      left -= written;
    }
    return true;
  }
  while (!utf8.empty()) {
    DWORD written = 0;
    const DWORD chunk = utf8.size() > (1u << 20) ? (1u << 20) : static_cast<DWORD>(utf8.size());
    if (!WriteFile(handle, utf8.data(), chunk, &written, nullptr) || written == 0)
      return false;
    utf8.remove_prefix(written);
  }
  return true;
}

TerminalConsole::TerminalConsole() {
  SetConsoleCtrlHandler(OnControlEvent, TRUE);
  ListenForSessionEnd();
}

TerminalConsole::~TerminalConsole() {
  Flush();
  // A handler waiting for the end of the run may now let the process end.
  stops.RunOver();
  SetConsoleCtrlHandler(OnControlEvent, FALSE);
}

bool TerminalConsole::InputIsTerminal() const {
  return IsConsole(GetStdHandle(STD_INPUT_HANDLE));
}

// A console shows escape sequences once virtual terminal processing is on, which Windows 10
// (1511) and later accept; older consoles refuse the mode and get no colour. Only real Windows
// has the mode.
bool TerminalConsole::OutputShowsColor() const {
  HANDLE output = GetStdHandle(STD_OUTPUT_HANDLE);
  DWORD mode = 0;
  if (output == nullptr || output == INVALID_HANDLE_VALUE || !GetConsoleMode(output, &mode))
    return false;
  return (mode & ENABLE_VIRTUAL_TERMINAL_PROCESSING) != 0 ||
         SetConsoleMode(output, mode | ENABLE_VIRTUAL_TERMINAL_PROCESSING);
}

bool TerminalConsole::ReadLine(std::string& line) {
  line.clear();
  HANDLE input = GetStdHandle(STD_INPUT_HANDLE);
  if (!IsConsole(input)) {
    char byte = 0;
    DWORD read = 0;
    while (ReadFile(input, &byte, 1, &read, nullptr) && read == 1) {
      if (byte == '\n')
        return true;
      if (byte != '\r')
        line.push_back(byte);
    }
    return !line.empty();
  }
  std::u16string text;
  while (true) {
    wchar_t unit = 0;
    DWORD read = 0;
    if (!ReadConsoleW(input, &unit, 1, &read, nullptr) || read == 0) {
      // Ctrl+C ends a console read with nothing read; give the handler its moment.
      Sleep(50);
      return false;
    }
    if (stops.Interrupted())
      return false;
    if (unit == L'\n')
      break;
    if (unit != L'\r')
      text.push_back(static_cast<char16_t>(unit));
  }
  line = Utf16ToUtf8(text);
  return true;
}

// The console's control handler runs on a thread of its own; nothing to arrange.
void TerminalConsole::OnHelperThread() {}

bool TerminalConsole::InterruptRequested() {
  return stops.Interrupted();
}
