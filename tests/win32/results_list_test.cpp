#include "ui/win32/results_list.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include "resource.h"
#include "ui/win32/voxa_dlg.h"

namespace {

CFileResult Result(std::u16string name, std::uint64_t size) {
  CFileResult r;
  r.name = std::move(name);
  r.typeName = u"Text Document";
  r.size = size;
  r.modified = {2026, 12, 2, 8, 9, 5, 0, 0};
  r.resultText = u"1 matches found";
  r.folder = u"C:\\w";
  r.matches = {{0, 0}};
  return r;
}

}  // namespace

TEST(ResultsList, RowsSortByNameAndKeepTheirResultIndex) {
  MemorySettingsKeyStore store;
  CVOXADlg dialog(nullptr, &store);
  ASSERT_TRUE(dialog.Create(nullptr));
  ResultsList list;
  list.Attach(dialog.Item(IDC_RESULTS));

  const CFileResult arrival[] = {Result(u"b.txt", 1536), Result(u"A.txt", 1536),
                                 Result(u"c.txt", 1536)};
  for (size_t i = 0; i < 3; ++i)
    list.AddResultRow(arrival[i], i);
  EXPECT_EQ(ListView_GetItemCount(list.hwnd()), 0) << "shown a batch at a time";
  list.ShowPending();

  ASSERT_EQ(list.RowCount(), 3);
  ASSERT_EQ(ListView_GetItemCount(list.hwnd()), 3);
  const std::pair<std::u16string, size_t> shown[] = {{u"A.txt", 1}, {u"b.txt", 0}, {u"c.txt", 2}};
  for (int row = 0; row < 3; ++row) {
    EXPECT_EQ(list.ColumnText(row, 0), shown[row].first);
    EXPECT_EQ(list.ResultIndex(row), shown[row].second);
  }
  EXPECT_EQ(list.ColumnText(0, 1), u"Text Document");
  EXPECT_EQ(list.ColumnText(0, 2), u"1 KB");
  EXPECT_EQ(list.ColumnText(0, 3), u"8:12:2026  9:5");
  EXPECT_EQ(list.ColumnText(0, 4), u"1 matches found");
  EXPECT_EQ(list.ColumnText(0, 5), u"C:\\w");

  EXPECT_EQ(list.SelectionMark(), -1);
  EXPECT_EQ(list.ResultIndex(-1), std::nullopt);
  list.DeleteAllRows();
  EXPECT_EQ(list.RowCount(), 0);
}
