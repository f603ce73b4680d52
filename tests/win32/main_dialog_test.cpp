#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include <string>
#include <vector>

#include "platform/win32/wide.h"
#include "resource.h"
#include "ui/win32/controls.h"
#include "ui/win32/voxa_dlg.h"

namespace {

std::u16string ClassOf(HWND window) {
  wchar_t name[64] = {};
  GetClassNameW(window, name, 64);
  return platform::FromWide(name);
}

LONG StyleOf(HWND window) {
  return GetWindowLongW(window, GWL_STYLE);
}

std::u16string MenuText(HMENU menu, int position) {
  wchar_t text[128] = {};
  GetMenuStringW(menu, position, text, 128, MF_BYPOSITION);
  return platform::FromWide(text);
}

struct MenuItem {
  std::u16string text;
  UINT id;  // 0 for a separator
};

std::vector<MenuItem> ItemsOf(HMENU menu) {
  std::vector<MenuItem> items;
  for (int i = 0; i < GetMenuItemCount(menu); ++i) {
    MENUITEMINFOW info = {};
    info.cbSize = sizeof info;
    info.fMask = MIIM_FTYPE | MIIM_ID;
    GetMenuItemInfoW(menu, i, TRUE, &info);
    items.push_back({info.fType & MFT_SEPARATOR ? u"" : MenuText(menu, i),
                     info.fType & MFT_SEPARATOR ? 0u : info.wID});
  }
  return items;
}

void ExpectItems(HMENU menu, const std::vector<MenuItem>& expected) {
  std::vector<MenuItem> items = ItemsOf(menu);
  ASSERT_EQ(items.size(), expected.size());
  for (size_t i = 0; i < items.size(); ++i) {
    EXPECT_EQ(items[i].text, expected[i].text) << "item " << i;
    EXPECT_EQ(items[i].id, expected[i].id) << "item " << i;
  }
}

class MainDialog : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    INITCOMMONCONTROLSEX controls{sizeof controls, 0xFF};
    InitCommonControlsEx(&controls);
  }
  void SetUp() override { ASSERT_TRUE(dialog_.Create(nullptr)); }

  HWND Dlg() const { return dialog_.hwnd(); }
  HWND Item(int id) const { return GetDlgItem(Dlg(), id); }

  MemorySettingsKeyStore store_;
  CVOXADlg dialog_{nullptr, &store_};
};

}  // namespace

TEST_F(MainDialog, CaptionAndStartSize) {
  EXPECT_EQ(GetWindowTextU16(Dlg()), u"Voxalon");
  RECT window{};
  GetWindowRect(Dlg(), &window);
  EXPECT_EQ(window.right - window.left, 700);
  EXPECT_EQ(window.bottom - window.top, 570);
  LONG style = StyleOf(Dlg());
  EXPECT_TRUE(style & WS_THICKFRAME);
  EXPECT_TRUE(style & WS_MINIMIZEBOX);
  EXPECT_TRUE(style & WS_MAXIMIZEBOX);
  EXPECT_TRUE(style & WS_SYSMENU);
}

