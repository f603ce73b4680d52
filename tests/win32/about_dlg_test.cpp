#include "ui/win32/about_dlg.h"

#include <gtest/gtest.h>

#include "resource.h"
#include "ui/win32/controls.h"
#include "ui/win32/modal_hooks.h"
#include "voxalon_version.h"

TEST(AboutDialog, ShowsTheProductVersionAndTheLinkCursor) {
  EXPECT_EQ(VersionCaption(), u"Voxalon (Version " VOXALON_VERSION_TEXT_U16 ")");

  CAboutDlg dialog;
  std::u16string caption, version;
  bool messageShown = false;
  SetMessageBoxHook([&](HWND, const std::u16string&, const std::u16string&, UINT) {
    messageShown = true;
    return IDOK;
  });
  SetModalDialogHook([&](Dialog& shown) -> std::optional<INT_PTR> {
    caption = GetWindowTextU16(shown.hwnd());
    version = GetItemText(shown.hwnd(), IDC_ABOUT_VERSION);
    RECT link = dialog.LinkRect();
    // Over the link the cursor is the hand, just outside it the arrow.
    SendMessageW(shown.hwnd(), WM_MOUSEMOVE, 0, MAKELPARAM(link.left + 2, link.top + 2));
    EXPECT_EQ(GetCursor(), LoadCursorW(nullptr, IDC_HAND));
    SendMessageW(shown.hwnd(), WM_MOUSEMOVE, 0, MAKELPARAM(link.left - 1, link.top + 2));
    EXPECT_EQ(GetCursor(), LoadCursorW(nullptr, IDC_ARROW));
    // A click just outside the link does nothing.
    SendMessageW(shown.hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(link.right, link.bottom));
    return IDOK;
  });
  EXPECT_EQ(dialog.DoModal(), IDOK);
  SetModalDialogHook(nullptr);
  SetMessageBoxHook(nullptr);
  EXPECT_EQ(caption, u"About VOXA");
  EXPECT_EQ(version, u"Voxalon (Version " VOXALON_VERSION_TEXT_U16 ")");
  EXPECT_FALSE(messageShown);
}
