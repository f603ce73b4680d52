// The rows of the results list, kept by the program for a list that asks for each cell as it
// draws it: one row per listed file, sorted by a column, rows that arrive during a run joining
// the sorted ones a batch at a time.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "run/record/file_result.h"

enum class ResultColumn { Name = 0, Type, Size, Modified, Result, Path };
inline constexpr int kResultColumnCount = 6;

class ResultRows {
 public:
  // The file must stay alive and in place until Clear; index is its place in the results array.
  void Add(const CFileResult& file, size_t index);
  // Sorts the rows added since the last call into the shown ones; false when there were none.
  bool ShowPending();
  void Clear();

  // Shown rows, and shown and pending rows together.
  size_t ShownCount() const { return rows_.size(); }
  size_t TotalCount() const { return rows_.size() + pending_.size(); }
  const CFileResult* FileAt(size_t row) const;
  std::optional<size_t> IndexAt(size_t row) const;
  std::u16string CellText(size_t row, ResultColumn column) const;

  // A click on the sorting column turns its order round; on another column sorts by it
  // ascending. Names, types, results and folders compare without case, sizes and times by
  // value; equal cells keep the name order, then the order of arrival.
  void SortBy(ResultColumn column);
  ResultColumn sortColumn() const { return column_; }
  bool descending() const { return descending_; }

 private:
  struct Row {
    const CFileResult* file;
    size_t index;
  };
  bool Less(const Row& a, const Row& b) const;

  std::vector<Row> rows_;
  std::vector<Row> pending_;
  ResultColumn column_ = ResultColumn::Name;
  bool descending_ = false;
};
