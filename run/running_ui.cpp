#include "run/running_ui.h"

#include "run/record/run_types.h"

RunningUi RunningUiFor(bool idle, bool renameModeChecked, std::int32_t shownAction, bool preview) {
  RunningUi ui;
  ui.runButton = idle;
  ui.stopButton = !idle;
  ui.inputs = idle;
  ui.useVariables = idle && !renameModeChecked;
  ui.settingsItem = idle;
  ui.idleActionItems = idle;
  ui.stopItem = !idle;
  // Editable during a run too; what is typed there then has no effect on the run.
  ui.replaceEdit = shownAction != static_cast<std::int32_t>(ActionType::FindOnly) &&
                   shownAction != static_cast<std::int32_t>(ActionType::Delete);
  ui.checkBoxes = preview;
  ui.applies = preview && idle;
  return ui;
}