TEST_F(MainDialog, ControlsHaveTheirKindsAndTexts) {
  struct Expected {
    int id;
    std::u16string kind;
    std::u16string text;
  };
  const Expected controls[] = {
      {IDC_SEARCH_OPTIONS, u"Button", u"Search Options"},
      {IDC_SEARCH_PATH, u"Edit", u""},
      {IDC_BROWSE, u"Button", u"Browse..."},
      {IDC_SELECT_PATHS, u"Button", u"Select..."},
      {IDC_RUN, u"Button", u"Run"},
      {IDC_STOP, u"Button", u"Stop"},
      {IDC_MASKS_LABEL, u"Static", u"Search masks:"},
      {IDC_MASKS, u"Edit", u"\"*.*\""},
      {IDC_SELECT_MASKS, u"Button", u"Select..."},
      {IDC_TEXT_OPTIONS, u"Button", u"Text Options"},
      {IDC_FIND_TEXT, u"Edit", u""},
      {IDC_REPLACE_TEXT, u"Edit", u""},
      {IDC_ACTION_LABEL, u"Static", u"Action type:"},
      {IDC_ACTION, u"ComboBox", u"Replace"},
      {IDC_INCLUDE_SUBFOLDERS, u"Button", u"Include subfolders"},
      {IDC_CASE_SENSITIVE, u"Button", u"Case sensitive"},
      {IDC_CONFIRM_REPLACE, u"Button", u"Confirm replace"},
      {IDC_RENAME_MODE, u"Button", u"Rename mode\n(search inside file names)"},
      {IDC_USE_REGEX, u"Button", u"Use regular expression"},
      {IDC_USE_VARIABLES, u"Button", u"Use variables"},
      {IDC_RESULTS_LABEL, u"Static", u"Search Results:"},
      {IDC_RESULTS, u"SysListView32", u""},
      {IDC_DETAILS, u"Edit", u""},
      {IDC_STATUS_BAR, u"msctls_statusbar32", u""},
  };
  for (const Expected& c : controls) {
    HWND control = Item(c.id);
    ASSERT_NE(control, nullptr) << c.id;
    EXPECT_EQ(ClassOf(control), c.kind) << c.id;
    if (c.kind != u"msctls_statusbar32") {
      EXPECT_EQ(GetWindowTextU16(control), c.text) << c.id;
    }
  }
}

TEST_F(MainDialog, ControlStyles) {
  for (int id : {IDC_FIND_TEXT, IDC_REPLACE_TEXT}) {
    LONG style = StyleOf(Item(id));
    EXPECT_TRUE(style & ES_MULTILINE) << id;
    EXPECT_TRUE(style & ES_WANTRETURN) << id;
    EXPECT_TRUE(style & ES_AUTOHSCROLL) << id << ": no word wrap";
    EXPECT_TRUE(style & WS_VSCROLL) << id;
  }
  EXPECT_TRUE(StyleOf(Item(IDC_SEARCH_PATH)) & ES_AUTOHSCROLL);
  EXPECT_TRUE(StyleOf(Item(IDC_MASKS)) & ES_AUTOHSCROLL);
  EXPECT_TRUE(StyleOf(Item(IDC_DETAILS)) & ES_READONLY) << "made read-only at start-up";
  EXPECT_EQ(StyleOf(Item(IDC_ACTION)) & 3, CBS_DROPDOWNLIST);
  EXPECT_TRUE(StyleOf(Item(IDC_RENAME_MODE)) & BS_MULTILINE);
  for (int id : {IDC_INCLUDE_SUBFOLDERS, IDC_CASE_SENSITIVE, IDC_CONFIRM_REPLACE, IDC_RENAME_MODE,
                 IDC_USE_REGEX, IDC_USE_VARIABLES})
    EXPECT_EQ(StyleOf(Item(id)) & BS_TYPEMASK, BS_AUTOCHECKBOX) << id;
  LONG list = StyleOf(Item(IDC_RESULTS));
  EXPECT_EQ(list & LVS_TYPEMASK, LVS_REPORT);
  EXPECT_TRUE(list & LVS_SINGLESEL);
  EXPECT_TRUE(list & LVS_SHOWSELALWAYS);
  EXPECT_TRUE(list & LVS_SORTASCENDING);
  EXPECT_TRUE(list & LVS_NOSORTHEADER);
}

