// The ready-made mask lists offered by the masks "Select..." button.
#pragma once

#include <string>
#include <vector>

// Where the mask file is looked for at start-up: "ext.txt" in the current directory, then beside
// the program, so that a start from a shortcut or a terminal elsewhere finds it.
std::vector<std::u16string> MaskPresetFiles();

// The presets of the first of `paths` that opens: one entry per line, read in pieces of at most
// 1023 characters, each piece without its trailing line break. When none opens, the built-in
// presets.
std::vector<std::u16string> LoadMaskPresets(const std::vector<std::u16string>& paths);

std::vector<std::u16string> BuiltInMaskPresets();
