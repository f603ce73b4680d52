// voxalon-cli that dies at a chosen file operation, for the crash tests. The first three
// arguments arm the fault: the operation (platform::FileOperation as a number), how many such
// operations go through first, and how many bytes a write gets out; the rest is the command line.
#include <cstdlib>
#include <string>
#include <vector>

#include "cli/cli_session.h"
#include "cli/terminal_console.h"
#include "platform/file_fault.h"

int main(int argc, char** argv) {
  if (argc < 4)
    return 2;
  platform::FileFault fault;
  fault.operation = static_cast<platform::FileOperation>(std::atoi(argv[1]));
  fault.skip = std::atoi(argv[2]);
  fault.bytesBefore = std::strtoull(argv[3], nullptr, 10);
  fault.endProcess = true;
  platform::ArmFileFault(fault);
  const std::vector<std::string> arguments(argv + 4, argv + argc);
  TerminalConsole console;
  return CliMain(arguments, console);
}
