// The main dialog's preview: the Preview command, the rows' check boxes, and leaving the preview
// when the form changes.
#include <algorithm>

#include "platform/string_table.h"
#include "platform/win32/wide.h"
#include "resource.h"
#include "ui/win32/controls.h"
#include "ui/win32/voxa_dlg.h"

namespace {

// The form's controls and the notification each sends when the user changes it.
struct FormChange {
  int id;
  int code;
};
constexpr FormChange kFormChanges[] = {{IDC_SEARCH_PATH, EN_CHANGE},
                                       {IDC_MASKS, EN_CHANGE},
                                       {IDC_EXCLUDE, EN_CHANGE},
                                       {IDC_FIND_TEXT, EN_CHANGE},
                                       {IDC_REPLACE_TEXT, EN_CHANGE},
                                       {IDC_ACTION, CBN_SELCHANGE},
                                       {IDC_INCLUDE_SUBFOLDERS, BN_CLICKED},
                                       {IDC_CASE_SENSITIVE, BN_CLICKED},
                                       {IDC_CONFIRM_REPLACE, BN_CLICKED},
                                       {IDC_RENAME_MODE, BN_CLICKED},
                                       {IDC_USE_REGEX, BN_CLICKED},
                                       {IDC_USE_VARIABLES, BN_CLICKED}};

}  // namespace

void CVOXADlg::OnPreviewCommand() {
  if (run_.runState() != RunState::Idle)
    return;
  const RunFields fields = ReadRunFields();
  run_.OnPreview(fields);
  if (run_.runState() != RunState::Idle)
    RememberRunFields(fields);
}

void CVOXADlg::LeavePreviewOnChange(int id, int code) {
  if (run_.previewShown() &&
      std::any_of(std::begin(kFormChanges), std::end(kFormChanges),
                  [&](const FormChange& change) { return change.id == id && change.code == code; }))
    run_.LeavePreview();
}

void CVOXADlg::ToggleTicks(const std::vector<int>& rows) {
  if (!resultsList_.HasCheckBoxes() || rows.empty())
    return;
  // Every row takes the opposite of the first one's tick, as a list of check boxes does.
  const std::optional<size_t> first = resultsList_.ResultIndex(rows.front());
  if (!first)
    return;
  const bool ticked = !run_.IsTicked(*first);
  for (int row : rows) {
    if (const std::optional<size_t> index = resultsList_.ResultIndex(row)) {
      run_.SetTicked(*index, ticked);
      resultsList_.RedrawRow(row);
    }
  }
}

void CVOXADlg::ShowPreviewState(const RunningUi& ui) {
  const std::u16string button = platform::LoadText(ui.applies ? IDS_APPLY_BUTTON : IDS_RUN_BUTTON);
  if (GetItemText(hwnd(), IDC_RUN) != button)
    SetItemText(hwnd(), IDC_RUN, button);
  if (menu_) {
    const std::u16string item =
        platform::LoadText(ui.applies ? IDS_APPLY_MENU_ITEM : IDS_RUN_MENU_ITEM);
    ModifyMenuW(menu_, ID_ACTION_RUN, MF_BYCOMMAND | MF_STRING, ID_ACTION_RUN,
                platform::Wide(item));
  }
  std::function<bool(size_t)> ticked;
  if (ui.checkBoxes)
    ticked = [this](size_t index) { return run_.IsTicked(index); };
  resultsList_.ShowCheckBoxes(std::move(ticked));
}
