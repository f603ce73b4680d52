#include "ui/win32/confirm_dlg.h"

#include "processing/change_lines.h"
#include "processing/confirmation_text.h"
#include "resource.h"
#include "run/record/run_types.h"
#include "ui/win32/controls.h"

CConfirmDlg::CConfirmDlg(HWND parent, std::u16string fullPath,
                         const CFileResult::replace_info& position, const ChangeLines* change)
    : Dialog(IDD_CONFIRM, parent),
      fullPath_(std::move(fullPath)),
      position_(position),
      change_(change) {}

bool CConfirmDlg::OnInitDialog() {
  Dialog::OnInitDialog();
  SetItemText(hwnd(), IDC_CONFIRM_MESSAGE, ConfirmationText(fullPath_, position_));
  if (change_)
    SetItemText(hwnd(), IDC_CONFIRM_CHANGE, ChangeLinesText(*change_));
  return true;
}

bool CConfirmDlg::OnCommand(int id, int, HWND) {
  ConfirmAnswer answer;
  switch (id) {
    case IDC_CONFIRM_YES:
      answer = ConfirmAnswer::Yes;
      break;
    case IDC_CONFIRM_YES_TO_ALL:
      answer = ConfirmAnswer::YesToAll;
      break;
    case IDC_CONFIRM_NO_TO_ALL:
      answer = ConfirmAnswer::NoToAll;
      break;
    case IDC_CONFIRM_NO:
    case IDOK:      // Enter: the dialog has no default button, so the safe answer
    case IDCANCEL:  // Escape
      answer = ConfirmAnswer::No;
      break;
    default:
      return false;
  }
  EndDialog(static_cast<INT_PTR>(answer));
  return true;
}
