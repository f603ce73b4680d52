// The question asked, on the window thread, before one match of a run is changed.
#pragma once

#include <string>

#include "run/record/file_result.h"
#include "ui/win32/dialog.h"

class CConfirmDlg : public Dialog {
 public:
  // `change`, when given, is shown under the position: the lines before and after.
  CConfirmDlg(HWND parent, std::u16string fullPath, const CFileResult::replace_info& position,
              const ChangeLines* change = nullptr);

  // Runs the dialog; the result is a ConfirmAnswer value (Yes 0, No 1, YesToAll 2, NoToAll 3).

 protected:
  bool OnInitDialog() override;
  bool OnCommand(int id, int code, HWND control) override;

 private:
  std::u16string fullPath_;
  CFileResult::replace_info position_;
  const ChangeLines* change_;
};
