// The lines of recorded matches, kept with the matches for the results. Bounded: the first
// kMatchLinesPerFile matches of a file and kMatchLineBytesPerRun bytes in a run keep their lines
// (the rest keep their positions only), and each line is cut to kMatchContextUnits units on
// either side of the match, and the match to kMatchMarkUnits units.
#pragma once

#include <cstddef>
#include <span>
#include <string_view>

#include "processing/byte_table.h"
#include "run/record/file_result.h"
#include "run/record/run_types.h"

inline constexpr size_t kMatchLinesPerFile = 100;
inline constexpr size_t kMatchLineBytesPerRun = size_t{8} << 20;
inline constexpr size_t kMatchContextUnits = 60;
inline constexpr size_t kMatchMarkUnits = 120;

// A text as the scan read it: UTF-16 units, or the bytes of a one-to-one single-byte code page
// with its table.
class LineSource {
 public:
  explicit LineSource(std::u16string_view text) : units_(text.data()), size_(text.size()) {}
  LineSource(std::span<const unsigned char> bytes, const ByteTable& table)
      : bytes_(bytes.data()), table_(&table), size_(bytes.size()) {}
  size_t size() const { return size_; }
  char16_t operator[](size_t i) const { return units_ ? units_[i] : (*table_)[bytes_[i]]; }

 private:
  const char16_t* units_ = nullptr;
  const unsigned char* bytes_ = nullptr;
  const ByteTable* table_ = nullptr;
  size_t size_ = 0;
};

// What a change does at a match; Find only keeps the line as found.
struct MatchChange {
  ActionType action = ActionType::FindOnly;
  std::u16string_view replacement;
};

// Keeps, as the next of file.lines, the line of the match at units [start, end) of the text:
// from the start of the line the match starts in to the end of the line it ends in (line breaks
// inside kept). Does nothing once the file or the run (runBytes, the bytes kept so far) has
// reached its cap, or when the lines do not follow the matches one to one. Never throws.
void KeepMatchLine(CFileResult& file, const LineSource& text, size_t start, size_t end,
                   const MatchChange& change, size_t& runBytes);

// The lines of a plain scan's matches, found from their positions (which refer to the text as
// given); positions must come in increasing order.
class PlainMatchLines {
 public:
  PlainMatchLines(const LineSource& text, size_t findLength, MatchChange change, size_t& runBytes)
      : text_(text), findLength_(findLength), change_(change), runBytes_(runBytes) {}
  void Keep(CFileResult& file, const CFileResult::replace_info& position);
  // The same for a match known to start at unit `start` of the text.
  void KeepAt(CFileResult& file, size_t start);
  // Keeps the lines of the matches recorded so far that have none.
  void KeepRecorded(CFileResult& file);

 private:
  const LineSource& text_;
  size_t findLength_;
  MatchChange change_;
  size_t& runBytes_;
  // The start of line `line_`.
  std::int64_t line_ = 0;
  size_t lineStart_ = 0;
};
