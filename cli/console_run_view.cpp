#include "cli/console_run_view.h"

#include "cli/result_lines.h"
#include "cli/terminal_questions.h"
#include "platform/string_table.h"
#include "text/text_format.h"
#include "text/utf8.h"

// The lines are printed on the printer's thread; the results stay with the run's controller,
// which keeps them until the run has ended (WriteEnd waits for the printer first).
void ConsoleRunView::AddResultRow(const CFileResult& result, int, size_t) {
  ++rows_;
  printer_.Post(
      [this, &result] {
        const TextSink write = [this](std::string_view text) {
          console_.Write(ConsoleStream::Out, text);
        };
        if (json_)
          WriteFileResultJson(result, write);
        else
          WriteFileResultLines(result, write);
      },
      result.matches.size());
}

void ConsoleRunView::ReportSkipped(const CFileResult& file) {
  if (!json_)
    return;
  printer_.Post([this, line = SkippedJson(file)] { console_.Write(ConsoleStream::Out, line); }, 1);
}

void ConsoleRunView::WriteErrorLog(const std::u16string& text) {
  ++errors_;
  log_.WriteErrorLog(text);
  printer_.Post(
      [this, line = std::u16string(WithoutTrailingBreaks(text))] {
        if (json_)
          console_.Write(ConsoleStream::Out, ErrorJson(line));
        else
          console_.Write(ConsoleStream::Err, Utf16ToUtf8(line) + "\n");
      },
      1);
}

ConfirmAnswer ConsoleRunView::ShowConfirmation(const std::u16string& fullPath,
                                               const CFileResult::replace_info& position) {
  // What came before the question is on the screen first.
  printer_.Drain();
  return AskAtTerminal(console_, fullPath, position);
}

void ConsoleRunView::WriteEnd(const SkipCounts& skips) {
  printer_.Drain();
  if (json_)
    console_.Write(ConsoleStream::Out, EndJson(rows_, skips));
  else
    console_.Write(ConsoleStream::Out, Utf16ToUtf8(FoundFilesSummary(rows_, skips)) + "\n");
}
