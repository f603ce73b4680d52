#include "ui/win32/about_dlg.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <map>
#include <vector>

#include "platform/win32/wide.h"
#include "resource.h"
#include "tests/win32/drawn_pixels.h"
#include "ui/win32/controls.h"
#include "ui/win32/modal_hooks.h"
#include "voxalon_version.h"

namespace {

RECT ClientRectOf(HWND control) {
  RECT rect{};
  GetWindowRect(control, &rect);
  MapWindowPoints(nullptr, GetParent(control), reinterpret_cast<POINT*>(&rect), 2);
  return rect;
}

SIZE TextSize(HFONT font, const std::u16string& text) {
  HDC dc = GetDC(nullptr);
  HGDIOBJ old = SelectObject(dc, font);
  SIZE size{};
  GetTextExtentPoint32W(dc, platform::Wide(text), static_cast<int>(text.size()), &size);
  SelectObject(dc, old);
  ReleaseDC(nullptr, dc);
  return size;
}

class AboutDialog : public ::testing::Test {
 protected:
  void SetUp() override {
    SetShellOpenRequestHook([&](const ShellOpenRequest& request) -> INT_PTR {
      opened.push_back(request);
      return 42;
    });
  }
  void TearDown() override { SetShellOpenRequestHook(nullptr); }

  std::vector<ShellOpenRequest> opened;
};

}  // namespace

TEST_F(AboutDialog, ShowsTheProductVersion) {
  EXPECT_EQ(VersionCaption(), u"Voxalon (Version " VOXALON_VERSION_TEXT_U16 ")");
  CAboutDlg dialog;
  ASSERT_TRUE(dialog.Create(nullptr));
  EXPECT_EQ(GetWindowTextU16(dialog.hwnd()), u"About VOXA");
  EXPECT_EQ(GetItemText(dialog.hwnd(), IDC_ABOUT_VERSION),
            u"Voxalon (Version " VOXALON_VERSION_TEXT_U16 ")");
}

TEST_F(AboutDialog, TheLinkFitsItsTextUnderTheLabelsAtEveryDpi) {
  CAboutDlg dialog;
  ASSERT_TRUE(dialog.Create(nullptr));
  HWND link = dialog.Item(IDC_ABOUT_LINK);
  std::u16string text = GetWindowTextU16(link);
  EXPECT_TRUE(text.starts_with(u"http")) << "the link's own text is the address";
  int firstHeight = 0;
  for (int dpi : {96, 192, 144}) {
    SCOPED_TRACE(dpi);
    if (dpi != 96) {
      RECT window{};
      GetWindowRect(dialog.hwnd(), &window);
      SendMessageW(dialog.hwnd(), WM_DPICHANGED, MAKEWPARAM(dpi, dpi),
                   reinterpret_cast<LPARAM>(&window));
    }
    RECT rect = dialog.LinkRect();
    RECT label = ClientRectOf(dialog.Item(IDC_ABOUT_MAKER));
    SIZE size = TextSize(dialog.linkFont(), text);
    EXPECT_EQ(rect.left, label.left);
    EXPECT_GE(rect.top, label.bottom);
    EXPECT_LE(rect.top, label.bottom + MulDiv(8, dpi, 96));
    EXPECT_EQ(rect.right - rect.left, size.cx);
    EXPECT_EQ(rect.bottom - rect.top, size.cy);
    if (dpi == 96)
      firstHeight = size.cy;
    else
      EXPECT_NEAR(size.cy, MulDiv(firstHeight, dpi, 96), 2) << "the font follows the DPI";
  }
}

