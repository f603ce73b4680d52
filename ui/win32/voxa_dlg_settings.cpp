// The main dialog's side of the settings: the store, the settings dialog and Reset All Settings.
#include "platform/string_table.h"
#include "resource.h"
#include "ui/win32/controls.h"
#include "ui/win32/modal_hooks.h"
#include "ui/win32/settings_dlg.h"
#include "ui/win32/voxa_dlg.h"

StoredDialogState CVOXADlg::ReadStoredState() const {
  StoredDialogState state;
  state.searchPath = GetItemText(hwnd(), IDC_SEARCH_PATH);
  state.masks = GetItemText(hwnd(), IDC_MASKS);
  state.exclusions = GetItemText(hwnd(), IDC_EXCLUDE);
  state.recentFolders = recentFolders;
  state.includeSubfolders =
      static_cast<std::int32_t>(IsDlgButtonChecked(hwnd(), IDC_INCLUDE_SUBFOLDERS));
  state.caseSensitive = static_cast<std::int32_t>(IsDlgButtonChecked(hwnd(), IDC_CASE_SENSITIVE));
  state.confirmReplace = static_cast<std::int32_t>(IsDlgButtonChecked(hwnd(), IDC_CONFIRM_REPLACE));
  state.renameMode = static_cast<std::int32_t>(IsDlgButtonChecked(hwnd(), IDC_RENAME_MODE));
  state.action = GetComboSelection(hwnd(), IDC_ACTION);
  state.useRegex = static_cast<std::int32_t>(IsDlgButtonChecked(hwnd(), IDC_USE_REGEX));
  state.useVariables = static_cast<std::int32_t>(IsDlgButtonChecked(hwnd(), IDC_USE_VARIABLES));
  state.findHistory = findHistory;
  state.replaceHistory = replaceHistory;
  state.maskHistory = maskHistory;
  state.excludeHistory = excludeHistory;
  return state;
}

void CVOXADlg::ApplyStoredState(const StoredDialogState& state) {
  SetItemText(hwnd(), IDC_SEARCH_PATH, state.searchPath);
  SetItemText(hwnd(), IDC_MASKS, state.masks);
  SetItemText(hwnd(), IDC_EXCLUDE, state.exclusions);
  recentFolders = state.recentFolders;
  CheckDlgButton(hwnd(), IDC_INCLUDE_SUBFOLDERS, static_cast<UINT>(state.includeSubfolders));
  CheckDlgButton(hwnd(), IDC_CASE_SENSITIVE, static_cast<UINT>(state.caseSensitive));
  CheckDlgButton(hwnd(), IDC_CONFIRM_REPLACE, static_cast<UINT>(state.confirmReplace));
  CheckDlgButton(hwnd(), IDC_RENAME_MODE, static_cast<UINT>(state.renameMode));
  // A stored action outside the list would leave no action selected.
  if (state.action >= 0 && state.action < 7)
    SetComboSelection(hwnd(), IDC_ACTION, state.action);
  CheckDlgButton(hwnd(), IDC_USE_REGEX, static_cast<UINT>(state.useRegex));
  CheckDlgButton(hwnd(), IDC_USE_VARIABLES, static_cast<UINT>(state.useVariables));
  findHistory = state.findHistory;
  replaceHistory = state.replaceHistory;
  maskHistory = state.maskHistory;
  excludeHistory = state.excludeHistory;
}

void CVOXADlg::LoadStoredSettings() {
  StoredDialogState state = ReadStoredState();
  LoadSettings(*store_, settings, state);
  ApplyStoredState(state);
}

bool CVOXADlg::SaveStoredSettings(bool quiet) {
  if (SaveSettings(*store_, settings, ReadStoredState()))
    return true;
  if (!quiet)
    ShowMessageBox(hwnd(), platform::LoadText(IDS_SAVE_SETTINGS_FAILED),
                   platform::LoadText(IDS_ERROR_CAPTION), MB_OK);
  return false;
}

void CVOXADlg::ResetOptions() {
  SetComboSelection(hwnd(), IDC_ACTION, 0);
  SetItemChecked(hwnd(), IDC_INCLUDE_SUBFOLDERS, true);
  for (int id :
       {IDC_CASE_SENSITIVE, IDC_CONFIRM_REPLACE, IDC_RENAME_MODE, IDC_USE_REGEX, IDC_USE_VARIABLES})
    SetItemChecked(hwnd(), id, false);
  EnableItem(hwnd(), IDC_USE_VARIABLES, true);
  UpdateErrorLogMenuItem();
  EnableItem(hwnd(), IDC_REPLACE_TEXT, true);
}

void CVOXADlg::OnSettings() {
  CSettingsDlg dialog(hwnd());
  CopySettings(settings, dialog.settings);
  dialog.onResetMainOptions = [this] { ResetOptions(); };
  if (dialog.DoModal() != IDOK)
    return;
  CopySettings(dialog.settings, settings);
  // An apply runs with the settings of its preview.
  run_.LeavePreview();
  SaveStoredSettings(false);
  errorLog_.InitErrorLog(settings);
  UpdateErrorLogMenuItem();
}
