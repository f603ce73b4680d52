#include "ui/start_paths.h"

std::vector<std::u16string> SplitCommandLine(std::u16string_view commandLine) {
  std::vector<std::u16string> arguments;
  std::u16string argument;
  bool quoted = false;
  for (const char16_t c : commandLine) {
    if (c == u'"') {
      quoted = !quoted;
    } else if (!quoted && (c == u' ' || c == u'\t')) {
      if (!argument.empty())
        arguments.push_back(argument);
      argument.clear();
    } else {
      argument += c;
    }
  }
  if (!argument.empty())
    arguments.push_back(argument);
  return arguments;
}
