// The main dialog follows its window's size.
#include "resource.h"
#include "ui/win32/voxa_dlg.h"

namespace {

// The controls that the layout may move, besides the lower three.
constexpr int kLaidOutControls[] = {IDC_SEARCH_OPTIONS,
                                    IDC_TEXT_OPTIONS,
                                    IDC_SEARCH_PATH,
                                    IDC_FIND_TEXT,
                                    IDC_REPLACE_TEXT,
                                    IDC_MASKS_LABEL,
                                    IDC_MASKS,
                                    IDC_SELECT_MASKS,
                                    IDC_EXCLUDE,
                                    IDC_EXCLUDE_PRESET,
                                    IDC_RUN,
                                    IDC_STOP,
                                    IDC_ACTION_LABEL,
                                    IDC_ACTION,
                                    IDC_INCLUDE_SUBFOLDERS,
                                    IDC_CASE_SENSITIVE,
                                    IDC_CONFIRM_REPLACE,
                                    IDC_RENAME_MODE,
                                    IDC_USE_REGEX,
                                    IDC_USE_VARIABLES,
                                    IDC_FIND_HISTORY,
                                    IDC_REPLACE_HISTORY,
                                    IDC_MASK_HISTORY,
                                    IDC_RESULTS,
                                    IDC_DETAILS,
                                    IDC_STATUS_BAR};

LayoutRect ClientRectOf(HWND control, HWND dialog) {
  RECT rect{};
  GetWindowRect(control, &rect);
  MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&rect), 2);
  return {rect.left, rect.top, rect.right, rect.bottom};
}

}  // namespace

void CVOXADlg::OnSize(UINT type, int width, int height) {
  if (type == SIZE_MINIMIZED || !Item(IDC_RESULTS))
    return;
  LayOut(width, height);
}

void CVOXADlg::LayOut(int clientWidth, int clientHeight) {
  ControlRects before;
  for (int id : kLaidOutControls) {
    HWND control = id == IDC_STATUS_BAR ? statusBar_ : Item(id);
    if (control)
      before[id] = ClientRectOf(control, hwnd());
  }
  ControlRects after = before;
  int labelBottom = ClientRectOf(Item(IDC_RESULTS_LABEL), hwnd()).bottom;
  LayoutMainDialog({0, 0, clientWidth, clientHeight}, labelBottom, dpi(), layoutRect, after);
  for (const auto& [id, rect] : after) {
    auto old = before.find(id);
    if (old != before.end() && old->second == rect)
      continue;
    HWND control = id == IDC_STATUS_BAR ? statusBar_ : Item(id);
    if (control)
      MoveWindow(control, rect.left, rect.top, rect.width(), rect.height(), TRUE);
  }
}
