#include "run/results_export.h"

#include "platform/string_table.h"
#include "text/text_format.h"
#include "text/utf8.h"

namespace {

std::u16string Number(std::int64_t value) {
  return AsciiToText(std::to_string(value));
}

std::u16string CellForTab(std::u16string text) {
  for (char16_t& unit : text) {
    if (unit == u'\t' || unit == u'\r' || unit == u'\n')
      unit = u' ';
  }
  return text;
}

void AppendCsvLine(std::u16string& out, const std::vector<std::u16string>& fields) {
  for (size_t i = 0; i < fields.size(); ++i) {
    if (i > 0)
      out += u',';
    out += CsvField(fields[i]);
  }
  out += u"\r\n";
}

}  // namespace

std::u16string RowsAsTabSeparated(const ResultRows& rows, const std::vector<size_t>& selected) {
  std::u16string text;
  for (int column = 0; column < kResultColumnCount; ++column) {
    if (column > 0)
      text += u'\t';
    text += platform::LoadText(IDS_COLUMN_NAME + column);
  }
  text += u"\r\n";
  for (size_t row : selected) {
    if (!rows.FileAt(row))
      continue;
    for (int column = 0; column < kResultColumnCount; ++column) {
      if (column > 0)
        text += u'\t';
      text += CellForTab(rows.CellText(row, static_cast<ResultColumn>(column)));
    }
    text += u"\r\n";
  }
  return text;
}

std::u16string CsvField(std::u16string_view text) {
  if (text.find_first_of(u",\"\r\n") == std::u16string_view::npos)
    return std::u16string(text);
  std::u16string field = u"\"";
  for (char16_t unit : text) {
    if (unit == u'"')
      field += u'"';
    field += unit;
  }
  field += u'"';
  return field;
}

std::string ResultsAsCsv(const ResultRows& rows) {
  std::u16string text;
  std::vector<std::u16string> header;
  for (unsigned id = IDS_EXPORT_PATH; id <= IDS_EXPORT_LINE_TEXT; ++id)
    header.push_back(platform::LoadText(id));
  AppendCsvLine(text, header);
  for (size_t row = 0; row < rows.ShownCount(); ++row) {
    const CFileResult& file = *rows.FileAt(row);
    const std::u16string path = FullPathOf(file);
    AppendCsvLine(text, {path, file.name, file.folder, file.resultText,
                         Number(static_cast<std::int64_t>(file.matches.size())), u"", u"", u""});
    for (size_t i = 0; i < file.matches.size(); ++i) {
      const CFileResult::replace_info& match = file.matches[i];
      AppendCsvLine(text, {path, file.name, file.folder, u"", u"", Number(match.line + 1),
                           Number(match.character + 1),
                           i < file.lines.size() ? file.lines[i].before : u""});
    }
  }
  return "\xEF\xBB\xBF" + Utf16ToUtf8(text);
}
