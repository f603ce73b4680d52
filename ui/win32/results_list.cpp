#include "ui/win32/results_list.h"

#include <commctrl.h>

#include "platform/string_table.h"
#include "platform/win32/wide.h"
#include "run/result_texts.h"

namespace {
constexpr int kColumnCount = 6;
}

void ResultsList::SetUpColumns() {
  RECT client{};
  GetClientRect(list_, &client);
  int width = (client.right - client.left) / kColumnCount;
  for (int column = 0; column < kColumnCount; ++column) {
    std::u16string title = platform::LoadText(IDS_COLUMN_NAME + column);
    LVCOLUMNW lvc{};
    lvc.mask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT | LVCF_SUBITEM;
    lvc.fmt = LVCFMT_LEFT;
    lvc.cx = width;
    lvc.pszText = const_cast<wchar_t*>(platform::Wide(title));
    lvc.iSubItem = column;
    SendMessageW(list_, LVM_INSERTCOLUMNW, column, reinterpret_cast<LPARAM>(&lvc));
  }
}

void ResultsList::ScaleColumns(int oldDpi, int newDpi) {
  for (int column = 0; column < kColumnCount; ++column) {
    int width = static_cast<int>(SendMessageW(list_, LVM_GETCOLUMNWIDTH, column, 0));
    SendMessageW(list_, LVM_SETCOLUMNWIDTH, column, MulDiv(width, newDpi, oldDpi));
  }
}

int ResultsList::AddResultRow(const CFileResult& result, int position, size_t index) {
  LVITEMW item{};
  item.mask = LVIF_TEXT;
  item.iItem = position;
  item.pszText = const_cast<wchar_t*>(platform::Wide(result.name));
  int row =
      static_cast<int>(SendMessageW(list_, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)));
  if (row < 0)
    return row;
  LVITEMW data{};
  data.mask = LVIF_PARAM;
  data.iItem = row;
  data.lParam = static_cast<LPARAM>(index);
  SendMessageW(list_, LVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&data));
  SetColumnText(row, 1, result.typeName);
  SetColumnText(row, 2, SizeText(result.size));
  SetColumnText(row, 3, DateText(result.modified));
  SetColumnText(row, kResultColumn, result.resultText);
  SetColumnText(row, 5, result.folder);
  return row;
}

int ResultsList::RowCount() const {
  return static_cast<int>(SendMessageW(list_, LVM_GETITEMCOUNT, 0, 0));
}

void ResultsList::DeleteAllRows() {
  SendMessageW(list_, LVM_DELETEALLITEMS, 0, 0);
}

int ResultsList::SelectionMark() const {
  return static_cast<int>(SendMessageW(list_, LVM_GETSELECTIONMARK, 0, 0));
}

std::optional<size_t> ResultsList::ResultIndex(int row) const {
  if (row < 0)
    return std::nullopt;
  LVITEMW item{};
  item.mask = LVIF_PARAM;
  item.iItem = row;
  if (!SendMessageW(list_, LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item)))
    return std::nullopt;
  return static_cast<size_t>(item.lParam);
}

void ResultsList::SetColumnText(int row, int column, const std::u16string& text) {
  LVITEMW item{};
  item.iSubItem = column;
  item.pszText = const_cast<wchar_t*>(platform::Wide(text));
  SendMessageW(list_, LVM_SETITEMTEXTW, row, reinterpret_cast<LPARAM>(&item));
}

std::u16string ResultsList::ColumnText(int row, int column) const {
  wchar_t buffer[1024] = {};
  LVITEMW item{};
  item.iSubItem = column;
  item.pszText = buffer;
  item.cchTextMax = 1024;
  LRESULT length = SendMessageW(list_, LVM_GETITEMTEXTW, row, reinterpret_cast<LPARAM>(&item));
  return platform::FromWide(buffer, static_cast<size_t>(length));
}
