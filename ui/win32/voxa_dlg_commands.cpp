// The main dialog's commands: menus, accelerators and buttons.
#include <shlwapi.h>

#include "platform/path_queries.h"
#include "platform/string_table.h"
#include "platform/win32/wide.h"
#include "resource.h"
#include "run/run_command.h"
#include "text/quoted_list.h"
#include "text/text_format.h"
#include "ui/exclusion_preset.h"
#include "ui/win32/about_dlg.h"
#include "ui/win32/controls.h"
#include "ui/win32/help_file_win32.h"
#include "ui/win32/modal_hooks.h"
#include "ui/win32/select_items_dlg.h"
#include "ui/win32/voxa_dlg.h"

void CVOXADlg::UpdateReplaceField() {
  auto action = static_cast<ActionType>(GetComboSelection(hwnd(), IDC_ACTION));
  EnableItem(hwnd(), IDC_REPLACE_TEXT,
             action != ActionType::FindOnly && action != ActionType::Delete);
}

void CVOXADlg::OnHelp() {
  std::u16string path = HelpFileFolder() + platform::LoadText(IDS_HELP_FILE);
  if (ShellOpen(hwnd(), path, u"", u"", SW_SHOWNORMAL) <= 32)
    ShowMessageBox(hwnd(), platform::LoadText(IDS_HELP_OPEN_FAILED) + u": " + path,
                   platform::LoadText(IDS_ERROR_CAPTION), MB_OK);
}

void CVOXADlg::OnOpenErrorLog() {
  const std::u16string& path = errorLog_.logPath();
  if (ShellOpen(hwnd(), path, u"", u"", SW_SHOWNORMAL) <= 32)
    ShowMessageBox(hwnd(), FormatString(IDS_OPEN_FILE_FAILED, {std::u16string_view(path)}),
                   platform::LoadText(IDS_ERROR_CAPTION), MB_OK);
}

void CVOXADlg::OnBrowse() {
  std::optional<std::u16string> folder = PickFolder(hwnd());
  if (!folder)
    return;
  SetItemText(hwnd(), IDC_SEARCH_PATH, u"\"" + *folder + u"\"");
  RecordRecentFolder(recentFolders, *folder);
}

void CVOXADlg::OnDropFiles(HDROP drop) {
  std::vector<std::u16string> folders;
  const UINT count = DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
  for (UINT i = 0; i < count; ++i) {
    const UINT length = DragQueryFileW(drop, i, nullptr, 0);
    std::vector<wchar_t> path(length + 1);
    if (DragQueryFileW(drop, i, path.data(), length + 1) == 0)
      continue;
    std::u16string folder = platform::FromWide(path.data());
    if (platform::IsDirectory(folder))
      folders.push_back(std::move(folder));
  }
  DragFinish(drop);
  // The field is disabled while a run goes on.
  if (!folders.empty() && run_.runState() == RunState::Idle)
    SetItemText(hwnd(), IDC_SEARCH_PATH, JoinQuotedList(folders));
}

void CVOXADlg::OnSelectFrom(const std::vector<std::u16string>& entries, int fieldId) {
  CSelectItemsDlg dialog(hwnd());
  dialog.items = entries;
  dialog.checks.assign(entries.size(), 0);
  if (dialog.DoModal() != IDOK)
    return;
  std::u16string joined;
  bool any = false;
  for (size_t i = 0; i < dialog.items.size() && i < dialog.checks.size(); ++i) {
    if (!dialog.checks[i])
      continue;
    if (any)
      joined += u", ";
    joined += dialog.items[i];
    any = true;
  }
  if (any)
    SetItemText(hwnd(), fieldId, joined);
}

bool CVOXADlg::OnCommand(int id, int code, HWND control) {
  LeavePreviewOnChange(id, code);
  switch (id) {
    case IDOK:  // Enter never ends the dialog; on the results list it opens the selected file,
                // on a line of the details field that line.
      if (GetFocus() == Item(IDC_RESULTS))
        OnResultsDoubleClick();
      else if (GetFocus() == Item(IDC_DETAILS))
        OnOpenDetailsLine();
      return true;
    case IDC_FIND_HISTORY:
    case IDC_REPLACE_HISTORY:
    case IDC_MASK_HISTORY:
    case IDC_EXCLUDE_HISTORY:
      OnHistory(id);
      return true;
    case ID_DETAILS_OPEN_LINE:
      OnOpenDetailsLine();
      return true;
    case ID_ACTION_UNDO:
      run_.OnUndo();
      return true;
    case ID_HELP_STANDARD:
      return true;
    case ID_RESULTS_COPY_PATH:
    case ID_RESULTS_COPY_NAME:
      OnCopyNames(id == ID_RESULTS_COPY_PATH);
      return true;
    case ID_RESULTS_EXPORT:
      OnExportResults();
      return true;
    case ID_ACTION_RUN:
    case IDC_RUN:
      OnRunCommand();
      return true;
    case ID_ACTION_PREVIEW:
    case IDC_PREVIEW:
      OnPreviewCommand();
      return true;
    case ID_ACTION_STOP:
    case IDC_STOP:
      run_.OnStop();
      return true;
    case ID_ACTION_CLEAR:
      run_.OnClear();
      return true;
    case ID_FILE_EXIT:
      EndProgram(IDOK);
      return true;
    case ID_FILE_SETTINGS:
      OnSettings();
      return true;
    case ID_FILE_OPEN_ERROR_LOG:
      OnOpenErrorLog();
      return true;
    case ID_HELP_HELP:
      OnHelp();
      return true;
    case ID_HELP_ABOUT: {
      CAboutDlg about(hwnd());
      about.DoModal();
      return true;
    }
    case IDC_BROWSE:
      OnBrowse();
      return true;
    case IDC_SELECT_PATHS:
      OnSelectFrom(recentFolders, IDC_SEARCH_PATH);
      return true;
    case IDC_SELECT_MASKS:
      OnSelectFrom(maskPresets, IDC_MASKS);
      return true;
    case IDC_EXCLUDE_PRESET:
      SetItemText(hwnd(), IDC_EXCLUDE,
                  AddExclusionPreset(GetItemText(hwnd(), IDC_EXCLUDE),
                                     platform::LoadText(IDS_EXCLUDE_PRESET)));
      return true;
    case IDC_ACTION:
      if (code == CBN_SELCHANGE)
        UpdateReplaceField();
      return true;
    case IDC_USE_REGEX:
      if (IsItemChecked(hwnd(), IDC_USE_REGEX))
        SetItemChecked(hwnd(), IDC_USE_VARIABLES, false);
      return true;
    case IDC_USE_VARIABLES:
      if (IsItemChecked(hwnd(), IDC_USE_VARIABLES))
        SetItemChecked(hwnd(), IDC_USE_REGEX, false);
      return true;
    case IDC_RENAME_MODE:
      EnableItem(hwnd(), IDC_USE_VARIABLES, !IsItemChecked(hwnd(), IDC_RENAME_MODE));
      return true;
    default:
      return Dialog::OnCommand(id, code, control);
  }
}
