// The search path field: a plain single-line edit whose click and focus handlers only pass the
// message on.
#pragma once

#include <windows.h>

class CSelEdit {
 public:
  CSelEdit() = default;
  ~CSelEdit();
  CSelEdit(const CSelEdit&) = delete;
  CSelEdit& operator=(const CSelEdit&) = delete;

  bool Attach(HWND edit);
  void Detach();
  HWND hwnd() const { return edit_; }

 private:
  static LRESULT CALLBACK SubclassProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam,
                                       UINT_PTR id, DWORD_PTR data);
  void OnLButtonDown(UINT message, WPARAM wParam, LPARAM lParam);
  void OnSetFocus(UINT message, WPARAM wParam, LPARAM lParam);

  HWND edit_ = nullptr;
};