TEST_F(AboutDialog, ClicksOnTheTextAloneOpenTheLink) {
  CAboutDlg dialog;
  ASSERT_TRUE(dialog.Create(nullptr));
  ShowWindow(dialog.hwnd(), SW_SHOW);
  RECT link = dialog.LinkRect();
  struct Click {
    POINT at;
    bool opens;
  };
  const Click clicks[] = {{{link.left + 1, link.top + 1}, true},
                          {{link.right - 2, link.bottom - 2}, true},
                          {{link.right + 1, link.top + 1}, false},
                          {{link.left + 1, link.bottom + 1}, false},
                          {{link.left - 2, link.top + 1}, false}};
  for (const Click& click : clicks) {
    opened.clear();
    // The click goes where the system would send it: the window under the point.
    POINT local = click.at;
    ClientToScreen(dialog.hwnd(), &local);
    HWND target = WindowFromPoint(local);
    ScreenToClient(target, &local);
    SendMessageW(target, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(local.x, local.y));
    SendMessageW(target, WM_LBUTTONUP, 0, MAKELPARAM(local.x, local.y));
    ASSERT_EQ(opened.size(), click.opens ? 1u : 0u) << click.at.x << "," << click.at.y;
    if (click.opens) {
      EXPECT_EQ(opened[0].file, GetWindowTextU16(dialog.Item(IDC_ABOUT_LINK)));
      EXPECT_EQ(opened[0].owner, nullptr);
      EXPECT_EQ(opened[0].show, SW_SHOWNORMAL);
    }
  }
  // Over the link the cursor is the hand.
  SendMessageW(dialog.hwnd(), WM_SETCURSOR,
               reinterpret_cast<WPARAM>(dialog.Item(IDC_ABOUT_LINK)),
               MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
  EXPECT_EQ(GetCursor(), LoadCursorW(nullptr, IDC_HAND));
}

TEST_F(AboutDialog, TheLinkTakesTheFocusAndOpensWithEnterOrSpace) {
  CAboutDlg dialog;
  INT_PTR result = 0;
  std::vector<size_t> afterKeys;
  SetModalDialogHook([&](Dialog& shown) -> std::optional<INT_PTR> {
    HWND dlg = shown.hwnd();
    ShowWindow(dlg, SW_SHOW);
    HWND link = shown.Item(IDC_ABOUT_LINK);
    EXPECT_EQ(GetNextDlgTabItem(dlg, shown.Item(IDOK), FALSE), link) << "Tab reaches the link";
    auto press = [&](WPARAM key) {
      for (UINT message : {WM_KEYDOWN, WM_CHAR, WM_KEYUP}) {
        MSG msg{link, message, message == WM_CHAR ? (key == VK_SPACE ? L' ' : L'\r') : key,
                0, 0, {0, 0}};
        if (!IsDialogMessageW(dlg, &msg)) {
          TranslateMessage(&msg);
          DispatchMessageW(&msg);
        }
      }
      afterKeys.push_back(opened.size());
    };
    SendMessageW(dlg, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(link), TRUE);
    EXPECT_EQ(GetFocus(), link);
    press(VK_SPACE);
    press(VK_RETURN);
    EXPECT_TRUE(IsWindow(dlg)) << "Enter on the link leaves the dialog open";
    // The link is drawn in the system's link colour.
    Pixels drawn = DrawnPixels(link);
    std::map<std::uint32_t, int> counts;
    for (std::uint32_t pixel : drawn.data)
      ++counts[pixel];
    std::uint32_t background = drawn.data.empty() ? 0 : drawn.data[0];
    COLORREF hot = GetSysColor(COLOR_HOTLIGHT);
    std::uint32_t linkColour = (GetRValue(hot) << 16) | (GetGValue(hot) << 8) | GetBValue(hot);
    std::uint32_t ink = 0;
    int most = 0;
    for (const auto& [colour, count] : counts)
      if (colour != background && count > most) {
        ink = colour;
        most = count;
      }
    EXPECT_EQ(ink, linkColour);
    SendMessageW(dlg, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(shown.Item(IDOK)), TRUE);
    press(VK_RETURN);
    return std::nullopt;
  });
  result = dialog.DoModal();
  SetModalDialogHook(nullptr);
  EXPECT_EQ(afterKeys, (std::vector<size_t>{1, 2, 2}));
  EXPECT_EQ(result, IDOK) << "Enter on OK ends the dialog";
}
