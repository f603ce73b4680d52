#include "ui/win32/results_list.h"

#include <algorithm>

#include "platform/string_table.h"
#include "platform/win32/wide.h"
#include "run/result_texts.h"

void ResultsList::SetUpColumns() {
  RECT client{};
  GetClientRect(list_, &client);
  int width = (client.right - client.left) / kResultColumnCount;
  for (int column = 0; column < kResultColumnCount; ++column) {
    std::u16string title = platform::LoadText(IDS_COLUMN_NAME + column);
    LVCOLUMNW lvc{};
    lvc.mask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT | LVCF_SUBITEM;
    lvc.fmt = LVCFMT_LEFT;
    lvc.cx = width;
    lvc.pszText = const_cast<wchar_t*>(platform::Wide(title));
    lvc.iSubItem = column;
    SendMessageW(list_, LVM_INSERTCOLUMNW, column, reinterpret_cast<LPARAM>(&lvc));
  }
  ShowSortArrow();
}

void ResultsList::ScaleColumns(int oldDpi, int newDpi) {
  for (int column = 0; column < kResultColumnCount; ++column) {
    int width = static_cast<int>(SendMessageW(list_, LVM_GETCOLUMNWIDTH, column, 0));
    SendMessageW(list_, LVM_SETCOLUMNWIDTH, column, MulDiv(width, newDpi, oldDpi));
  }
}

void ResultsList::AddResultRow(const CFileResult& result, size_t index) {
  rows_.Add(result, index);
}

void ResultsList::ShowRows(const std::function<void()>& change) {
  const std::optional<size_t> marked = ResultIndex(SelectionMark());
  std::vector<size_t> selected;
  for (int row : SelectedRows()) {
    if (std::optional<size_t> index = ResultIndex(row))
      selected.push_back(*index);
  }
  change();
  // Without LVSICF_NOSCROLL the list would scroll to keep the focused row in view.
  SendMessageW(list_, LVM_SETITEMCOUNT, rows_.ShownCount(),
               LVSICF_NOSCROLL | LVSICF_NOINVALIDATEALL);
  if (!selected.empty() || marked) {
    // Where each results-array index is shown now.
    std::vector<int> rowOf;
    for (size_t row = 0; row < rows_.ShownCount(); ++row) {
      const size_t index = *rows_.IndexAt(row);
      if (index >= rowOf.size())
        rowOf.resize(index + 1, -1);
      rowOf[index] = static_cast<int>(row);
    }
    auto shownAt = [&rowOf](size_t index) { return index < rowOf.size() ? rowOf[index] : -1; };
    ListView_SetItemState(list_, -1, 0, LVIS_SELECTED | LVIS_FOCUSED);
    for (size_t index : selected) {
      if (const int row = shownAt(index); row >= 0)
        ListView_SetItemState(list_, row, LVIS_SELECTED, LVIS_SELECTED);
    }
    const int row = marked ? shownAt(*marked) : -1;
    if (row >= 0)
      ListView_SetItemState(list_, row, LVIS_FOCUSED, LVIS_FOCUSED);
    ListView_SetSelectionMark(list_, row);
  }
  InvalidateRect(list_, nullptr, FALSE);
}

void ResultsList::ShowPending() {
  if (rows_.TotalCount() == rows_.ShownCount())
    return;
  ShowRows([this] { rows_.ShowPending(); });
}

void ResultsList::DeleteAllRows() {
  rows_.Clear();
  SendMessageW(list_, LVM_DELETEALLITEMS, 0, 0);
  SendMessageW(list_, LVM_SETITEMCOUNT, 0, 0);
}

int ResultsList::SelectionMark() const {
  return static_cast<int>(SendMessageW(list_, LVM_GETSELECTIONMARK, 0, 0));
}

std::vector<int> ResultsList::SelectedRows() const {
  std::vector<int> rows;
  int row = -1;
  while ((row = ListView_GetNextItem(list_, row, LVNI_SELECTED)) >= 0)
    rows.push_back(row);
  return rows;
}

void ResultsList::SelectAll() {
  ListView_SetItemState(list_, -1, LVIS_SELECTED, LVIS_SELECTED);
}

std::optional<size_t> ResultsList::ResultIndex(int row) const {
  if (row < 0)
    return std::nullopt;
  return rows_.IndexAt(static_cast<size_t>(row));
}

const CFileResult* ResultsList::FileAt(int row) const {
  return row < 0 ? nullptr : rows_.FileAt(static_cast<size_t>(row));
}

void ResultsList::RedrawRow(int row) {
  ListView_RedrawItems(list_, row, row);
}

