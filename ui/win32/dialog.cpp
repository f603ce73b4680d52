#include "ui/win32/dialog.h"

#include "ui/win32/application.h"
#include "ui/win32/dpi.h"
#include "ui/win32/modal_hooks.h"
#include "ui/win32/window_placement.h"

Dialog::Dialog(UINT templateId, HWND parent) : templateId_(templateId), parent_(parent) {}

Dialog::~Dialog() {
  if (hwnd_) {
    SetWindowLongPtrW(hwnd_, DWLP_USER, 0);
    DestroyWindow(hwnd_);
  }
  if (dpiFont_)
    DeleteObject(dpiFont_);
}

HFONT Dialog::font() const {
  if (dpiFont_)
    return dpiFont_;
  return hwnd_ ? reinterpret_cast<HFONT>(SendMessageW(hwnd_, WM_GETFONT, 0, 0)) : nullptr;
}

bool Dialog::Create(HWND parent) {
  parent_ = parent;
  modal_ = false;
  HWND created = CreateDialogParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(templateId_),
                                    parent, DialogProc, reinterpret_cast<LPARAM>(this));
  return created != nullptr;
}

INT_PTR Dialog::DoModal() {
  modal_ = true;
  ended_ = false;
  result_ = -1;
  HWND owner = parent_;
  if (!owner && Application::Current() && Application::Current()->mainWindow() &&
      IsWindow(Application::Current()->mainWindow()))
    owner = Application::Current()->mainWindow();
  HWND created = CreateDialogParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(templateId_), owner,
                                    DialogProc, reinterpret_cast<LPARAM>(this));
  if (!created)
    return -1;
  CentreWindow(created, owner);

  if (std::optional<INT_PTR> answer = AnswerModalDialog(*this)) {
    EndDialog(*answer);
  } else if (!ended_) {
    bool ownerWasEnabled = owner && IsWindowEnabled(owner);
    if (ownerWasEnabled)
      EnableWindow(owner, FALSE);
    ShowWindow(hwnd_, SW_SHOW);
    RunModalLoop();
    if (ownerWasEnabled) {
      EnableWindow(owner, TRUE);
      SetActiveWindow(owner);
    }
  }
  if (hwnd_)
    DestroyWindow(hwnd_);
  return result_;
}

void Dialog::RunModalLoop() {
  MSG message;
  while (!ended_ && hwnd_) {
    BOOL got = GetMessageW(&message, nullptr, 0, 0);
    if (got <= 0) {
      // Keep the quit request for the outer loop.
      if (got == 0)
        PostQuitMessage(static_cast<int>(message.wParam));
      break;
    }
    if (Application::Current() && Application::Current()->PreTranslateMessage(message))
      continue;
    if (hwnd_ && IsDialogMessageW(hwnd_, &message))
      continue;
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
}

void Dialog::EndDialog(INT_PTR result) {
  result_ = result;
  ended_ = true;
  if (!modal_ && hwnd_)
    DestroyWindow(hwnd_);
  // Wake the modal loop so that it notices the end.
  if (modal_)
    PostMessageW(hwnd_, WM_NULL, 0, 0);
}

bool Dialog::OnCommand(int id, int, HWND) {
  if (id == IDOK || id == IDCANCEL) {
    EndDialog(id);
    return true;
  }
  return false;
}

bool Dialog::OnNotify(NMHDR&, LRESULT&) {
  return false;
}

void Dialog::OnSize(UINT, int, int) {}

bool Dialog::OnMessage(UINT, WPARAM, LPARAM, LRESULT&) {
  return false;
}

LRESULT Dialog::DefaultProcessing(UINT message, WPARAM wParam, LPARAM lParam) {
  // DefDlgProcW calls back into the dialog procedure; inDefault_ makes that call fall through.
  inDefault_ = true;
  LRESULT result = DefDlgProcW(hwnd_, message, wParam, lParam);
  inDefault_ = false;
  return result;
}

INT_PTR CALLBACK Dialog::DialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  Dialog* self;
  if (message == WM_INITDIALOG) {
    self = reinterpret_cast<Dialog*>(lParam);
    self->hwnd_ = hwnd;
    SetWindowLongPtrW(hwnd, DWLP_USER, reinterpret_cast<LONG_PTR>(self));
  } else {
    self = reinterpret_cast<Dialog*>(GetWindowLongPtrW(hwnd, DWLP_USER));
  }
  if (!self || self->inDefault_)
    return FALSE;
  return self->HandleMessage(message, wParam, lParam);
}

INT_PTR Dialog::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  LRESULT result = 0;
  if (OnMessage(message, wParam, lParam, result)) {
    // These messages take their result as the procedure's return value.
    switch (message) {
      case WM_CTLCOLORMSGBOX:
      case WM_CTLCOLOREDIT:
      case WM_CTLCOLORLISTBOX:
      case WM_CTLCOLORBTN:
      case WM_CTLCOLORDLG:
      case WM_CTLCOLORSCROLLBAR:
      case WM_CTLCOLORSTATIC:
      case WM_COMPAREITEM:
      case WM_VKEYTOITEM:
      case WM_CHARTOITEM:
      case WM_QUERYDRAGICON:
      case WM_INITDIALOG:
        return static_cast<INT_PTR>(result);
      default:
        SetWindowLongPtrW(hwnd_, DWLP_MSGRESULT, result);
        return TRUE;
    }
  }
  switch (message) {
    case WM_INITDIALOG:
      dpi_ = WindowDpi(hwnd_);
      KeepDpiChangesToOurselves(hwnd_);
      return OnInitDialog() ? TRUE : FALSE;
    case WM_DPICHANGED:
      ApplyDpi(LOWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
      SetWindowLongPtrW(hwnd_, DWLP_MSGRESULT, 0);
      return TRUE;
    case WM_COMMAND:
      return OnCommand(LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HWND>(lParam)) ? TRUE
                                                                                       : FALSE;
    case WM_NOTIFY:
      if (OnNotify(*reinterpret_cast<NMHDR*>(lParam), result)) {
        SetWindowLongPtrW(hwnd_, DWLP_MSGRESULT, result);
        return TRUE;
      }
      return FALSE;
    case WM_SIZE:
      OnSize(static_cast<UINT>(wParam), LOWORD(lParam), HIWORD(lParam));
      return FALSE;
    case WM_NCDESTROY: {
      HWND gone = hwnd_;
      hwnd_ = nullptr;
      SetWindowLongPtrW(gone, DWLP_USER, 0);
      OnDestroyed();
      return FALSE;
    }
    default:
      return FALSE;
  }
}

void Dialog::ApplyDpi(int newDpi, const RECT& suggested) {
  int oldDpi = dpi_;
  if (newDpi > 0 && newDpi != oldDpi) {
    dpi_ = newDpi;
    HFONT oldFont = font();
    HFONT newFont = ScaledFont(oldFont, oldDpi, newDpi);
    ScaleControls(hwnd_, oldFont, newFont, oldDpi, newDpi);
    if (newFont) {
      if (dpiFont_)
        DeleteObject(dpiFont_);
      dpiFont_ = newFont;
    }
    OnDpiChanged(oldDpi, newDpi);
  }
  SetWindowPos(hwnd_, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
               suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
}
