// The results list's copy and export: Ctrl+A, Ctrl+C, "Copy path", "Copy name" and
// "Export results...".
#include "platform/string_table.h"
#include "platform/system_error.h"
#include "platform/win32/wide.h"
#include "resource.h"
#include "run/results_export.h"
#include "text/text_format.h"
#include "ui/win32/clipboard.h"
#include "ui/win32/modal_hooks.h"
#include "ui/win32/voxa_dlg.h"

namespace {

std::vector<size_t> AsRows(const std::vector<int>& rows) {
  return std::vector<size_t>(rows.begin(), rows.end());
}

// Writes the bytes to a new or emptied file; 0 or the system's error code.
DWORD WriteNewFile(const std::u16string& path, const std::string& bytes) {
  HANDLE file = CreateFileW(platform::Wide(path), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE)
    return GetLastError();
  DWORD error = 0;
  size_t done = 0;
  while (done < bytes.size() && error == 0) {
    const DWORD chunk = static_cast<DWORD>(std::min<size_t>(bytes.size() - done, 1u << 20));
    DWORD written = 0;
    if (!WriteFile(file, bytes.data() + done, chunk, &written, nullptr))
      error = GetLastError();
    done += written;
  }
  CloseHandle(file);
  return error;
}

}  // namespace

bool CVOXADlg::OnResultsKey(const NMLVKEYDOWN& key) {
  if (key.wVKey == VK_SPACE && resultsList_.HasCheckBoxes()) {
    ToggleTicks(resultsList_.SelectedRows());
    return true;
  }
  if (GetKeyState(VK_CONTROL) >= 0 || GetKeyState(VK_MENU) < 0)
    return false;
  if (key.wVKey == 'A') {
    resultsList_.SelectAll();
    return true;
  }
  if (key.wVKey == 'C') {
    OnCopyRows();
    return true;
  }
  return false;
}

void CVOXADlg::OnCopyRows() {
  const std::vector<int> rows = resultsList_.SelectedRows();
  if (!rows.empty())
    PutTextOnClipboard(hwnd(), RowsAsTabSeparated(resultsList_.rows(), AsRows(rows)));
}

void CVOXADlg::OnCopyNames(bool fullPaths) {
  std::u16string text;
  for (int row : resultsList_.SelectedRows()) {
    const CFileResult* file = resultsList_.FileAt(row);
    if (!file)
      continue;
    if (!text.empty())
      text += u"\r\n";
    text += fullPaths ? FullPathOf(*file) : file->name;
  }
  if (!text.empty())
    PutTextOnClipboard(hwnd(), text);
}

void CVOXADlg::OnExportResults() {
  resultsList_.ShowPending();
  std::optional<std::u16string> path =
      PickSaveFile(hwnd(), platform::LoadText(IDS_EXPORT_FILTER),
                   platform::LoadText(IDS_EXPORT_FILE_NAME), u"csv");
  if (!path)
    return;
  if (const DWORD error = WriteNewFile(*path, ResultsAsCsv(resultsList_.rows())); error != 0) {
    std::u16string reason;
    FormatSystemError(static_cast<platform::ErrorCode>(error), reason);
    ShowMessageBox(hwnd(), FormatString(IDS_EXPORT_FAILED, {std::u16string_view(*path), reason}),
                   platform::LoadText(IDS_ERROR_CAPTION), MB_OK | MB_ICONERROR);
  }
}
