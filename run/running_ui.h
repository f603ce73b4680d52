// Which controls and menu items of the main dialog are enabled around a run.
#pragma once

#include <cstdint>

struct RunningUi {
  bool runButton = true;    // IDC_RUN and IDC_PREVIEW
  bool stopButton = false;  // IDC_STOP
  // IDC_SEARCH_PATH, IDC_MASKS, IDC_BROWSE, IDC_FIND_TEXT, IDC_ACTION, IDC_INCLUDE_SUBFOLDERS,
  // IDC_CASE_SENSITIVE, IDC_CONFIRM_REPLACE, IDC_RENAME_MODE, IDC_USE_REGEX, IDC_SELECT_PATHS and
  // IDC_SELECT_MASKS.
  bool inputs = true;
  bool useVariables = true;     // IDC_USE_VARIABLES
  bool settingsItem = true;     // File menu, item 0 (Settings...)
  bool idleActionItems = true;  // Action menu: Run, Preview and Clear
  bool stopItem = false;        // Action menu: Stop
  bool replaceEdit = true;      // IDC_REPLACE_TEXT; set after every other control
  // The rows are a preview's: each has a check box, and Run (button and menu item) says Apply
  // once the preview is done.
  bool checkBoxes = false;
  bool applies = false;
};

// The states for idle (true) or a run (false), given the rename mode check box, the action
// shown in the action combo box and whether the rows are a preview's.
RunningUi RunningUiFor(bool idle, bool renameModeChecked, std::int32_t shownAction,
                       bool preview = false);
