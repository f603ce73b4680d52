// The recent entries of the find, replace, masks and exclude fields: kept at each Run, offered by
// the drop-down button beside each field and by Alt+Down in it.
#include <type_traits>

#include "platform/win32/wide.h"
#include "resource.h"
#include "text/text_history.h"
#include "ui/win32/controls.h"
#include "ui/win32/modal_hooks.h"
#include "ui/win32/voxa_dlg.h"

namespace {

struct HistoryField {
  int button;
  int field;
};
constexpr HistoryField kHistoryFields[] = {{IDC_FIND_HISTORY, IDC_FIND_TEXT},
                                           {IDC_REPLACE_HISTORY, IDC_REPLACE_TEXT},
                                           {IDC_MASK_HISTORY, IDC_MASKS},
                                           {IDC_EXCLUDE_HISTORY, IDC_EXCLUDE}};

}  // namespace

std::vector<std::u16string>* CVOXADlg::HistoryOf(int button) {
  switch (button) {
    case IDC_FIND_HISTORY:
      return &findHistory;
    case IDC_REPLACE_HISTORY:
      return &replaceHistory;
    case IDC_MASK_HISTORY:
      return &maskHistory;
    case IDC_EXCLUDE_HISTORY:
      return &excludeHistory;
    default:
      return nullptr;
  }
}

void CVOXADlg::AttachHistoryGestures() {
  static_assert(std::size(kHistoryFields) == std::extent_v<decltype(historyGestures_)>);
  for (size_t i = 0; i < std::size(kHistoryFields); ++i)
    historyGestures_[i].Attach(Item(kHistoryFields[i].field), kHistoryFields[i].button, 0);
}

void CVOXADlg::RememberRunFields(const RunFields& fields) {
  RememberEntry(findHistory, fields.findText);
  if (UsesReplacement(fields.action))
    RememberEntry(replaceHistory, fields.replaceText);
  RememberEntry(maskHistory, fields.masks);
  RememberEntry(excludeHistory, fields.exclusions);
}

void CVOXADlg::OnHistory(int button) {
  const std::vector<std::u16string>* history = HistoryOf(button);
  int field = 0;
  for (const HistoryField& entry : kHistoryFields)
    field = entry.button == button ? entry.field : field;
  if (!history || history->empty() || !IsWindowEnabled(Item(field)))
    return;
  HMENU menu = CreatePopupMenu();
  if (!menu)
    return;
  for (size_t i = 0; i < history->size(); ++i)
    AppendMenuW(menu, MF_STRING, ID_HISTORY_FIRST + i,
                platform::Wide(HistoryEntryLabel((*history)[i])));
  // Under the field, at its left edge.
  RECT rect{};
  GetWindowRect(Item(field), &rect);
  const UINT command =
      ChooseFromPopupMenu(menu, TPM_LEFTALIGN | TPM_TOPALIGN, {rect.left, rect.bottom}, hwnd());
  DestroyMenu(menu);
  if (command < ID_HISTORY_FIRST || command - ID_HISTORY_FIRST >= history->size())
    return;
  SetItemText(hwnd(), field, (*history)[command - ID_HISTORY_FIRST]);
  // A multi-line field sends no EN_CHANGE for a text set by the program.
  run_.LeavePreview();
  SetFocus(Item(field));
  SendDlgItemMessageW(hwnd(), field, EM_SETSEL, 0, -1);
}

bool CVOXADlg::DrawHistoryButton(const DRAWITEMSTRUCT& item) {
  if (!HistoryOf(static_cast<int>(item.CtlID)))
    return false;
  RECT rect = item.rcItem;
  UINT state = DFCS_SCROLLCOMBOBOX;
  if (item.itemState & ODS_SELECTED)
    state |= DFCS_PUSHED;
  if (item.itemState & ODS_DISABLED)
    state |= DFCS_INACTIVE;
  DrawFrameControl(item.hDC, &rect, DFC_SCROLL, state);
  return true;
}
