// voxalon-cli on POSIX: arguments are UTF-8 whatever the locale; paths may hold other bytes.
#include <string>
#include <vector>

#include "cli/cli_session.h"
#include "cli/terminal_console.h"

int main(int argc, char** argv) {
  std::vector<std::string> arguments(argv + (argc > 0 ? 1 : 0), argv + argc);
  TerminalConsole console;
  return CliMain(arguments, console);
}