std::u16string ResultsList::ColumnText(int row, int column) const {
  if (row < 0 || column < 0 || column >= kResultColumnCount)
    return std::u16string();
  return rows_.CellText(static_cast<size_t>(row), static_cast<ResultColumn>(column));
}

void ResultsList::ShowCheckBoxes(std::function<bool(size_t index)> ticked) {
  const bool had = HasCheckBoxes();
  ticked_ = std::move(ticked);
  if (had == HasCheckBoxes())
    return;
  // A list that keeps no items asks for their state images, which the style's image list draws.
  ListView_SetExtendedListViewStyleEx(list_, LVS_EX_CHECKBOXES, had ? 0 : LVS_EX_CHECKBOXES);
  SendMessageW(list_, LVM_SETCALLBACKMASK, had ? 0 : LVIS_STATEIMAGEMASK, 0);
  InvalidateRect(list_, nullptr, FALSE);
}

int ResultsList::CheckBoxRowAt(POINT point) const {
  if (!HasCheckBoxes())
    return -1;
  LVHITTESTINFO hit{};
  hit.pt = point;
  const int row =
      static_cast<int>(SendMessageW(list_, LVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)));
  return row >= 0 && (hit.flags & LVHT_ONITEMSTATEICON) ? row : -1;
}

void ResultsList::Resort(ResultColumn column) {
  ShowRows([this, column] { rows_.SortBy(column); });
  ShowSortArrow();
}

void ResultsList::ShowSortArrow() {
  HWND header = ListView_GetHeader(list_);
  for (int column = 0; column < kResultColumnCount; ++column) {
    HDITEMW item{};
    item.mask = HDI_FORMAT;
    if (!SendMessageW(header, HDM_GETITEMW, column, reinterpret_cast<LPARAM>(&item)))
      continue;
    item.fmt &= ~(HDF_SORTUP | HDF_SORTDOWN);
    if (column == static_cast<int>(rows_.sortColumn()))
      item.fmt |= rows_.descending() ? HDF_SORTDOWN : HDF_SORTUP;
    SendMessageW(header, HDM_SETITEMW, column, reinterpret_cast<LPARAM>(&item));
  }
}

bool ResultsList::OnNotify(NMHDR& header, LRESULT& result) {
  switch (header.code) {
    case LVN_GETDISPINFOW: {
      LVITEMW& item = reinterpret_cast<NMLVDISPINFOW&>(header).item;
      if ((item.mask & LVIF_TEXT) && item.pszText && item.cchTextMax > 0) {
        // At most cchTextMax characters, the ending zero included.
        lstrcpynW(item.pszText, platform::Wide(ColumnText(item.iItem, item.iSubItem)),
                  item.cchTextMax);
      }
      if ((item.mask & LVIF_STATE) && item.iSubItem == 0 && ticked_) {
        const std::optional<size_t> index = ResultIndex(item.iItem);
        // State image 1 is the empty box, 2 the ticked one.
        item.state = (item.state & ~LVIS_STATEIMAGEMASK) |
                     INDEXTOSTATEIMAGEMASK(index && ticked_(*index) ? 2 : 1);
        item.stateMask |= LVIS_STATEIMAGEMASK;
      }
      break;
    }
    case LVN_ODFINDITEMW: {
      // Typing a name's first letters goes to the next row whose name starts with them.
      const auto& find = reinterpret_cast<NMLVFINDITEMW&>(header);
      result = -1;
      if (!(find.lvfi.flags & (LVFI_STRING | LVFI_PARTIAL)) || !find.lvfi.psz)
        return true;
      const std::u16string wanted = platform::FromWide(find.lvfi.psz, wcslen(find.lvfi.psz));
      const size_t count = rows_.ShownCount();
      for (size_t step = 0; step < count; ++step) {
        const size_t row = (static_cast<size_t>(std::max(find.iStart, 0)) + step) % count;
        const std::u16string& name = rows_.FileAt(row)->name;
        if (name.size() >= wanted.size() &&
            CompareStringW(LOCALE_USER_DEFAULT, NORM_IGNORECASE, platform::Wide(name),
                           static_cast<int>(wanted.size()), platform::Wide(wanted),
                           static_cast<int>(wanted.size())) == CSTR_EQUAL) {
          result = static_cast<LRESULT>(row);
          break;
        }
      }
      return true;
    }
    case LVN_COLUMNCLICK:
      Resort(static_cast<ResultColumn>(reinterpret_cast<NMLISTVIEW&>(header).iSubItem));
      break;
    default:
      return false;
  }
  result = 0;
  return true;
}
