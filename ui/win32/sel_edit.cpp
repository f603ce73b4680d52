#include "ui/win32/sel_edit.h"

#include <commctrl.h>

namespace {
constexpr UINT_PTR kSubclassId = 1;
}

CSelEdit::~CSelEdit() {
  Detach();
}

bool CSelEdit::Attach(HWND edit) {
  Detach();
  if (!edit ||
      !SetWindowSubclass(edit, SubclassProc, kSubclassId, reinterpret_cast<DWORD_PTR>(this)))
    return false;
  edit_ = edit;
  return true;
}

void CSelEdit::Detach() {
  if (edit_ && IsWindow(edit_))
    RemoveWindowSubclass(edit_, SubclassProc, kSubclassId);
  edit_ = nullptr;
}

void CSelEdit::OnLButtonDown(UINT message, WPARAM wParam, LPARAM lParam) {
  DefSubclassProc(edit_, message, wParam, lParam);
}

void CSelEdit::OnSetFocus(UINT message, WPARAM wParam, LPARAM lParam) {
  DefSubclassProc(edit_, message, wParam, lParam);
}

LRESULT CALLBACK CSelEdit::SubclassProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam,
                                        UINT_PTR, DWORD_PTR data) {
  auto* self = reinterpret_cast<CSelEdit*>(data);
  switch (message) {
    case WM_LBUTTONDOWN:
      self->OnLButtonDown(message, wParam, lParam);
      return 0;
    case WM_SETFOCUS:
      self->OnSetFocus(message, wParam, lParam);
      return 0;
    case WM_NCDESTROY:
      RemoveWindowSubclass(hwnd, SubclassProc, kSubclassId);
      self->edit_ = nullptr;
      break;
  }
  return DefSubclassProc(hwnd, message, wParam, lParam);
}
