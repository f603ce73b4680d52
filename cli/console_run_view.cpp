#include "cli/console_run_view.h"

#include "cli/result_lines.h"
#include "cli/terminal_questions.h"
#include "platform/string_table.h"
#include "text/text_format.h"
#include "text/utf8.h"

void ConsoleRunView::PrintRow(const CFileResult& result, const FilePreview* preview) const {
  const TextSink write = [this](std::string_view text) {
    console_.Write(ConsoleStream::Out, text);
  };
  if (json_)
    WriteFileResultJson(result, write,
                        preview ? PreviewJsonMember(result, *preview, previewStyle_) : "",
                        positions_);
  else if (preview)
    WritePreviewLines(result, *preview, previewStyle_, write);
  else
    WriteFileResultLines(result, write, positions_);
}

// The lines are printed on the printer's thread; the results stay with the run's controller,
// which keeps them until the run has ended (WriteEnd waits for the printer first).
void ConsoleRunView::AddResultRow(const CFileResult& result, int, size_t) {
  ++rows_;
  std::shared_ptr<const FilePreview> preview = std::move(heldPreview_);
  printer_.Post([this, &result, preview] { PrintRow(result, preview.get()); },
                preview ? preview->after.size() / 32 : result.matches.size());
}

void ConsoleRunView::TakeResultRow(std::unique_ptr<CFileResult> result, int) {
  ++rows_;
  std::shared_ptr<const FilePreview> preview = std::move(heldPreview_);
  const size_t weight = preview ? preview->after.size() / 32 : result->matches.size();
  std::shared_ptr<const CFileResult> row = std::move(result);
  printer_.Post([this, row, preview] { PrintRow(*row, preview.get()); }, weight);
}

void PreviewTap::OnResultMessage(ResultMessage message) {
  if (message.file && message.file->preview)
    view_.HoldPreview(std::move(message.file->preview));
  next_.OnResultMessage(std::move(message));
  view_.HoldPreview(nullptr);
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
                                               const CFileResult::replace_info& position,
                                               const ChangeLines* change) {
  // What came before the question is on the screen first.
  printer_.Drain();
  return AskAtTerminal(console_, fullPath, position, change);
}

void ConsoleRunView::WriteEnd(const SkipCounts& skips) {
  printer_.Drain();
  if (json_)
    console_.Write(ConsoleStream::Out, EndJson(rows_, skips));
  else
    console_.Write(ConsoleStream::Out, Utf16ToUtf8(FoundFilesSummary(rows_, skips)) + "\n");
}
