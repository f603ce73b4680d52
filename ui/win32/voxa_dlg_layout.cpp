// The main dialog follows its window's size.
#include <utility>
#include <vector>

#include "resource.h"
#include "ui/main_layout.h"
#include "ui/win32/voxa_dlg.h"

namespace {

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

HWND CVOXADlg::LayoutWindow(int id) const {
  return id == IDC_STATUS_BAR ? statusBar_ : GetDlgItem(hwnd(), id);
}

void CVOXADlg::LayOut(int clientWidth, int clientHeight) {
  ControlRects before;
  for (const LaidOutControl& control : MainLayoutControls()) {
    if (HWND window = LayoutWindow(control.id))
      before[control.id] = ClientRectOf(window, hwnd());
  }
  ControlRects after = before;
  int labelBottom = ClientRectOf(Item(IDC_RESULTS_LABEL), hwnd()).bottom;
  LayoutMainDialog({0, 0, clientWidth, clientHeight}, labelBottom, dpi(), layoutRect, after);

  std::vector<std::pair<HWND, LayoutRect>> moves;
  for (const auto& [id, rect] : after) {
    auto old = before.find(id);
    if (old != before.end() && old->second == rect)
      continue;
    if (HWND window = LayoutWindow(id))
      moves.emplace_back(window, rect);
  }
  MoveControls(moves);
}

// All moves in one pass, so the window repaints once. A failed DeferWindowPos abandons the pass
// (the handle is gone and EndDeferWindowPos must not be called); the controls are then moved one
// by one.
void CVOXADlg::MoveControls(const std::vector<std::pair<HWND, LayoutRect>>& moves) {
  if (moves.empty())
    return;
  HDWP pass = BeginDeferWindowPos(static_cast<int>(moves.size()));
  for (const auto& [window, rect] : moves) {
    if (!pass)
      break;
    pass = DeferWindowPos(pass, window, nullptr, rect.left, rect.top, rect.width(), rect.height(),
                          SWP_NOZORDER | SWP_NOACTIVATE);
  }
  if (pass) {
    EndDeferWindowPos(pass);
    return;
  }
  for (const auto& [window, rect] : moves)
    MoveWindow(window, rect.left, rect.top, rect.width(), rect.height(), TRUE);
}
