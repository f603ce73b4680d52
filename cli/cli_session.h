// One run of the engine from the command line: the options become the dialog's fields and
// settings, the run's checks and questions happen at the terminal, and the results are printed
// as they arrive.
#pragma once

#include <string>
#include <vector>

#include "cli/cli_options.h"
#include "cli/console.h"

// Parses the arguments (after the program name, in UTF-8), runs and returns the exit status.
int CliMain(const std::vector<std::string>& arguments, Console& console);

// Runs with parsed options and returns the exit status.
int RunCliSession(CliOptions options, Console& console);
