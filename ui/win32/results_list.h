// The results list control: one sorted row per listed file, its item data the index of the
// file's result in the dialog's results array.
#pragma once

#include <windows.h>

#include <cstddef>
#include <optional>
#include <string>

#include "run/record/file_result.h"

class ResultsList {
 public:
  ResultsList() = default;
  void Attach(HWND list) { list_ = list; }
  HWND hwnd() const { return list_; }

  // Six left-aligned columns, each a sixth of the list's client width.
  void SetUpColumns();
  // Scales the column widths from one DPI to another.
  void ScaleColumns(int oldDpi, int newDpi);
  // Inserts the row (the control sorts it by name) and fills its columns; returns its position.
  int AddResultRow(const CFileResult& result, int position, size_t index);
  int RowCount() const;
  void DeleteAllRows();
  // The row of the selection mark, or -1.
  int SelectionMark() const;
  // The results-array index stored with a row.
  std::optional<size_t> ResultIndex(int row) const;
  void SetColumnText(int row, int column, const std::u16string& text);
  std::u16string ColumnText(int row, int column) const;

  static constexpr int kResultColumn = 4;

 private:
  HWND list_ = nullptr;
};
