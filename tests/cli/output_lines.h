// Splitting what the console front end printed into lines and tab-separated columns.
#pragma once

#include <string>
#include <vector>

// The lines without their '\n'; a last line without one counts too.
inline std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  size_t start = 0;
  for (size_t end; (end = text.find('\n', start)) != std::string::npos; start = end + 1)
    lines.push_back(text.substr(start, end - start));
  if (start < text.size())
    lines.push_back(text.substr(start));
  return lines;
}

inline std::vector<std::string> Columns(const std::string& line) {
  std::vector<std::string> columns;
  size_t start = 0;
  for (size_t end; (end = line.find('\t', start)) != std::string::npos; start = end + 1)
    columns.push_back(line.substr(start, end - start));
  columns.push_back(line.substr(start));
  return columns;
}
