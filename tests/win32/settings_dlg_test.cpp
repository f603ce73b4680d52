#include "ui/win32/settings_dlg.h"

#include <gtest/gtest.h>

#include <commctrl.h>
#include <shlwapi.h>

#include <vector>

#include "platform/win32/wide.h"
#include "resource.h"
#include "ui/win32/controls.h"
#include "ui/win32/modal_hooks.h"

namespace {

// Visible by its own style: the modal dialog itself is not shown yet while the hook runs.
bool Shown(HWND window) {
  return (GetWindowLongW(window, GWL_STYLE) & WS_VISIBLE) != 0;
}

bool Checked(CSettingsDlg& dialog, int id) {
  return SendMessageW(dialog.Control(id), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void Click(CSettingsDlg& dialog, int id) {
  // A click as the page forwards it: from the control's own page.
  HWND control = dialog.Control(id);
  SendMessageW(control, BM_CLICK, 0, 0);
}

int Selection(CSettingsDlg& dialog, int id) {
  return static_cast<int>(SendMessageW(dialog.Control(id), CB_GETCURSEL, 0, 0));
}

std::u16string SelectedText(CSettingsDlg& dialog, int id) {
  wchar_t text[128] = {};
  SendMessageW(dialog.Control(id), CB_GETLBTEXT, Selection(dialog, id),
               reinterpret_cast<LPARAM>(text));
  return platform::FromWide(text);
}

// Runs the dialog modally with `act` playing the user; returns the dialog's result.
template <typename Act>
INT_PTR RunModal(CSettingsDlg& dialog, Act act) {
  SetModalDialogHook([&](Dialog&) -> std::optional<INT_PTR> {
    act();
    return std::nullopt;
  });
  INT_PTR result = dialog.DoModal();
  SetModalDialogHook(nullptr);
  return result;
}

class SettingsDialog : public ::testing::Test {
 protected:
  void TearDown() override { SetMessageBoxHook(nullptr); }
};

}  // namespace

TEST_F(SettingsDialog, FreshStartState) {
  CSettingsDlg dialog;
  RunModal(dialog, [&] {
    EXPECT_EQ(GetWindowTextU16(dialog.hwnd()), u"Program Settings");
    HWND tabs = dialog.Item(IDC_SETTINGS_TABS);
    EXPECT_EQ(SendMessageW(tabs, TCM_GETITEMCOUNT, 0, 0), 5);
    EXPECT_TRUE(Shown(dialog.Page(0)));
    EXPECT_FALSE(Shown(dialog.Page(1)));
    EXPECT_TRUE(Checked(dialog, IDC_SEARCH_HIDDEN));
    EXPECT_FALSE(Checked(dialog, IDC_REPLACE_READ_ONLY));
    EXPECT_FALSE(Checked(dialog, IDC_KEEP_FILE_DATE));
    EXPECT_TRUE(Checked(dialog, IDC_TRIM_NEW_LINES));
    EXPECT_FALSE(Checked(dialog, IDC_SEARCH_ONLINE_ONLY));
    EXPECT_EQ(GetWindowTextU16(dialog.Control(IDC_MAX_FILES)), u"0");
    EXPECT_FALSE(Checked(dialog, IDC_SAVE_ERROR_LOG));
    EXPECT_FALSE(IsWindowEnabled(dialog.Control(IDC_LOG_DIRECTORY)));
    std::u16string folder = GetWindowTextU16(dialog.Control(IDC_LOG_DIRECTORY));
    EXPECT_EQ(folder, DefaultSettingsDirectory());
    EXPECT_TRUE(folder.ends_with(u"\\VOXA"));
    EXPECT_TRUE(PathIsDirectoryW(platform::Wide(folder))) << "created when missing";
    EXPECT_EQ(SendMessageW(dialog.Control(IDC_INPUT_CODE_PAGE), CB_GETCOUNT, 0, 0), 154);
    EXPECT_EQ(SendMessageW(dialog.Control(IDC_OUTPUT_CODE_PAGE), CB_GETCOUNT, 0, 0), 154);
    EXPECT_EQ(SelectedText(dialog, IDC_INPUT_CODE_PAGE), u"ASCII");
    EXPECT_EQ(SelectedText(dialog, IDC_OUTPUT_CODE_PAGE), u"ASCII");
    EXPECT_TRUE(Checked(dialog, IDC_SAME_AS_INPUT));
    EXPECT_FALSE(IsWindowEnabled(dialog.Control(IDC_OUTPUT_CODE_PAGE)));
    EXPECT_TRUE(Checked(dialog, IDC_NEWLINE_AS_IN_FILE));
    EXPECT_FALSE(Shown(dialog.Control(IDC_LOG_TYPE)));
    // The second tab shows the Results page.
    SendMessageW(tabs, TCM_SETCURSEL, 1, 0);
    NMHDR change{tabs, IDC_SETTINGS_TABS, TCN_SELCHANGE};
    SendMessageW(dialog.hwnd(), WM_NOTIFY, IDC_SETTINGS_TABS, reinterpret_cast<LPARAM>(&change));
    EXPECT_TRUE(Shown(dialog.Page(1)));
    EXPECT_FALSE(Shown(dialog.Page(0)));
    // The fourth, "Restore", shows the backup page with its default folder.
    wchar_t title[32] = {};
    TCITEMW item{};
    item.mask = TCIF_TEXT;
    item.pszText = title;
    item.cchTextMax = 32;
    SendMessageW(tabs, TCM_GETITEMW, 3, reinterpret_cast<LPARAM>(&item));
    EXPECT_EQ(platform::FromWide(title), u"Restore");
    SendMessageW(tabs, TCM_SETCURSEL, 3, 0);
    SendMessageW(dialog.hwnd(), WM_NOTIFY, IDC_SETTINGS_TABS, reinterpret_cast<LPARAM>(&change));
    EXPECT_TRUE(Shown(dialog.Page(3)));
    EXPECT_FALSE(Shown(dialog.Page(1)));
    EXPECT_TRUE(Checked(dialog, IDC_MAKE_BACKUP));
    EXPECT_EQ(GetWindowTextU16(dialog.Control(IDC_BACKUP_DIRECTORY)), folder);
    SendMessageW(dialog.hwnd(), WM_COMMAND, IDCANCEL, 0);
  });
}

TEST_F(SettingsDialog, MissingLogFolderKeepsTheDialogOpenAndChangesNothing) {
  CSettingsDlg dialog;
  std::u16string shown;
  SetMessageBoxHook([&](HWND, const std::u16string& text, const std::u16string& caption, UINT) {
    shown = text + u"|" + caption;
    return IDOK;
  });
  bool stillOpen = false;
  INT_PTR result = RunModal(dialog, [&] {
    Click(dialog, IDC_SAVE_ERROR_LOG);
    EXPECT_TRUE(IsWindowEnabled(dialog.Control(IDC_LOG_DIRECTORY)));
    SetWindowTextW(dialog.Control(IDC_LOG_DIRECTORY), L"C:\\no\\such\\folder");
    SendMessageW(dialog.Control(IDC_KEEP_FILE_DATE), BM_SETCHECK, BST_CHECKED, 0);
    SendMessageW(dialog.hwnd(), WM_COMMAND, IDOK, 0);
    stillOpen = IsWindow(dialog.hwnd()) != FALSE;
    SendMessageW(dialog.hwnd(), WM_COMMAND, IDCANCEL, 0);
  });
  EXPECT_TRUE(stillOpen);
  EXPECT_EQ(result, IDCANCEL);
  EXPECT_EQ(shown,
            u"Selected log path does not exists. Please choose the existing directory.|Error");
  EXPECT_EQ(dialog.settings.keepFileDate, 0);
  EXPECT_EQ(dialog.settings.saveErrorLog, 0);
}

TEST_F(SettingsDialog, SameAsInputFollowsTheInputList) {
  CSettingsDlg dialog;
  dialog.settings.inputCodePage = 1252;
  dialog.settings.outputCodePage = 65001;
  INT_PTR result = RunModal(dialog, [&] {
    EXPECT_FALSE(Checked(dialog, IDC_SAME_AS_INPUT)) << "different code pages";
    EXPECT_TRUE(IsWindowEnabled(dialog.Control(IDC_OUTPUT_CODE_PAGE)));
    Click(dialog, IDC_SAME_AS_INPUT);
    EXPECT_EQ(Selection(dialog, IDC_OUTPUT_CODE_PAGE), Selection(dialog, IDC_INPUT_CODE_PAGE));
    // Choosing another input code page moves the output list along.
    HWND input = dialog.Control(IDC_INPUT_CODE_PAGE);
    int utf16be = static_cast<int>(SendMessageW(input, CB_FINDSTRINGEXACT, -1,
                                                reinterpret_cast<LPARAM>(L"Unicode (UTF-16BE)")));
    SendMessageW(input, CB_SETCURSEL, utf16be, 0);
    SendMessageW(GetParent(input), WM_COMMAND, MAKEWPARAM(IDC_INPUT_CODE_PAGE, CBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(input));
    EXPECT_EQ(Selection(dialog, IDC_OUTPUT_CODE_PAGE), utf16be);
    SendMessageW(dialog.hwnd(), WM_COMMAND, IDOK, 0);
  });
  EXPECT_EQ(result, IDOK);
  EXPECT_EQ(dialog.settings.inputCodePage, -2);
  EXPECT_EQ(dialog.settings.outputCodePage, -2);
}

TEST_F(SettingsDialog, OnlineOnlyBoxIsTakenOverOnOk) {
  CSettingsDlg dialog;
  INT_PTR result = RunModal(dialog, [&] {
    Click(dialog, IDC_SEARCH_ONLINE_ONLY);
    SendMessageW(dialog.hwnd(), WM_COMMAND, IDOK, 0);
  });
  EXPECT_EQ(result, IDOK);
  EXPECT_EQ(dialog.settings.searchOnlineOnly, 1);
}

TEST_F(SettingsDialog, FiltersTabShowsItsPageAndOkTakesTheFiltersOver) {
  CSettingsDlg dialog;
  std::u16string shown;
  SetMessageBoxHook([&](HWND, const std::u16string& text, const std::u16string&, UINT) {
    shown = text;
    return IDOK;
  });
  INT_PTR result = RunModal(dialog, [&] {
    EXPECT_TRUE(Checked(dialog, IDC_SKIP_BINARY));
    EXPECT_TRUE(Checked(dialog, IDC_USE_BYTE_ORDER_MARKS));
    HWND tabs = dialog.Item(IDC_SETTINGS_TABS);
    SendMessageW(tabs, TCM_SETCURSEL, 4, 0);
    NMHDR change{tabs, IDC_SETTINGS_TABS, static_cast<UINT>(TCN_SELCHANGE)};
    SendMessageW(dialog.hwnd(), WM_NOTIFY, IDC_SETTINGS_TABS, reinterpret_cast<LPARAM>(&change));
    EXPECT_TRUE(Shown(dialog.Page(4)));
    EXPECT_FALSE(Shown(dialog.Page(0)));
    Click(dialog, IDC_SKIP_BINARY);
    Click(dialog, IDC_USE_BYTE_ORDER_MARKS);
    SetWindowTextW(dialog.Control(IDC_MIN_SIZE), L"1K");
    SetWindowTextW(dialog.Control(IDC_MODIFIED_AFTER), L"7 days");
    SendMessageW(dialog.hwnd(), WM_COMMAND, IDOK, 0);
    EXPECT_EQ(shown.substr(0, 21), u"Not a date: \"7 days\".");
    SetWindowTextW(dialog.Control(IDC_MODIFIED_AFTER), L"7d");
    SendMessageW(dialog.hwnd(), WM_COMMAND, IDOK, 0);
  });
  EXPECT_EQ(result, IDOK);
  EXPECT_EQ(dialog.settings.skipBinaryFiles, 0);
  EXPECT_EQ(dialog.settings.useByteOrderMarks, 0);
  EXPECT_EQ(dialog.settings.minFileSize, u"1K");
  EXPECT_EQ(dialog.settings.modifiedAfter, u"7d");
}

TEST_F(SettingsDialog, ResetAllSettingsAsksFirst) {
  for (int answer : {IDNO, IDYES}) {
    CSettingsDlg dialog;
    dialog.settings.keepFileDate = 1;
    dialog.settings.backupDirectory = u"C:\\Backup";
    bool mainReset = false;
    dialog.onResetMainOptions = [&] { mainReset = true; };
    std::u16string question;
    SetMessageBoxHook([&](HWND, const std::u16string& text, const std::u16string& caption, UINT) {
      question = text + u"|" + caption;
      return answer;
    });
    INT_PTR result = RunModal(dialog, [&] {
      Click(dialog, IDC_RESET_ALL);
      if (answer == IDNO)
        SendMessageW(dialog.hwnd(), WM_COMMAND, IDCANCEL, 0);
    });
    EXPECT_EQ(question, u"Are you sure?|Reset All Settings To Default");
    if (answer == IDNO) {
      EXPECT_EQ(result, IDCANCEL);
      EXPECT_FALSE(mainReset);
      EXPECT_EQ(dialog.settings.keepFileDate, 1);
    } else {
      EXPECT_EQ(result, IDOK);
      EXPECT_TRUE(mainReset);
      EXPECT_EQ(dialog.settings.keepFileDate, 0);
      EXPECT_EQ(dialog.settings.backupDirectory, u"C:\\Backup");
    }
  }
}

TEST_F(SettingsDialog, HelpFailureNamesTheParameters) {
  CSettingsDlg dialog;
  std::u16string file, parameters, shown;
  SetShellOpenHook([&](HWND, const std::u16string& f, const std::u16string& p) -> INT_PTR {
    file = f;
    parameters = p;
    return 2;  // file not found
  });
  SetMessageBoxHook([&](HWND, const std::u16string& text, const std::u16string&, UINT) {
    shown = text;
    return IDOK;
  });
  RunModal(dialog, [&] {
    Click(dialog, IDC_SETTINGS_HELP);
    SendMessageW(dialog.hwnd(), WM_COMMAND, IDCANCEL, 0);
  });
  SetShellOpenHook(nullptr);
  EXPECT_EQ(file, u"hh.exe");
  EXPECT_TRUE(parameters.starts_with(u"its:"));
  EXPECT_TRUE(parameters.ends_with(u"\\VOXAHELP.chm::/Settings.html"));
  EXPECT_EQ(shown, u"Couldn't open help file: " + parameters);
}

TEST_F(SettingsDialog, TabGoesFromTheStripIntoThePageThenToTheButtons) {
  CSettingsDlg dialog;
  std::vector<int> order;
  RunModal(dialog, [&] {
    ShowWindow(dialog.hwnd(), SW_SHOW);
    HWND start = dialog.Item(IDC_SETTINGS_TABS);
    HWND at = start;
    do {
      at = GetNextDlgTabItem(dialog.hwnd(), at, FALSE);
      order.push_back(GetDlgCtrlID(at));
    } while (at && at != start && order.size() < 20);
    SendMessageW(dialog.hwnd(), WM_COMMAND, IDCANCEL, 0);
  });
  EXPECT_EQ(order, (std::vector<int>{IDC_SEARCH_HIDDEN, IDC_REPLACE_READ_ONLY, IDC_KEEP_FILE_DATE,
                                     IDC_TRIM_NEW_LINES, IDC_SEARCH_ONLINE_ONLY, IDC_SKIP_BINARY,
                                     IDC_EDITOR_COMMAND, IDC_RESET_ALL, IDOK,
                                     IDCANCEL, IDC_SETTINGS_HELP, IDC_SETTINGS_TABS}));
}

TEST_F(SettingsDialog, DpiChangeScalesThePagesToo) {
  CSettingsDlg dialog;
  ASSERT_TRUE(dialog.Create(nullptr));
  auto placeOf = [&](int id) {
    RECT rect{};
    HWND control = dialog.Control(id);
    GetWindowRect(control, &rect);
    MapWindowPoints(nullptr, GetParent(control), reinterpret_cast<POINT*>(&rect), 2);
    return rect;
  };
  auto fontHeight = [&](int id) {
    LOGFONTW font{};
    GetObjectW(reinterpret_cast<HFONT>(SendMessageW(dialog.Control(id), WM_GETFONT, 0, 0)),
               sizeof font, &font);
    return font.lfHeight;
  };
  const int ids[] = {IDC_SETTINGS_TABS, IDC_SEARCH_HIDDEN, IDC_MAX_FILES, IDC_SAME_AS_INPUT};
  std::vector<RECT> before;
  for (int id : ids)
    before.push_back(placeOf(id));
  LONG height = fontHeight(IDC_SEARCH_HIDDEN);
  RECT window{};
  GetWindowRect(dialog.hwnd(), &window);
  window.right = window.left + (window.right - window.left) * 3 / 2;
  window.bottom = window.top + (window.bottom - window.top) * 3 / 2;
  SendMessageW(dialog.hwnd(), WM_DPICHANGED, MAKEWPARAM(144, 144),
               reinterpret_cast<LPARAM>(&window));
  auto scaled = [](LONG value) { return MulDiv(value, 3, 2); };
  for (size_t i = 0; i < std::size(ids); ++i) {
    RECT after = placeOf(ids[i]);
    EXPECT_NEAR(after.left, scaled(before[i].left), 1) << ids[i];
    EXPECT_NEAR(after.top, scaled(before[i].top), 1) << ids[i];
    EXPECT_NEAR(after.right - after.left, scaled(before[i].right - before[i].left), 1) << ids[i];
    EXPECT_NEAR(after.bottom - after.top, scaled(before[i].bottom - before[i].top), 1) << ids[i];
  }
  for (int id : {IDC_SEARCH_HIDDEN, IDC_MAX_FILES, IDC_INPUT_CODE_PAGE, IDOK})
    EXPECT_EQ(fontHeight(id), scaled(height)) << id;
}
