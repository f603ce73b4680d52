// The results list of the main dialog: details on a click, the file opened on a double click,
// the shell's menu on a right click.
#include <shlwapi.h>

#include <vector>

#include "platform/string_table.h"
#include "platform/win32/wide.h"
#include "resource.h"
#include "run/result_texts.h"
#include "text/text_format.h"
#include "ui/result_open.h"
#include "ui/win32/controls.h"
#include "ui/win32/modal_hooks.h"
#include "ui/win32/voxa_dlg.h"

namespace {
constexpr UINT kSystemDirectoryBuffer = 261;

bool FileExists(const std::u16string& path) {
  return PathFileExistsW(platform::Wide(path)) != FALSE;
}

std::u16string PathExtVariable() {
  const DWORD size = GetEnvironmentVariableW(L"PATHEXT", nullptr, 0);
  if (size == 0)
    return std::u16string();
  std::vector<wchar_t> value(size);
  const DWORD length = GetEnvironmentVariableW(L"PATHEXT", value.data(), size);
  return length < size ? platform::FromWide(value.data(), length) : std::u16string();
}

bool HasEditVerb(const std::u16string& extension) {
  // Without a buffer the call only measures the command: S_FALSE when there is one.
  DWORD length = 0;
  return SUCCEEDED(AssocQueryStringW(ASSOCF_INIT_IGNOREUNKNOWN, ASSOCSTR_COMMAND,
                                     platform::Wide(extension), L"edit", nullptr, &length));
}

void OfferOpenWith(HWND owner, const std::u16string& path) {
  wchar_t system[kSystemDirectoryBuffer] = {};
  GetSystemDirectoryW(system, kSystemDirectoryBuffer);
  ShellOpen(owner, u"rundll32.exe", u"shell32.dll,OpenAs_RunDLL " + path,
            platform::FromWide(system), SW_SHOW);
}
}  // namespace

CFileResult* CVOXADlg::ResultOfRow(int row) const {
  std::optional<size_t> index = resultsList_.ResultIndex(row);
  const auto& results = run_.results();
  if (!index || *index >= results.size())
    return nullptr;
  return results[*index].get();
}

CFileResult* CVOXADlg::SelectedResult(int& row) const {
  row = resultsList_.SelectionMark();
  return ResultOfRow(row);
}

void CVOXADlg::ShowDetails(int row) {
  const CFileResult* result = ResultOfRow(row);
  detailsResult_ = result ? resultsList_.ResultIndex(row) : std::nullopt;
  SetItemText(hwnd(), IDC_DETAILS, result ? MatchDetailsText(FullPathOf(*result), *result) : u"");
}

void CVOXADlg::OnResultsClick() {
  ShowDetails(resultsList_.SelectionMark());
}

void CVOXADlg::OnResultsDoubleClick() {
  int row = -1;
  const CFileResult* result = SelectedResult(row);
  if (result)
    OpenResultFile(*result);
}

void CVOXADlg::OpenResultFile(const CFileResult& file) {
  const CFileResult* result = &file;
  std::u16string path = FullPathOf(*result);
  // A program or script found by a search is never run from here.
  const ResultOpen how = ChooseResultOpen(result->name, PathExtVariable(), HasEditVerb);
  INT_PTR opened = SE_ERR_NOASSOC;
  if (how != ResultOpen::OpenWith)
    opened = ShellExecuteVerb(hwnd(), how == ResultOpen::Edit ? u"edit" : u"open", path, u"", u"",
                              SW_SHOW);
  if (opened > 32)
    return;
  if (opened == SE_ERR_NOASSOC) {
    // No program for the file type (or a type that would run): the system's Open With choice.
    OfferOpenWith(hwnd(), path);
    return;
  }
  ShowMessageBox(hwnd(), FormatString(IDS_OPEN_FILE_FAILED, {std::u16string_view(path)}),
                 platform::LoadText(IDS_ERROR_CAPTION), MB_OK);
}

void CVOXADlg::OnResultsRightClick(POINT clientPoint) {
  RECT list{};
  GetWindowRect(resultsList_.hwnd(), &list);
  ShowResultMenu({clientPoint.x + list.left, clientPoint.y + list.top});
}

void CVOXADlg::OnResultsMenuKey() {
  int row = resultsList_.SelectionMark();
  if (row < 0)
    return;
  // The menu opens at the row's lower left corner.
  SendMessageW(resultsList_.hwnd(), LVM_ENSUREVISIBLE, row, FALSE);
  RECT item{};
  item.left = LVIR_LABEL;
  if (!SendMessageW(resultsList_.hwnd(), LVM_GETITEMRECT, row, reinterpret_cast<LPARAM>(&item)))
    return;
  POINT point{item.left, item.bottom};
  ClientToScreen(resultsList_.hwnd(), &point);
  ShowResultMenu(point);
}

void CVOXADlg::ShowResultMenu(POINT screen) {
  int row = -1;
  CFileResult* result = SelectedResult(row);
  if (!result)
    return;
  std::u16string path = FullPathOf(*result);
  if (!FileExists(path))
    return;
  UINT command = 0;
  if (!AnswerShellMenu(hwnd(), screen, path)) {
    const ShellContextMenu::OwnCommands own = {
        {ID_RESULTS_COPY_PATH, platform::LoadText(IDS_COPY_PATH)},
        {ID_RESULTS_COPY_NAME, platform::LoadText(IDS_COPY_NAME)},
        {ID_RESULTS_EXPORT, platform::LoadText(IDS_EXPORT_RESULTS)}};
    command = shellMenu_.Show(hwnd(), screen, path, platform::LoadText(IDS_OPEN_FILE_LOCATION),
                              own);
  }
  if (command != 0) {
    OnCommand(static_cast<int>(command), 0, nullptr);
    return;
  }
  if (FileExists(path))
    return;
  // A command of the shell's menu deleted or moved the file.
  result->resultText = platform::LoadText(IDS_DELETED);
  result->matches.clear();
  resultsList_.RedrawRow(row);
}

bool CVOXADlg::OnNotify(NMHDR& header, LRESULT& result) {
  if (header.idFrom != IDC_RESULTS)
    return false;
  if (resultsList_.OnNotify(header, result))
    return true;
  switch (header.code) {
    case NM_CLICK: {
      const int row =
          resultsList_.CheckBoxRowAt(reinterpret_cast<NMITEMACTIVATE&>(header).ptAction);
      if (row >= 0)
        ToggleTicks({row});
      OnResultsClick();
      break;
    }
    case LVN_ITEMCHANGED: {
      // A row selected by the keyboard shows its details as a click does.
      const auto& change = reinterpret_cast<const NMLISTVIEW&>(header);
      if (change.iItem >= 0 && (change.uChanged & LVIF_STATE) &&
          (change.uNewState & LVIS_SELECTED) && !(change.uOldState & LVIS_SELECTED))
        ShowDetails(change.iItem);
      break;
    }
    case NM_DBLCLK:
    case NM_RETURN:
      OnResultsDoubleClick();
      break;
    case LVN_KEYDOWN:
      if (!OnResultsKey(reinterpret_cast<const NMLVKEYDOWN&>(header)))
        return false;
      break;
    case NM_RCLICK:
      OnResultsRightClick(reinterpret_cast<NMITEMACTIVATE&>(header).ptAction);
      break;
    default:
      return false;
  }
  result = 0;
  return true;
}
