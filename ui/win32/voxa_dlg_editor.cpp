// Opening a file at a matched line: a double click or Enter on a line of the details field.
#include "platform/string_table.h"
#include "platform/system_error.h"
#include "resource.h"
#include "run/result_texts.h"
#include "text/text_format.h"
#include "ui/editor_command.h"
#include "ui/win32/controls.h"
#include "ui/win32/modal_hooks.h"
#include "ui/win32/voxa_dlg.h"

void CVOXADlg::OnOpenDetailsLine() {
  const auto& results = run_.results();
  if (!detailsResult_ || *detailsResult_ >= results.size())
    return;
  const CFileResult& file = *results[*detailsResult_];
  // The field wraps long lines: the line is counted in the text, not on the screen.
  DWORD caret = 0;
  SendDlgItemMessageW(hwnd(), IDC_DETAILS, EM_GETSEL, reinterpret_cast<WPARAM>(&caret), 0);
  const std::u16string text = GetItemText(hwnd(), IDC_DETAILS);
  std::int64_t line = 0;
  for (size_t i = 0; i < caret && i < text.size(); ++i)
    line += text[i] == u'\n' ? 1 : 0;
  const std::int64_t match = MatchOfDetailsLine(file, line);
  if (match < 0)
    return;
  const CFileResult::replace_info& at = file.matches[static_cast<size_t>(match)];
  OpenInEditor(file, at.line + 1, at.character + 1);
}

void CVOXADlg::OpenInEditor(const CFileResult& file, std::int64_t line, std::int64_t column) {
  const std::u16string path = FullPathOf(file);
  if (settings.editorCommand.empty()) {
    if (ShellExecuteVerb(hwnd(), u"edit", path, u"", u"", SW_SHOW) <= 32)
      OpenResultFile(file);
    return;
  }
  DWORD error = 0;
  if (StartProcess(ExpandEditorCommand(settings.editorCommand, path, line, column), error))
    return;
  std::u16string reason;
  FormatSystemError(static_cast<platform::ErrorCode>(error), reason);
  ShowMessageBox(hwnd(), FormatString(IDS_EDITOR_FAILED, {std::u16string_view(reason)}),
                 platform::LoadText(IDS_ERROR_CAPTION), MB_OK | MB_ICONERROR);
}
