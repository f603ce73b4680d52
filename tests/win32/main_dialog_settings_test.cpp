#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include "platform/settings_key.h"
#include "resource.h"
#include "ui/win32/controls.h"
#include "ui/win32/modal_hooks.h"
#include "ui/win32/settings_dlg.h"
#include "ui/win32/voxa_dlg.h"

namespace {

class MainDialogSettings : public ::testing::Test {
 protected:
  void TearDown() override {
    SetMessageBoxHook(nullptr);
    SetModalDialogHook(nullptr);
  }

  MemorySettingsKeyStore store_;
};

bool Grayed(HMENU menu, int position) {
  return (GetMenuState(menu, position, MF_BYPOSITION) & MF_GRAYED) != 0;
}

}  // namespace

TEST_F(MainDialogSettings, FirstStartWritesTheWholeSet) {
  CVOXADlg dialog(nullptr, &store_);
  ASSERT_TRUE(dialog.Create(nullptr));
  EXPECT_EQ(store_.values.size(), 43u);
  EXPECT_EQ(GetItemText(dialog.hwnd(), IDC_MASKS), u"\"*.*\"");
}

TEST_F(MainDialogSettings, FieldsAndOptionsSurviveARestart) {
  {
    CVOXADlg first(nullptr, &store_);
    ASSERT_TRUE(first.Create(nullptr));
    SetItemText(first.hwnd(), IDC_SEARCH_PATH, u"\"C:\\Work\"");
    SetItemText(first.hwnd(), IDC_MASKS, u"\"*.txt\", \"*.htm\"");
    SetItemText(first.hwnd(), IDC_EXCLUDE, u".git\\, *.min.js");
    SetItemText(first.hwnd(), IDC_FIND_TEXT, u"not kept");
    SetItemChecked(first.hwnd(), IDC_RENAME_MODE, true);
    SetItemChecked(first.hwnd(), IDC_INCLUDE_SUBFOLDERS, false);
    SetComboSelection(first.hwnd(), IDC_ACTION, 2);
    first.recentFolders = {u"C:\\Work", u"C:\\Old"};
    first.settings.keepFileDate = 1;
    SendMessageW(first.hwnd(), WM_CLOSE, 0, 0);  // Close saves
  }
  CVOXADlg second(nullptr, &store_);
  ASSERT_TRUE(second.Create(nullptr));
  HWND dlg = second.hwnd();
  EXPECT_EQ(GetItemText(dlg, IDC_SEARCH_PATH), u"\"C:\\Work\"");
  EXPECT_EQ(GetItemText(dlg, IDC_MASKS), u"\"*.txt\", \"*.htm\"");
  EXPECT_EQ(GetItemText(dlg, IDC_EXCLUDE), u".git\\, *.min.js");
  EXPECT_EQ(GetItemText(dlg, IDC_FIND_TEXT), u"") << "the text fields start empty";
  EXPECT_TRUE(IsItemChecked(dlg, IDC_RENAME_MODE));
  EXPECT_FALSE(IsItemChecked(dlg, IDC_INCLUDE_SUBFOLDERS));
  EXPECT_FALSE(IsWindowEnabled(GetDlgItem(dlg, IDC_USE_VARIABLES))) << "rename mode was on";
  EXPECT_EQ(GetComboSelection(dlg, IDC_ACTION), 2);
  EXPECT_EQ(second.recentFolders, (std::vector<std::u16string>{u"C:\\Work", u"C:\\Old"}));
  EXPECT_EQ(second.settings.keepFileDate, 1);
}

TEST_F(MainDialogSettings, SettingsOkTakesTheCopyOverSavesAndUpdatesTheMenu) {
  CVOXADlg dialog(nullptr, &store_);
  ASSERT_TRUE(dialog.Create(nullptr));
  HMENU file = GetSubMenu(dialog.menu(), 0);
  EXPECT_TRUE(Grayed(file, 1));
  SetModalDialogHook([](Dialog& shown) -> std::optional<INT_PTR> {
    auto& settingsDialog = static_cast<CSettingsDlg&>(shown);
    SendMessageW(settingsDialog.Control(IDC_SAVE_ERROR_LOG), BM_CLICK, 0, 0);
    SendMessageW(settingsDialog.Control(IDC_KEEP_FILE_DATE), BM_CLICK, 0, 0);
    SendMessageW(shown.hwnd(), WM_COMMAND, IDOK, 0);
    return std::nullopt;
  });
  SendMessageW(dialog.hwnd(), WM_COMMAND, ID_FILE_SETTINGS, 0);
  EXPECT_EQ(dialog.settings.saveErrorLog, 1);
  EXPECT_EQ(dialog.settings.keepFileDate, 1);
  EXPECT_EQ(dialog.settings.logDirectory, DefaultSettingsDirectory());
  EXPECT_FALSE(Grayed(file, 1)) << "Open Error Log follows the setting";
  EXPECT_EQ(store_.values[u"1"].bytes, (std::vector<unsigned char>{1, 0, 0, 0}));
}

TEST_F(MainDialogSettings, ResetAllSettingsResetsTheMainOptions) {
  CVOXADlg dialog(nullptr, &store_);
  ASSERT_TRUE(dialog.Create(nullptr));
  HWND dlg = dialog.hwnd();
  SetItemChecked(dlg, IDC_RENAME_MODE, true);
  SetItemChecked(dlg, IDC_USE_REGEX, true);
  EnableItem(dlg, IDC_USE_VARIABLES, false);
  SetComboSelection(dlg, IDC_ACTION, 1);
  dialog.settings.maxFilesShown = 5;
  SetMessageBoxHook([](HWND, const std::u16string&, const std::u16string&, UINT) { return IDYES; });
  SetModalDialogHook([](Dialog& shown) -> std::optional<INT_PTR> {
    SendMessageW(static_cast<CSettingsDlg&>(shown).Control(IDC_RESET_ALL), BM_CLICK, 0, 0);
    return std::nullopt;
  });
  SendMessageW(dlg, WM_COMMAND, ID_FILE_SETTINGS, 0);
  EXPECT_EQ(GetComboSelection(dlg, IDC_ACTION), 0);
  EXPECT_FALSE(IsItemChecked(dlg, IDC_RENAME_MODE));
  EXPECT_FALSE(IsItemChecked(dlg, IDC_USE_REGEX));
  EXPECT_TRUE(IsItemChecked(dlg, IDC_INCLUDE_SUBFOLDERS));
  EXPECT_TRUE(IsWindowEnabled(GetDlgItem(dlg, IDC_USE_VARIABLES)));
  EXPECT_EQ(dialog.settings.maxFilesShown, 0);
}

TEST_F(MainDialogSettings, FailedSaveIsShownOnExitButNotAtStartUp) {
  store_.writeProtected = true;
  int messages = 0;
  SetMessageBoxHook([&](HWND, const std::u16string& text, const std::u16string& caption, UINT) {
    EXPECT_EQ(text, u"Couldn't save program settings");
    EXPECT_EQ(caption, u"Error");
    ++messages;
    return IDOK;
  });
  CVOXADlg dialog(nullptr, &store_);
  ASSERT_TRUE(dialog.Create(nullptr));
  EXPECT_EQ(messages, 0) << "the start-up recovery save is quiet";
  SendMessageW(dialog.hwnd(), WM_COMMAND, ID_FILE_EXIT, 0);
  EXPECT_EQ(messages, 1);
}
