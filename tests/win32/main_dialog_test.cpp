#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

#include "platform/win32/wide.h"
#include "resource.h"
#include "ui/win32/centred_icon.h"
#include "ui/win32/controls.h"
#include "ui/win32/voxa_dlg.h"

namespace {

std::u16string ClassOf(HWND window) {
  wchar_t name[64] = {};
  GetClassNameW(window, name, 64);
  return platform::FromWide(name);
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
  void SetUp() override { ASSERT_TRUE(dialog_.Create(nullptr)); }

  HWND Dlg() const { return dialog_.hwnd(); }
  HWND Item(int id) const { return GetDlgItem(Dlg(), id); }

  MemorySettingsKeyStore store_;
  CVOXADlg dialog_{nullptr, &store_};
};

}  // namespace

TEST_F(MainDialog, StartSize) {
  RECT window{};
  GetWindowRect(Dlg(), &window);
  EXPECT_EQ(window.right - window.left, 700);
  EXPECT_EQ(window.bottom - window.top, 570);
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
      {IDC_RESULTS_LABEL, {6, 222, 51, 8}},
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
  EXPECT_EQ(GetItemText(Dlg(), IDC_MASKS), u"\"*.*\"");
  EXPECT_TRUE(GetWindowLongW(Item(IDC_DETAILS), GWL_STYLE) & ES_READONLY);
  ASSERT_NE(dialog_.statusBar(), nullptr);
  EXPECT_EQ(ClassOf(dialog_.statusBar()), u"msctls_statusbar32");
  EXPECT_EQ(GetDlgCtrlID(dialog_.statusBar()), IDC_STATUS_BAR);
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

TEST_F(MainDialog, MenuBar) {
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
                                    {u"Pre&view\tCtrl+F5", ID_ACTION_PREVIEW},
                                    {u"&Stop\tEsc", ID_ACTION_STOP},
                                    {u"", 0},
                                    {u"&Clear\tF6", ID_ACTION_CLEAR},
                                    {u"&Undo\tCtrl+Z", ID_ACTION_UNDO}});
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

TEST_F(MainDialog, DragIconAndTheIconDrawnWhileMinimised) {
  HICON own = LoadIconW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDR_MAINFRAME));
  EXPECT_EQ(reinterpret_cast<HICON>(SendMessageW(Dlg(), WM_QUERYDRAGICON, 0, 0)), own);
  EXPECT_EQ(reinterpret_cast<HICON>(SendMessageW(Dlg(), WM_GETICON, ICON_BIG, 0)), own);
  // A minimised window has no client area on current systems, so the drawing is tested alone:
  // a solid icon lands in the middle of areas of either parity.
  const int cx = GetSystemMetrics(SM_CXICON), cy = GetSystemMetrics(SM_CYICON);
  std::vector<BYTE> andMask(static_cast<size_t>(cx * cy / 8), 0);
  std::vector<BYTE> xorMask(static_cast<size_t>(cx * cy / 8), 0);
  HICON solid = CreateIcon(nullptr, cx, cy, 1, 1, andMask.data(), xorMask.data());
  ASSERT_NE(solid, nullptr);
  for (SIZE size : {SIZE{100, 80}, SIZE{101, 61}}) {
    HDC dc = CreateCompatibleDC(nullptr);
    HBITMAP bitmap = CreateBitmap(size.cx, size.cy, 1, 32, nullptr);
    HGDIOBJ old = SelectObject(dc, bitmap);
    RECT area{0, 0, size.cx, size.cy};
    FillRect(dc, &area, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    DrawIconCentred(dc, area, solid);
    RECT ink{size.cx, size.cy, -1, -1};
    for (int y = 0; y < size.cy; ++y)
      for (int x = 0; x < size.cx; ++x)
        if ((GetPixel(dc, x, y) & 0xFFFFFF) != 0xFFFFFF)
          ink = {std::min<LONG>(ink.left, x), std::min<LONG>(ink.top, y),
                 std::max<LONG>(ink.right, x + 1), std::max<LONG>(ink.bottom, y + 1)};
    SelectObject(dc, old);
    DeleteObject(bitmap);
    DeleteDC(dc);
    EXPECT_EQ(ink.right - ink.left, cx) << size.cx;
    EXPECT_EQ(ink.bottom - ink.top, cy) << size.cy;
    EXPECT_LE(std::abs((ink.left - 0) - (size.cx - ink.right)), 1) << size.cx;
    EXPECT_LE(std::abs((ink.top - 0) - (size.cy - ink.bottom)), 1) << size.cy;
  }
  DestroyIcon(solid);
}
