// voxalon-cli.exe: the wide command line, taken over as UTF-8.
#include <string>
#include <vector>

#include "cli/cli_session.h"
#include "cli/terminal_console.h"
#include "text/utf8.h"

int wmain(int argc, wchar_t** argv) {
  std::vector<std::string> arguments;
  for (int i = 1; i < argc; ++i)
    arguments.push_back(Utf16ToUtf8(reinterpret_cast<const char16_t*>(argv[i])));
  TerminalConsole console;
  return CliMain(arguments, console);
}
