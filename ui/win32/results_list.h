// The results list control: a list that asks for its cells (LVS_OWNERDATA), drawn from the rows
// the program keeps and sorts. Rows added during a run are shown a batch at a time.
#pragma once

#include <windows.h>

#include <commctrl.h>

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "run/record/file_result.h"
#include "run/result_rows.h"

class ResultsList {
 public:
  ResultsList() = default;
  void Attach(HWND list) { list_ = list; }
  HWND hwnd() const { return list_; }

  // Six left-aligned columns, each a sixth of the list's client width.
  void SetUpColumns();
  // Scales the column widths from one DPI to another.
  void ScaleColumns(int oldDpi, int newDpi);
  // Keeps the row until ShowPending; the result must stay in place until DeleteAllRows.
  void AddResultRow(const CFileResult& result, size_t index);
  // Shows the rows added since the last call, in their sorted places; the selected file stays
  // selected.
  void ShowPending();
  // Shown and pending rows.
  int RowCount() const { return static_cast<int>(rows_.TotalCount()); }
  void DeleteAllRows();
  // The row of the selection mark, or -1.
  int SelectionMark() const;
  // The shown rows that are selected, in row order.
  std::vector<int> SelectedRows() const;
  void SelectAll();
  // The results-array index stored with a row.
  std::optional<size_t> ResultIndex(int row) const;
  const CFileResult* FileAt(int row) const;
  // Draws the row again after its file changed.
  void RedrawRow(int row);
  std::u16string ColumnText(int row, int column) const;
  // While set, each row has a check box, ticked as `ticked` answers for its results-array index;
  // an empty function takes the check boxes away.
  void ShowCheckBoxes(std::function<bool(size_t index)> ticked);
  bool HasCheckBoxes() const { return static_cast<bool>(ticked_); }
  // The row whose check box is at the point (list client coordinates), or -1.
  int CheckBoxRowAt(POINT point) const;
  const ResultRows& rows() const { return rows_; }

  // The list's notifications that it answers itself: the cell texts, the search by typing and
  // the column header click; false for others.
  bool OnNotify(NMHDR& header, LRESULT& result);

 private:
  void Resort(ResultColumn column);
  void ShowSortArrow();
  // Sets the count and keeps the file of the selection mark selected.
  void ShowRows(const std::function<void()>& change);

  HWND list_ = nullptr;
  ResultRows rows_;
  std::function<bool(size_t index)> ticked_;
};
