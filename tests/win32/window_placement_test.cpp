#include "ui/win32/window_placement.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <functional>
#include <memory>

#include "platform/settings_key.h"
#include "ui/win32/about_dlg.h"
#include "ui/win32/confirm_dlg.h"
#include "ui/win32/modal_hooks.h"
#include "ui/win32/select_items_dlg.h"
#include "ui/win32/settings_dlg.h"
#include "ui/win32/voxa_dlg.h"

namespace {

RECT WindowRect(HWND window) {
  RECT rect{};
  GetWindowRect(window, &rect);
  return rect;
}

// The window's rectangle as the modal run shows it.
RECT ShownRect(Dialog& dialog) {
  RECT shown{};
  SetModalDialogHook([&](Dialog& running) -> std::optional<INT_PTR> {
    shown = WindowRect(running.hwnd());
    return IDCANCEL;
  });
  dialog.DoModal();
  SetModalDialogHook(nullptr);
  return shown;
}

void ExpectCentredOn(const RECT& window, const RECT& around) {
  EXPECT_NEAR(window.left + window.right, around.left + around.right, 1);
  EXPECT_NEAR(window.top + window.bottom, around.top + around.bottom, 1);
}

void ExpectInside(const RECT& window, const RECT& area) {
  EXPECT_GE(window.left, area.left);
  EXPECT_GE(window.top, area.top);
  EXPECT_LE(window.right, area.right);
  EXPECT_LE(window.bottom, area.bottom);
}

class WindowPlacement : public ::testing::Test {
 protected:
  MemorySettingsKeyStore store_;
};

}  // namespace

TEST_F(WindowPlacement, MainWindowStartsCentredInTheWorkArea) {
  CVOXADlg dialog(nullptr, &store_);
  RECT shown = ShownRect(dialog);
  RECT area = WorkAreaOf(GetDesktopWindow());
  ExpectCentredOn(shown, area);
  ExpectInside(shown, area);
  EXPECT_GT(shown.left, area.left) << "not at the corner";
}

TEST_F(WindowPlacement, DialogsOpenCentredOnTheirOwnerInsideTheWorkArea) {
  CVOXADlg main(nullptr, &store_);
  ASSERT_TRUE(main.Create(nullptr));
  RECT area = WorkAreaOf(main.hwnd());
  RECT owner = WindowRect(main.hwnd());
  int width = owner.right - owner.left, height = owner.bottom - owner.top;
  using Make = std::function<std::unique_ptr<Dialog>(HWND)>;
  const std::pair<const char*, Make> dialogs[] = {
      {"settings", [](HWND o) { return std::make_unique<CSettingsDlg>(o); }},
      {"about", [](HWND o) { return std::make_unique<CAboutDlg>(o); }},
      {"confirm",
       [](HWND o) { return std::make_unique<CConfirmDlg>(o, u"C:\\a.txt", CFileResult::replace_info{}); }},
      {"select", [](HWND o) { return std::make_unique<CSelectItemsDlg>(o); }},
  };
  for (const auto& [name, make] : dialogs) {
    SCOPED_TRACE(name);
    // Owner in the middle of the work area: centred on it.
    SetWindowPos(main.hwnd(), nullptr, area.left + 40, area.top + 30, width, height,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    RECT shown = ShownRect(*make(main.hwnd()));
    ExpectCentredOn(shown, WindowRect(main.hwnd()));
    // Owner half off the screen's top-left: the dialog stays inside the work area.
    SetWindowPos(main.hwnd(), nullptr, area.left - width / 2 - 200, area.top - height / 2 - 200,
                 width, height, SWP_NOZORDER | SWP_NOACTIVATE);
    shown = ShownRect(*make(main.hwnd()));
    EXPECT_EQ(shown.left, area.left);
    EXPECT_EQ(shown.top, area.top);
  }
}
