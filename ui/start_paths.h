// The program's command line: folders to search, handed over by Explorer or a shortcut.
#pragma once

#include <string>
#include <string_view>
#include <vector>

// Splits a Windows command line (without the program name) into its arguments. A double quote
// switches quoting on or off and is dropped; blanks outside quotes separate. Backslashes are
// plain characters: paths cannot hold a quote, so "C:\" is the drive's root, not C: and a quote.
std::vector<std::u16string> SplitCommandLine(std::u16string_view commandLine);
