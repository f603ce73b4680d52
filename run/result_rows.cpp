#include "run/result_rows.h"

#include <algorithm>
#include <tuple>

#include "platform/lower_case.h"
#include "run/result_texts.h"

namespace {

// Unit by unit, each lower-cased as the platform does it.
int CompareFolded(const std::u16string& a, const std::u16string& b) {
  const char16_t* lower = platform::LowerCaseTable();
  const size_t common = std::min(a.size(), b.size());
  for (size_t i = 0; i < common; ++i) {
    const char16_t x = lower[a[i]];
    const char16_t y = lower[b[i]];
    if (x != y)
      return x < y ? -1 : 1;
  }
  return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

template <class T>
int CompareValues(const T& a, const T& b) {
  return a < b ? -1 : (b < a ? 1 : 0);
}

auto TimeKey(const CalendarTime& t) {
  return std::make_tuple(t.year, t.month, t.day, t.hour, t.minute, t.second, t.milliseconds);
}

int CompareColumn(const CFileResult& a, const CFileResult& b, ResultColumn column) {
  switch (column) {
    case ResultColumn::Name:
      return 0;
    case ResultColumn::Type:
      return CompareFolded(a.typeName, b.typeName);
    case ResultColumn::Size:
      return CompareValues(a.size, b.size);
    case ResultColumn::Modified:
      return CompareValues(TimeKey(a.modified), TimeKey(b.modified));
    case ResultColumn::Result:
      return CompareFolded(a.resultText, b.resultText);
    case ResultColumn::Path:
      return CompareFolded(a.folder, b.folder);
  }
  return 0;
}

}  // namespace

bool ResultRows::Less(const Row& a, const Row& b) const {
  int order = CompareColumn(*a.file, *b.file, column_);
  if (order == 0)
    order = CompareFolded(a.file->name, b.file->name);
  if (order == 0)
    order = CompareValues(a.file->name, b.file->name);
  if (order != 0)
    return descending_ ? order > 0 : order < 0;
  return a.index < b.index;
}

void ResultRows::Add(const CFileResult& file, size_t index) {
  pending_.push_back({&file, index});
}

bool ResultRows::ShowPending() {
  if (pending_.empty())
    return false;
  auto less = [this](const Row& a, const Row& b) { return Less(a, b); };
  std::sort(pending_.begin(), pending_.end(), less);
  const size_t middle = rows_.size();
  rows_.insert(rows_.end(), pending_.begin(), pending_.end());
  pending_.clear();
  std::inplace_merge(rows_.begin(), rows_.begin() + static_cast<std::ptrdiff_t>(middle),
                     rows_.end(), less);
  return true;
}

void ResultRows::Clear() {
  rows_.clear();
  pending_.clear();
}

const CFileResult* ResultRows::FileAt(size_t row) const {
  return row < rows_.size() ? rows_[row].file : nullptr;
}

std::optional<size_t> ResultRows::IndexAt(size_t row) const {
  if (row >= rows_.size())
    return std::nullopt;
  return rows_[row].index;
}

std::u16string ResultRows::CellText(size_t row, ResultColumn column) const {
  const CFileResult* file = FileAt(row);
  if (!file)
    return std::u16string();
  switch (column) {
    case ResultColumn::Name:
      return file->name;
    case ResultColumn::Type:
      return file->typeName;
    case ResultColumn::Size:
      return SizeText(file->size);
    case ResultColumn::Modified:
      return DateText(file->modified);
    case ResultColumn::Result:
      return file->resultText;
    case ResultColumn::Path:
      return file->folder;
  }
  return std::u16string();
}

void ResultRows::SortBy(ResultColumn column) {
  descending_ = column == column_ ? !descending_ : false;
  column_ = column;
  ShowPending();
  std::stable_sort(rows_.begin(), rows_.end(),
                   [this](const Row& a, const Row& b) { return Less(a, b); });
}
