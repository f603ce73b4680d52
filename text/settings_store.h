// Loading and saving the program settings together with the main dialog's search fields, option
// check states, action and recent folders, as numbered binary values of one per-user key.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/settings_key.h"
#include "text/program_settings.h"

// The main dialog's state as the store keeps it; check states are the platform's button states
// (0 unchecked, 1 checked, 2 indeterminate).
struct StoredDialogState {
  std::u16string searchPath;
  std::u16string masks;
  std::u16string exclusions;
  std::vector<std::u16string> recentFolders;
  std::int32_t includeSubfolders = 0;
  std::int32_t caseSensitive = 0;
  std::int32_t confirmReplace = 0;
  std::int32_t renameMode = 0;
  std::int32_t action = 0;
  std::int32_t useRegex = 0;
  std::int32_t useVariables = 0;
  // Recent entries of the find, replace, masks and exclude fields, newest first.
  std::vector<std::u16string> findHistory;
  std::vector<std::u16string> replaceHistory;
  std::vector<std::u16string> maskHistory;
  std::vector<std::u16string> excludeHistory;
};

// Fills settings and state from the key. A missing key gives the default settings (the state is
// left as it is); a missing, mistyped or oversized value, or a recent-folder text that does not
// parse, ends the load there, keeping what was read. In both cases the result is saved quietly at
// once and the save's result returned.
bool LoadSettings(SettingsKeyStore& store, ProgramSettings& settings, StoredDialogState& state);

// Writes every value in order; the first value that cannot be written ends the save with false.
bool SaveSettings(SettingsKeyStore& store, const ProgramSettings& settings,
                  const StoredDialogState& state);
