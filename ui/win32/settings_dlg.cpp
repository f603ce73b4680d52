#include "ui/win32/settings_dlg.h"

#include <commctrl.h>
#include <shlobj.h>
#include <shlwapi.h>

#include "platform/data_folder.h"
#include "platform/path_separator.h"
#include "platform/string_table.h"
#include "platform/win32/wide.h"
#include "resource.h"
#include "ui/win32/controls.h"
#include "ui/win32/help_file_win32.h"
#include "ui/win32/modal_hooks.h"

namespace {

constexpr int kPageCount = 5;
// Each tab's title and the page it shows.
struct Tab {
  unsigned title;
  int page;
};
constexpr Tab kTabs[] = {{IDS_TAB_GENERAL, 0},
                         {IDS_TAB_RESULTS, 1},
                         {IDS_TAB_TEXT, 2},
                         {IDS_TAB_RESTORE, 3},
                         {IDS_TAB_FILTERS, 4}};
constexpr DWORD kEnableTabTexture = 6;  // ETDT_ENABLETAB

struct NewLineButton {
  int id;
  std::int32_t mode;
};
constexpr NewLineButton kNewLineButtons[] = {{IDC_NEWLINE_CRLF, kNewLineCrLf},
                                             {IDC_NEWLINE_LF, kNewLineLf},
                                             {IDC_NEWLINE_CR, kNewLineCr},
                                             {IDC_NEWLINE_AS_IN_FILE, kNewLineAsInFile}};

}  // namespace

std::u16string DefaultSettingsDirectory() {
  return platform::UserDataFolder();
}

CSettingsDlg::CSettingsDlg(HWND parent) : Dialog(IDD_SETTINGS, parent) {
  themeLibrary_ = LoadLibraryW(L"uxtheme.dll");
  if (themeLibrary_)
    enableThemeDialogTexture_ = reinterpret_cast<EnableThemeDialogTextureFunction>(
        reinterpret_cast<void*>(GetProcAddress(themeLibrary_, "EnableThemeDialogTexture")));
}

CSettingsDlg::~CSettingsDlg() {
  if (themeLibrary_)
    FreeLibrary(themeLibrary_);
}

HWND CSettingsDlg::Page(int index) const {
  const Dialog* pages[kPageCount] = {&general_, &results_, &text_, &restore_, &filters_};
  return index >= 0 && index < kPageCount ? pages[index]->hwnd() : nullptr;
}

HWND CSettingsDlg::Control(int id) const {
  for (int page = 0; page < kPageCount; ++page) {
    if (HWND control = GetDlgItem(Page(page), id))
      return control;
  }
  return GetDlgItem(hwnd(), id);
}

