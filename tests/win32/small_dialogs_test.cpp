#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include "resource.h"
#include "tests/win32/drawn_pixels.h"
#include "ui/win32/about_dlg.h"
#include "ui/win32/confirm_dlg.h"
#include "ui/win32/controls.h"
#include "ui/win32/modal_hooks.h"
#include "ui/win32/select_items_dlg.h"

namespace {

void Click(Dialog& dialog, int id) {
  SendMessageW(dialog.hwnd(), WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
               reinterpret_cast<LPARAM>(dialog.Item(id)));
}

// Runs `dialog` modally; the hook acts on it like a user and lets it end itself.
template <typename Act>
INT_PTR RunWith(Dialog& dialog, Act act) {
  SetModalDialogHook([&](Dialog& shown) -> std::optional<INT_PTR> {
    act(shown);
    return std::nullopt;
  });
  INT_PTR result = dialog.DoModal();
  SetModalDialogHook(nullptr);
  return result;
}

class SmallDialogs : public ::testing::Test {};

}  // namespace

TEST_F(SmallDialogs, DataTextsAreDrawnWithTheirAmpersands) {
  // A path or a version with "&" must not turn into a hidden character and an underline.
  CConfirmDlg confirm(nullptr, u"C:\\R&D\\notes & todo.txt", {2, 4});
  CAboutDlg about;
  ASSERT_TRUE(confirm.Create(nullptr));
  ASSERT_TRUE(about.Create(nullptr));
  const std::u16string message =
      u"The following file:\n\"C:\\R&D\\notes & todo.txt\"\n(line 3, character 5) will be "
      u"processed. Continue?";
  EXPECT_EQ(GetItemText(confirm.hwnd(), IDC_CONFIRM_MESSAGE), message);
  EXPECT_EQ(GetWindowTextU16(confirm.hwnd()), u"Confirmation Request");
  SetItemText(about.hwnd(), IDC_ABOUT_VERSION, u"Voxalon R&D & co");
  SetItemText(about.hwnd(), IDC_ABOUT_MAKER, u"R&D & co");
  const std::pair<HWND, int> statics[] = {{confirm.hwnd(), IDC_CONFIRM_MESSAGE},
                                          {about.hwnd(), IDC_ABOUT_VERSION},
                                          {about.hwnd(), IDC_ABOUT_MAKER}};
  for (const auto& [dialog, id] : statics) {
    HWND control = GetDlgItem(dialog, id);
    std::u16string text = GetWindowTextU16(control);
    constexpr UINT kStaticFormat = DT_LEFT | DT_EXPANDTABS | DT_WORDBREAK;
    Pixels plain = TextPixels(control, text, kStaticFormat | DT_NOPREFIX);
    ASSERT_GT(DifferingPixels(plain, TextPixels(control, text, kStaticFormat)), 0u) << id;
    EXPECT_EQ(DifferingPixels(DrawnPixels(control), plain), 0u) << id;
  }
}

TEST_F(SmallDialogs, ConfirmationShowsTheChangeBetweenPositionAndButtons) {
  ChangeLines change;
  change.before = {u"one two", 4, 7};
  change.after = {u"one 2", 4, 5};
  CConfirmDlg confirm(nullptr, u"C:\\a.txt", {0, 4}, &change);
  ASSERT_TRUE(confirm.Create(nullptr));
  EXPECT_EQ(GetItemText(confirm.hwnd(), IDC_CONFIRM_CHANGE),
            u"Before: one \u00BBtwo\u00AB\nAfter:  one \u00BB2\u00AB");
  RECT message{}, lines{}, yes{};
  GetWindowRect(confirm.Item(IDC_CONFIRM_MESSAGE), &message);
  GetWindowRect(confirm.Item(IDC_CONFIRM_CHANGE), &lines);
  GetWindowRect(confirm.Item(IDC_CONFIRM_YES), &yes);
  EXPECT_LE(message.bottom, lines.top);
  EXPECT_LE(lines.bottom, yes.top);
}

TEST_F(SmallDialogs, SelectItemsReturnsTheCheckedRowsOnOk) {
  CSelectItemsDlg dialog(nullptr);
  dialog.items = {u"\"*.txt\"", u"\"*.htm\", \"*.html\"", u"\"*.xml\""};
  dialog.checks = {0, 0, 0};
  INT_PTR result = RunWith(dialog, [](Dialog& shown) {
    HWND list = shown.Item(IDC_ITEM_LIST);
    EXPECT_EQ(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0), 3);
    ListView_SetCheckState(list, 0, TRUE);
    ListView_SetCheckState(list, 1, TRUE);
    Click(shown, IDOK);
  });
  EXPECT_EQ(result, IDOK);
  EXPECT_EQ(dialog.checks, (std::vector<std::int32_t>{1, 1, 0}));
}

TEST_F(SmallDialogs, SelectAllChecksEverythingThenUnchecksEverything) {
  CSelectItemsDlg dialog(nullptr);
  dialog.items = {u"a", u"b"};
  dialog.checks = {1, 0};
  std::vector<std::int32_t> afterFirst, afterSecond;
  RunWith(dialog, [&](Dialog& shown) {
    Click(shown, IDC_SELECT_ALL);
    afterFirst = dialog.checks;
    EXPECT_TRUE(ListView_GetCheckState(shown.Item(IDC_ITEM_LIST), 1));
    Click(shown, IDC_SELECT_ALL);
    afterSecond = dialog.checks;
    Click(shown, IDCANCEL);
  });
  EXPECT_EQ(afterFirst, (std::vector<std::int32_t>{1, 1}));
  EXPECT_EQ(afterSecond, (std::vector<std::int32_t>{0, 0}));
}

TEST_F(SmallDialogs, SelectItemsWithNothingToSelect) {
  CSelectItemsDlg dialog(nullptr);
  bool selectAllEnabled = true;
  INT_PTR result = RunWith(dialog, [&](Dialog& shown) {
    selectAllEnabled = IsWindowEnabled(shown.Item(IDC_SELECT_ALL));
    Click(shown, IDCANCEL);
  });
  EXPECT_EQ(result, IDCANCEL);
  EXPECT_FALSE(selectAllEnabled);
}
