// The main dialog's side of a run: the view the run's window side draws on, its message boxes,
// and the fields Run reads.
#include "resource.h"
#include "ui/win32/confirm_dlg.h"
#include "ui/win32/controls.h"
#include "ui/win32/modal_hooks.h"
#include "ui/win32/voxa_dlg.h"

namespace {

constexpr int kFileMenu = 0;
constexpr int kSettingsItem = 0;

// Controls enabled exactly when the inputs are.
constexpr int kInputControls[] = {IDC_SEARCH_PATH,    IDC_MASKS,           IDC_BROWSE,
                                  IDC_FIND_TEXT,      IDC_ACTION,          IDC_INCLUDE_SUBFOLDERS,
                                  IDC_CASE_SENSITIVE, IDC_CONFIRM_REPLACE, IDC_RENAME_MODE,
                                  IDC_USE_REGEX,      IDC_SELECT_PATHS,    IDC_SELECT_MASKS,
                                  IDC_EXCLUDE,        IDC_EXCLUDE_PRESET};

void EnableMenuPosition(HMENU menu, int position, bool enabled) {
  EnableMenuItem(menu, position, MF_BYPOSITION | (enabled ? MF_ENABLED : MF_GRAYED));
}

}  // namespace

void CVOXADlg::ClearStatusEdit() {
  SetItemText(hwnd(), IDC_DETAILS, u"");
}

void CVOXADlg::ClearTextFields() {
  SetItemText(hwnd(), IDC_FIND_TEXT, u"");
  SetItemText(hwnd(), IDC_REPLACE_TEXT, u"");
}

int CVOXADlg::ResultRowCount() const {
  return resultsList_.RowCount();
}

void CVOXADlg::AddResultRow(const CFileResult& result, int, size_t index) {
  resultsList_.AddResultRow(result, index);
}

void CVOXADlg::OnRowsTimer() {
  channel_.TakeBatch(run_);
  resultsList_.ShowPending();
}

void CVOXADlg::DeleteAllResultRows() {
  resultsList_.DeleteAllRows();
}

bool CVOXADlg::IsRenameModeChecked() const {
  return IsItemChecked(hwnd(), IDC_RENAME_MODE);
}

std::int32_t CVOXADlg::ShownAction() const {
  return GetComboSelection(hwnd(), IDC_ACTION);
}

void CVOXADlg::ApplyRunningUi(const RunningUi& ui) {
  // During a run, results are taken from the worker and shown a batch per tick.
  if (ui.inputs) {
    KillTimer(hwnd(), kRowsTimer);
    resultsList_.ShowPending();
  } else {
    SetTimer(hwnd(), kRowsTimer, kRowsTimerMs, nullptr);
  }
  EnableItem(hwnd(), IDC_RUN, ui.runButton);
  EnableItem(hwnd(), IDC_PREVIEW, ui.runButton);
  ShowPreviewState(ui);
  EnableItem(hwnd(), IDC_STOP, ui.stopButton);
  for (int id : kInputControls)
    EnableItem(hwnd(), id, ui.inputs);
  EnableItem(hwnd(), IDC_USE_VARIABLES, ui.useVariables);
  if (menu_) {
    EnableMenuPosition(GetSubMenu(menu_, kFileMenu), kSettingsItem, ui.settingsItem);
    const UINT idle = MF_BYCOMMAND | (ui.idleActionItems ? MF_ENABLED : MF_GRAYED);
    for (int command : {ID_ACTION_RUN, ID_ACTION_PREVIEW, ID_ACTION_CLEAR})
      EnableMenuItem(menu_, command, idle);
    EnableMenuItem(menu_, ID_ACTION_STOP, MF_BYCOMMAND | (ui.stopItem ? MF_ENABLED : MF_GRAYED));
    DrawMenuBar(hwnd());
  }
  EnableItem(hwnd(), IDC_REPLACE_TEXT, ui.replaceEdit);
}

void CVOXADlg::WriteErrorLog(const std::u16string& text) {
  errorLog_.WriteErrorLog(text);
}

ConfirmAnswer CVOXADlg::ShowConfirmation(const std::u16string& fullPath,
                                         const CFileResult::replace_info& position,
                                         const ChangeLines* change) {
  CConfirmDlg dialog(hwnd(), fullPath, position, change);
  INT_PTR answer = dialog.DoModal();
  if (answer < 0 || answer > static_cast<INT_PTR>(ConfirmAnswer::NoToAll))
    return ConfirmAnswer::No;
  return static_cast<ConfirmAnswer>(answer);
}

PromptAnswer CVOXADlg::Show(const std::u16string& text, const std::u16string& caption,
                            PromptButtons buttons) {
  UINT type =
      buttons == PromptButtons::OkCancel ? MB_OKCANCEL | MB_ICONWARNING : MB_OK | MB_ICONERROR;
  return ShowMessageBox(hwnd(), text, caption, type) == IDOK ? PromptAnswer::Ok
                                                             : PromptAnswer::Cancel;
}

RunFields CVOXADlg::ReadRunFields() const {
  RunFields fields;
  fields.searchPaths = GetItemText(hwnd(), IDC_SEARCH_PATH);
  fields.masks = GetItemText(hwnd(), IDC_MASKS);
  fields.exclusions = GetItemText(hwnd(), IDC_EXCLUDE);
  fields.action = static_cast<ActionType>(std::max(0, GetComboSelection(hwnd(), IDC_ACTION)));
  fields.includeSubfolders = IsItemChecked(hwnd(), IDC_INCLUDE_SUBFOLDERS);
  fields.caseSensitive = IsItemChecked(hwnd(), IDC_CASE_SENSITIVE);
  fields.confirmReplace = IsItemChecked(hwnd(), IDC_CONFIRM_REPLACE);
  fields.renameMode = IsItemChecked(hwnd(), IDC_RENAME_MODE);
  fields.useRegex = IsItemChecked(hwnd(), IDC_USE_REGEX);
  // Disabled in rename mode, where its check state stays but has no effect.
  fields.useVariables = !fields.renameMode && IsItemChecked(hwnd(), IDC_USE_VARIABLES);
  fields.findText = GetItemText(hwnd(), IDC_FIND_TEXT);
  fields.replaceText = GetItemText(hwnd(), IDC_REPLACE_TEXT);
  return fields;
}

void CVOXADlg::OnRunCommand() {
  if (run_.runState() != RunState::Idle)
    return;
  if (run_.previewShown()) {
    run_.OnApply();
    return;
  }
  const RunFields fields = ReadRunFields();
  run_.OnRun(fields);
  if (run_.runState() != RunState::Idle)
    RememberRunFields(fields);
}

void CVOXADlg::StopRunAndWait() {
  WindowMessagePump pump;
  run_.StopAndWait(pump);
}
