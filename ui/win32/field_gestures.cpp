#include "ui/win32/field_gestures.h"

#include <commctrl.h>

namespace {
constexpr UINT_PTR kSubclassId = 2;
}

FieldGestures::~FieldGestures() {
  Detach();
}

bool FieldGestures::Attach(HWND edit, int altDownCommand, int doubleClickCommand) {
  Detach();
  if (!edit ||
      !SetWindowSubclass(edit, SubclassProc, kSubclassId, reinterpret_cast<DWORD_PTR>(this)))
    return false;
  edit_ = edit;
  altDownCommand_ = altDownCommand;
  doubleClickCommand_ = doubleClickCommand;
  return true;
}

void FieldGestures::Detach() {
  if (edit_ && IsWindow(edit_))
    RemoveWindowSubclass(edit_, SubclassProc, kSubclassId);
  edit_ = nullptr;
}

void FieldGestures::Send(int command) const {
  SendMessageW(GetParent(edit_), WM_COMMAND, MAKEWPARAM(command, 0),
               reinterpret_cast<LPARAM>(edit_));
}

LRESULT CALLBACK FieldGestures::SubclassProc(HWND hwnd, UINT message, WPARAM wParam,
                                             LPARAM lParam, UINT_PTR, DWORD_PTR data) {
  auto* self = reinterpret_cast<FieldGestures*>(data);
  switch (message) {
    case WM_SYSKEYDOWN:
      if (wParam == VK_DOWN && self->altDownCommand_ != 0) {
        self->Send(self->altDownCommand_);
        return 0;
      }
      break;
    case WM_LBUTTONDBLCLK:
      if (self->doubleClickCommand_ != 0) {
        // The field places the caret on the clicked line first.
        LRESULT result = DefSubclassProc(hwnd, message, wParam, lParam);
        self->Send(self->doubleClickCommand_);
        return result;
      }
      break;
    case WM_NCDESTROY:
      RemoveWindowSubclass(hwnd, SubclassProc, kSubclassId);
      self->edit_ = nullptr;
      break;
  }
  return DefSubclassProc(hwnd, message, wParam, lParam);
}
