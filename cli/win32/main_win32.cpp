// voxalon-cli.exe: the wide command line, taken over as UTF-8.
#include <string>
#include <vector>

#include "cli/cli_session.h"
#include "cli/terminal_console.h"
#include "text/utf8.h"

// Masks such as *.txt reach the program as typed: the C runtime never expands them against the
// current folder, whatever default it was built with.
extern "C" {
int _dowildcard = 0;
}

int wmain(int argc, wchar_t** argv) {
  std::vector<std::string> arguments;
  for (int i = 1; i < argc; ++i)
    arguments.push_back(Utf16ToUtf8(reinterpret_cast<const char16_t*>(argv[i])));
  TerminalConsole console;
  return CliMain(arguments, console);
}
