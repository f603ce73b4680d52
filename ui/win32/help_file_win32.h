// The folder whose help file F1 and the settings dialog's Help open.
#pragma once

#include <string>

// The current directory when it holds the help file, else the program's folder when that holds
// it, else the current directory.
std::u16string HelpFileFolder();
