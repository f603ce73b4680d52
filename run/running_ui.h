// Which controls and menu items of the main dialog are enabled around a run.
#pragma once

#include <cstdint>

struct RunningUi {
  bool runButton = true;    // Run (1051)
  bool stopButton = false;  // Stop (1052)
  // Search path 1025, masks 1020, Browse 1002, find 1005, action 1007, check boxes 1011 to 1014
  // and 1066, Select buttons 1023 and 1024.
  bool inputs = true;
  bool useVariables = true;     // Use variables (1067)
  bool settingsItem = true;     // File menu, item 0 (Settings...)
  bool idleActionItems = true;  // Action menu, items 0, 2 and 3 (Run, separator, Clear)
  bool stopItem = false;        // Action menu, item 1 (Stop)
  bool replaceEdit = true;      // Replace with text (1008); set after every other control
};

// The states for idle (true) or a run (false), given the rename mode check box and the action
// shown in the action combo box.
RunningUi RunningUiFor(bool idle, bool renameModeChecked, std::int32_t shownAction);
