#include "ui/win32/voxa_app.h"

#include <commctrl.h>
#include <ole2.h>

#include "resource.h"
#include "ui/start_paths.h"
#include "ui/win32/voxa_dlg.h"

void CVOXAApp::LoadAcceleratorTable() {
  accelerators_ = ::LoadAcceleratorsW(instance(), MAKEINTRESOURCEW(IDR_ACCELERATORS));
}

bool CVOXAApp::InitInstance() {
  INITCOMMONCONTROLSEX controls{sizeof(INITCOMMONCONTROLSEX), 0xFF};
  InitCommonControlsEx(&controls);
  LoadAcceleratorTable();
  Application::InitInstance();
  SetRegistryKey(u"Local AppWizard-Generated Applications");

  {
    CVOXADlg dialog;
    dialog.startFolders = SplitCommandLine(commandLine_);
    dialog.DoModal();
    OleUninitialize();
  }
  return false;
}

bool CVOXAApp::PreTranslateMessage(MSG& message) {
  HWND main = mainWindow();
  if (accelerators_ && main && IsWindow(main) &&
      (message.hwnd == main || IsChild(main, message.hwnd)) &&
      TranslateAcceleratorW(main, accelerators_, &message))
    return true;
  return Application::PreTranslateMessage(message);
}