bool CSettingsDlg::IsChecked(int id) const {
  return SendMessageW(Control(id), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void CSettingsDlg::Enable(int id, bool enabled) {
  EnableWindow(Control(id), enabled);
}

bool CSettingsDlg::OnInitDialog() {
  Dialog::OnInitDialog();
  HWND tabs = Item(IDC_SETTINGS_TABS);
  for (int tab = 0; tab < static_cast<int>(std::size(kTabs)); ++tab) {
    std::u16string title = platform::LoadText(kTabs[tab].title);
    TCITEMW item{};
    item.mask = TCIF_TEXT;
    item.pszText = const_cast<wchar_t*>(platform::Wide(title));
    SendMessageW(tabs, TCM_INSERTITEMW, tab, reinterpret_cast<LPARAM>(&item));
  }
  CreatePages();
  FillControls();
  return true;
}

void CSettingsDlg::CreatePages() {
  HWND tabs = Item(IDC_SETTINGS_TABS);
  RECT area{};
  GetWindowRect(tabs, &area);
  MapWindowPoints(nullptr, hwnd(), reinterpret_cast<POINT*>(&area), 2);
  SendMessageW(tabs, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&area));
  Dialog* pages[] = {&general_, &results_, &text_, &restore_, &filters_};
  for (Dialog* page : pages) {
    if (!page->Create(hwnd()))
      continue;
    if (enableThemeDialogTexture_)
      enableThemeDialogTexture_(page->hwnd(), kEnableTabTexture);
    SetWindowPos(page->hwnd(), HWND_TOP, area.left, area.top, area.right - area.left,
                 area.bottom - area.top, SWP_NOACTIVATE);
  }
  // The pages lie over the tab strip, which comes last: Tab goes from the strip round into the
  // shown page, then to OK, Cancel and Help.
  SetWindowPos(tabs, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  ShowPage(0);
}

void CSettingsDlg::ShowPage(int index) {
  for (int page = 0; page < kPageCount; ++page)
    ShowWindow(Page(page), page == index ? SW_SHOW : SW_HIDE);
}

void CSettingsDlg::FillCodePages(int listId, const std::optional<std::int32_t>& selected) {
  HWND list = Control(listId);
  for (const auto& [codePage, name] : settings.catalogue) {
    LRESULT index =
        SendMessageW(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(platform::Wide(name)));
    if (index >= 0)
      SendMessageW(list, CB_SETITEMDATA, index, static_cast<LPARAM>(codePage));
  }
  if (!selected)
    return;
  LRESULT count = SendMessageW(list, CB_GETCOUNT, 0, 0);
  for (LRESULT index = 0; index < count; ++index) {
    if (static_cast<std::int32_t>(SendMessageW(list, CB_GETITEMDATA, index, 0)) == *selected) {
      SendMessageW(list, CB_SETCURSEL, index, 0);
      break;
    }
  }
}

void CSettingsDlg::FillControls() {
  SettingsForm form = FormFromSettings(settings, DefaultSettingsDirectory());
  auto check = [&](int id, bool on) {
    SendMessageW(Control(id), BM_SETCHECK, on ? BST_CHECKED : BST_UNCHECKED, 0);
  };
  auto setText = [&](int id, const std::u16string& text) {
    SetWindowTextW(Control(id), platform::Wide(text));
  };
  check(IDC_SEARCH_HIDDEN, form.searchHidden);
  check(IDC_REPLACE_READ_ONLY, form.replaceReadOnly);
  check(IDC_KEEP_FILE_DATE, form.keepFileDate);
  check(IDC_TRIM_NEW_LINES, form.trimTrailingNewLines);
  check(IDC_SEARCH_ONLINE_ONLY, form.searchOnlineOnly);
  FillEditorChoices(form.editorCommand);
  check(IDC_SKIP_BINARY, form.skipBinaryFiles);

  setText(IDC_MAX_FILES, form.maxFilesShown);
  check(IDC_SAVE_ERROR_LOG, form.saveErrorLog);
  Enable(IDC_LOG_DIRECTORY, form.saveErrorLog);
  setText(IDC_LOG_DIRECTORY, form.logDirectory);
  for (unsigned type : {IDS_LOG_TYPE_TEXT, IDS_LOG_TYPE_HTML}) {
    std::u16string name = platform::LoadText(type);
    SendMessageW(Control(IDC_LOG_TYPE), CB_ADDSTRING, 0,
                 reinterpret_cast<LPARAM>(platform::Wide(name)));
  }
  SendMessageW(Control(IDC_LOG_TYPE), CB_SETCURSEL, form.logTypeIndex, 0);

  FillCodePages(IDC_INPUT_CODE_PAGE, form.inputCodePage);
  FillCodePages(IDC_OUTPUT_CODE_PAGE, form.outputCodePage);
  if (SendMessageW(Control(IDC_INPUT_CODE_PAGE), CB_GETCURSEL, 0, 0) ==
      SendMessageW(Control(IDC_OUTPUT_CODE_PAGE), CB_GETCURSEL, 0, 0)) {
    check(IDC_SAME_AS_INPUT, true);
    Enable(IDC_OUTPUT_CODE_PAGE, false);
  }
  for (const NewLineButton& button : kNewLineButtons)
    check(button.id, button.mode == form.newLineMode);

  check(IDC_MAKE_BACKUP, form.makeBackup);
  setText(IDC_BACKUP_DIRECTORY, form.backupDirectory);
  Enable(IDC_BACKUP_DIRECTORY, form.makeBackup);
  Enable(IDC_BROWSE_BACKUP, form.makeBackup);

  check(IDC_USE_BYTE_ORDER_MARKS, form.useByteOrderMarks);
  setText(IDC_MIN_SIZE, form.minFileSize);
  setText(IDC_MAX_SIZE, form.maxFileSize);
  setText(IDC_MODIFIED_AFTER, form.modifiedAfter);
  setText(IDC_MODIFIED_BEFORE, form.modifiedBefore);
}

SettingsForm CSettingsDlg::ReadForm() const {
  SettingsForm form;
  form.searchHidden = IsChecked(IDC_SEARCH_HIDDEN);
  form.replaceReadOnly = IsChecked(IDC_REPLACE_READ_ONLY);
  form.keepFileDate = IsChecked(IDC_KEEP_FILE_DATE);
  form.trimTrailingNewLines = IsChecked(IDC_TRIM_NEW_LINES);
  form.searchOnlineOnly = IsChecked(IDC_SEARCH_ONLINE_ONLY);
  form.editorCommand = ReadEditorCommand();
  form.skipBinaryFiles = IsChecked(IDC_SKIP_BINARY);
  form.useByteOrderMarks = IsChecked(IDC_USE_BYTE_ORDER_MARKS);
  form.minFileSize = GetWindowTextU16(Control(IDC_MIN_SIZE));
  form.maxFileSize = GetWindowTextU16(Control(IDC_MAX_SIZE));
  form.modifiedAfter = GetWindowTextU16(Control(IDC_MODIFIED_AFTER));
  form.modifiedBefore = GetWindowTextU16(Control(IDC_MODIFIED_BEFORE));
  form.maxFilesShown = GetWindowTextU16(Control(IDC_MAX_FILES));
  form.saveErrorLog = IsChecked(IDC_SAVE_ERROR_LOG);
  form.logDirectory = GetWindowTextU16(Control(IDC_LOG_DIRECTORY));
  form.logTypeIndex = static_cast<int>(SendMessageW(Control(IDC_LOG_TYPE), CB_GETCURSEL, 0, 0));
  auto selectedCodePage = [&](int id) -> std::optional<std::int32_t> {
    LRESULT index = SendMessageW(Control(id), CB_GETCURSEL, 0, 0);
    if (index < 0)
      return std::nullopt;
    return static_cast<std::int32_t>(SendMessageW(Control(id), CB_GETITEMDATA, index, 0));
  };
  form.inputCodePage = selectedCodePage(IDC_INPUT_CODE_PAGE);
  form.outputCodePage = selectedCodePage(IDC_OUTPUT_CODE_PAGE);
  form.newLineMode = kNewLineAsInFile;
  for (const NewLineButton& button : kNewLineButtons)
    if (IsChecked(button.id))
      form.newLineMode = button.mode;
  form.makeBackup = IsChecked(IDC_MAKE_BACKUP);
  form.backupDirectory = GetWindowTextU16(Control(IDC_BACKUP_DIRECTORY));
  return form;
}

void CSettingsDlg::FollowInputCodePage() {
  if (IsChecked(IDC_SAME_AS_INPUT)) {
    Enable(IDC_OUTPUT_CODE_PAGE, false);
    LRESULT index = SendMessageW(Control(IDC_INPUT_CODE_PAGE), CB_GETCURSEL, 0, 0);
    SendMessageW(Control(IDC_OUTPUT_CODE_PAGE), CB_SETCURSEL, index, 0);
  } else {
    Enable(IDC_OUTPUT_CODE_PAGE, true);
  }
}

void CSettingsDlg::OnOk() {
  std::u16string message;
  SettingsFormError error = ApplySettingsForm(
      ReadForm(), settings,
      [](const std::u16string& path) { return PathFileExistsW(platform::Wide(path)) != FALSE; },
      &message);
  if (error != SettingsFormError::None) {
    ShowMessageBox(hwnd(),
                   error == SettingsFormError::LimitMalformed ? message
                                                              : platform::LoadText(IDS_LOG_PATH_MISSING),
                   platform::LoadText(IDS_ERROR_CAPTION), MB_OK);
    return;
  }
  EndDialog(IDOK);
}

void CSettingsDlg::OnHelp() {
  std::u16string parameters =
      u"its:" + HelpFileFolder() + platform::LoadText(IDS_SETTINGS_HELP_TOPIC);
  if (ShellOpen(hwnd(), u"hh.exe", parameters, u"", SW_SHOWNORMAL) <= 32)
    ShowMessageBox(hwnd(), platform::LoadText(IDS_HELP_OPEN_FAILED) + u": " + parameters,
                   platform::LoadText(IDS_ERROR_CAPTION), MB_OK);
}

void CSettingsDlg::OnResetAll() {
  if (ShowMessageBox(hwnd(), platform::LoadText(IDS_RESET_QUESTION),
                     platform::LoadText(IDS_RESET_CAPTION), MB_YESNO) != IDYES)
    return;
  ResetToDefaults(settings);
  if (onResetMainOptions)
    onResetMainOptions();
  EndDialog(IDOK);
}

void CSettingsDlg::OnBrowse(int fieldId) {
  if (std::optional<std::u16string> folder = PickFolder(hwnd()))
    SetWindowTextW(Control(fieldId), platform::Wide(*folder));
}

bool CSettingsDlg::OnCommand(int id, int code, HWND control) {
  switch (id) {
    case IDOK:
      OnOk();
      return true;
    case IDC_SETTINGS_HELP:
      OnHelp();
      return true;
    case IDC_SAVE_ERROR_LOG:
      Enable(IDC_LOG_DIRECTORY, IsChecked(IDC_SAVE_ERROR_LOG));
      return true;
    case IDC_MAKE_BACKUP: {
      bool on = IsChecked(IDC_MAKE_BACKUP);
      Enable(IDC_BACKUP_DIRECTORY, on);
      Enable(IDC_BROWSE_BACKUP, on);
      return true;
    }
    case IDC_SAME_AS_INPUT:
      FollowInputCodePage();
      return true;
    case IDC_INPUT_CODE_PAGE:
      if (code == CBN_SELCHANGE)
        FollowInputCodePage();
      return true;
    case IDC_RESET_ALL:
      OnResetAll();
      return true;
    case IDC_BROWSE_LOG:
      OnBrowse(IDC_LOG_DIRECTORY);
      return true;
    case IDC_BROWSE_BACKUP:
      OnBrowse(IDC_BACKUP_DIRECTORY);
      return true;
    default:
      return Dialog::OnCommand(id, code, control);
  }
}

bool CSettingsDlg::OnNotify(NMHDR& header, LRESULT& result) {
  if (header.idFrom != IDC_SETTINGS_TABS || header.code != TCN_SELCHANGE)
    return false;
  const auto tab = static_cast<size_t>(SendMessageW(header.hwndFrom, TCM_GETCURSEL, 0, 0));
  if (tab < std::size(kTabs))
    ShowPage(kTabs[tab].page);
  result = 0;
  return true;
}