TEST_F(MainDialog, ControlsSitAtTheirTemplatePositions) {
  struct Placement {
    int id;
    RECT units;  // x, y, width, height in dialog units
  };
  // Controls that the layout leaves where the template puts them.
  const Placement placements[] = {
      {IDC_BROWSE, {6, 48, 54, 14}},
      {IDC_SELECT_PATHS, {66, 48, 54, 14}},
      {IDC_RESULTS_LABEL, {6, 204, 51, 8}},
  };
  for (const Placement& p : placements) {
    // Position and size convert from dialog units separately, as the dialog manager does.
    RECT place{p.units.left, p.units.top, 0, 0};
    RECT size{0, 0, p.units.right, p.units.bottom};
    MapDialogRect(Dlg(), &place);
    MapDialogRect(Dlg(), &size);
    RECT actual{};
    GetWindowRect(Item(p.id), &actual);
    MapWindowPoints(nullptr, Dlg(), reinterpret_cast<POINT*>(&actual), 2);
    EXPECT_EQ(actual.left, place.left) << p.id;
    EXPECT_EQ(actual.top, place.top) << p.id;
    EXPECT_EQ(actual.right - actual.left, size.right) << p.id;
    EXPECT_EQ(actual.bottom - actual.top, size.bottom) << p.id;
  }
}

TEST_F(MainDialog, StartValues) {
  HWND combo = Item(IDC_ACTION);
  const std::u16string actions[] = {u"Replace",
                                    u"Find only",
                                    u"Delete",
                                    u"Place before",
                                    u"Place after",
                                    u"Add to file (file name) beginning",
                                    u"Add to file (file name) end"};
  ASSERT_EQ(SendMessageW(combo, CB_GETCOUNT, 0, 0), 7);
  for (int i = 0; i < 7; ++i) {
    wchar_t text[64] = {};
    SendMessageW(combo, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(text));
    EXPECT_EQ(platform::FromWide(text), actions[i]);
  }
  EXPECT_EQ(GetComboSelection(Dlg(), IDC_ACTION), 0);
  EXPECT_TRUE(IsItemChecked(Dlg(), IDC_INCLUDE_SUBFOLDERS));
  EXPECT_FALSE(IsItemChecked(Dlg(), IDC_RENAME_MODE));
  EXPECT_TRUE(IsWindowEnabled(Item(IDC_USE_VARIABLES)));
  EXPECT_EQ(dialog_.StatusText(), u"Ready");
}

TEST_F(MainDialog, ResultColumns) {
  HWND header = reinterpret_cast<HWND>(SendMessageW(Item(IDC_RESULTS), LVM_GETHEADER, 0, 0));
  ASSERT_EQ(SendMessageW(header, HDM_GETITEMCOUNT, 0, 0), 6);
  const std::u16string titles[] = {u"Name", u"Type", u"Size", u"Modified", u"Result", u"Path"};
  for (int i = 0; i < 6; ++i) {
    wchar_t text[32] = {};
    LVCOLUMNW column{};
    column.mask = LVCF_TEXT;
    column.pszText = text;
    column.cchTextMax = 32;
    SendMessageW(Item(IDC_RESULTS), LVM_GETCOLUMNW, i, reinterpret_cast<LPARAM>(&column));
    EXPECT_EQ(platform::FromWide(text), titles[i]);
  }
}

TEST_F(MainDialog, MenuBarWithoutUndo) {
  HMENU menu = GetMenu(Dlg());
  ASSERT_NE(menu, nullptr);
  ASSERT_EQ(GetMenuItemCount(menu), 3);
  EXPECT_EQ(MenuText(menu, 0), u"&File");
  EXPECT_EQ(MenuText(menu, 1), u"&Action");
  EXPECT_EQ(MenuText(menu, 2), u"&Help");
  ExpectItems(GetSubMenu(menu, 0), {{u"S&ettings...", ID_FILE_SETTINGS},
                                    {u"Open Error &Log...", ID_FILE_OPEN_ERROR_LOG},
                                    {u"", 0},
                                    {u"E&xit", ID_FILE_EXIT}});
  ExpectItems(GetSubMenu(menu, 1), {{u"&Run\tF5", ID_ACTION_RUN},
                                    {u"&Stop\tEsc", ID_ACTION_STOP},
                                    {u"", 0},
                                    {u"&Clear\tF6", ID_ACTION_CLEAR}});
  ExpectItems(GetSubMenu(menu, 2), {{u"&Help\tF1", ID_HELP_HELP}, {u"&About...", ID_HELP_ABOUT}});
  // The error log is off by default, so its command is grayed.
  EXPECT_TRUE(GetMenuState(GetSubMenu(menu, 0), 1, MF_BYPOSITION) & MF_GRAYED);
}

