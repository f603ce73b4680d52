// The results as text for others: the rows as tab-separated lines for the clipboard, and every
// listed file with its matches as CSV for a spreadsheet.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "run/result_rows.h"

// A header line of the column titles, then one line per given row, cells separated by tabs and
// lines ended by CR LF; a tab or line break inside a cell becomes a space.
std::u16string RowsAsTabSeparated(const ResultRows& rows, const std::vector<size_t>& selected);

// One field of a CSV line: quoted, its quotes doubled, when it holds a comma, a quote or a line
// break; as it is otherwise.
std::u16string CsvField(std::u16string_view text);

// UTF-8 with a byte order mark, CR LF line ends: a header line (path, name, folder, result,
// matches, line, character, line text), then for each shown row a line of the file with its
// number of matches, and after it one line per recorded match with its line and character
// (counted from 1) and, where kept, the text of its line as found.
std::string ResultsAsCsv(const ResultRows& rows);
