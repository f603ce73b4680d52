// The ready-made mask lists offered by the masks "Select..." button.
#pragma once

#include <string>
#include <vector>

// The presets of the mask file at `path` ("ext.txt" in the current directory at start-up): one
// entry per line, read in pieces of at most 1023 characters, each piece without its trailing
// line break. A file that cannot be opened gives the built-in presets.
std::vector<std::u16string> LoadMaskPresets(const char* path);

std::vector<std::u16string> BuiltInMaskPresets();
