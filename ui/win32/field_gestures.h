// Two gestures of an edit field passed to its dialog as commands: Alt+Down (open the field's
// list of recent entries) and a double click (act on the line clicked).
#pragma once

#include <windows.h>

class FieldGestures {
 public:
  FieldGestures() = default;
  ~FieldGestures();
  FieldGestures(const FieldGestures&) = delete;
  FieldGestures& operator=(const FieldGestures&) = delete;

  // A command of 0 passes that gesture on to the field.
  bool Attach(HWND edit, int altDownCommand, int doubleClickCommand);
  void Detach();

 private:
  static LRESULT CALLBACK SubclassProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam,
                                       UINT_PTR id, DWORD_PTR data);
  void Send(int command) const;

  HWND edit_ = nullptr;
  int altDownCommand_ = 0;
  int doubleClickCommand_ = 0;
};