TEST_F(MainDialog, SystemMenuOffersAbout) {
  HMENU system = GetSystemMenu(Dlg(), FALSE);
  int last = GetMenuItemCount(system) - 1;
  EXPECT_EQ(GetMenuItemID(system, last), static_cast<UINT>(IDM_ABOUTBOX));
  EXPECT_EQ(MenuText(system, last), u"&About VOXA...");
}

TEST(Resources, MenuTemplateHoldsUndo) {
  HMENU menu = LoadMenuW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDR_MAIN_MENU));
  ASSERT_NE(menu, nullptr);
  std::vector<MenuItem> action = ItemsOf(GetSubMenu(menu, 1));
  ASSERT_EQ(action.size(), 5u);
  EXPECT_EQ(action[4].text, u"&Undo\tCtrl+Z");
  EXPECT_EQ(action[4].id, static_cast<UINT>(ID_ACTION_UNDO));
  DestroyMenu(menu);
}

TEST(Resources, AcceleratorTable) {
  HACCEL table = LoadAcceleratorsW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDR_ACCELERATORS));
  ASSERT_NE(table, nullptr);
  ACCEL keys[8] = {};
  ASSERT_EQ(CopyAcceleratorTableW(table, keys, 8), 5);
  struct Key {
    WORD key;
    BYTE modifiers;
    WORD command;
  };
  const Key expected[] = {{VK_F5, FVIRTKEY, ID_ACTION_RUN},
                          {VK_ESCAPE, FVIRTKEY, ID_ACTION_STOP},
                          {VK_F6, FVIRTKEY, ID_ACTION_CLEAR},
                          {'Z', FVIRTKEY | FCONTROL, ID_ACTION_UNDO},
                          {VK_F1, FVIRTKEY, ID_HELP_HELP}};
  for (int i = 0; i < 5; ++i) {
    EXPECT_EQ(keys[i].key, expected[i].key) << i;
    EXPECT_EQ(keys[i].fVirt & (FVIRTKEY | FCONTROL | FSHIFT | FALT), expected[i].modifiers) << i;
    EXPECT_EQ(keys[i].cmd, expected[i].command) << i;
  }
}

TEST(Resources, IconAndProductVersion) {
  EXPECT_NE(LoadIconW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDR_MAINFRAME)), nullptr);
  HRSRC version = FindResourceW(nullptr, MAKEINTRESOURCEW(VS_VERSION_INFO), RT_VERSION);
  ASSERT_NE(version, nullptr);
  const BYTE* data = static_cast<const BYTE*>(LockResource(LoadResource(nullptr, version)));
  DWORD size = SizeofResource(nullptr, version);
  std::wstring block(reinterpret_cast<const wchar_t*>(data), size / 2);
  EXPECT_NE(block.find(L"ProductVersion"), std::wstring::npos);
}

TEST_F(MainDialog, MinimisedDialogPaintsAndDragsItsIcon) {
  HICON icon = LoadIconW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDR_MAINFRAME));
  EXPECT_EQ(reinterpret_cast<HICON>(SendMessageW(Dlg(), WM_QUERYDRAGICON, 0, 0)), icon);
  EXPECT_EQ(reinterpret_cast<HICON>(SendMessageW(Dlg(), WM_GETICON, ICON_BIG, 0)), icon);
  ShowWindow(Dlg(), SW_MINIMIZE);
  ASSERT_TRUE(IsIconic(Dlg()));
  // The minimised paint takes the icon path; it must validate what it painted.
  InvalidateRect(Dlg(), nullptr, TRUE);
  UpdateWindow(Dlg());
  RECT pending{};
  EXPECT_FALSE(GetUpdateRect(Dlg(), &pending, FALSE));
  ShowWindow(Dlg(), SW_RESTORE);
  EXPECT_FALSE(IsIconic(Dlg()));
}
