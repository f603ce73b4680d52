#include "cli/console_run_view.h"

#include "cli/result_lines.h"
#include "cli/terminal_questions.h"
#include "platform/string_table.h"
#include "text/text_format.h"
#include "text/utf8.h"

void ConsoleRunView::AddResultRow(const CFileResult& result, int, size_t) {
  ++rows_;
  const TextSink write = [this](std::string_view text) {
    console_.Write(ConsoleStream::Out, text);
  };
  if (json_)
    WriteFileResultJson(result, write);
  else
    WriteFileResultLines(result, write);
}

void ConsoleRunView::WriteErrorLog(const std::u16string& text) {
  ++errors_;
  log_.WriteErrorLog(text);
  const std::u16string line(WithoutTrailingBreaks(text));
  if (json_)
    console_.Write(ConsoleStream::Out, ErrorJson(line));
  else
    console_.Write(ConsoleStream::Err, Utf16ToUtf8(line) + "\n");
}

ConfirmAnswer ConsoleRunView::ShowConfirmation(const std::u16string& fullPath,
                                               const CFileResult::replace_info& position) {
  return AskAtTerminal(console_, fullPath, position);
}

void ConsoleRunView::WriteEnd() {
  if (json_)
    console_.Write(ConsoleStream::Out, EndJson(rows_));
  else
    console_.Write(ConsoleStream::Out, Utf16ToUtf8(FormatString(IDS_FOUND_FILES, {rows_})) + "\n");
}
