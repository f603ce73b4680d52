// The "Editor" field of the settings dialog's General page.
#include <shlobj.h>
#include <shlwapi.h>

#include "platform/string_table.h"
#include "platform/win32/wide.h"
#include "resource.h"
#include "ui/editor_command.h"
#include "ui/win32/controls.h"
#include "ui/win32/settings_dlg.h"

namespace {

std::u16string KnownFolder(int folder) {
  wchar_t path[MAX_PATH] = {};
  if (FAILED(SHGetFolderPathW(nullptr, folder, nullptr, SHGFP_TYPE_CURRENT, path)))
    return std::u16string();
  return platform::FromWide(path);
}

}  // namespace

void CSettingsDlg::FillEditorChoices(const std::u16string& command) {
  HWND field = Control(IDC_EDITOR_COMMAND);
  const std::u16string editVerb = platform::LoadText(IDS_EDITOR_EDIT_VERB);
  SendMessageW(field, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(platform::Wide(editVerb)));
  const EditorFolders folders{KnownFolder(CSIDL_WINDOWS), KnownFolder(CSIDL_PROGRAM_FILES),
                              KnownFolder(CSIDL_PROGRAM_FILESX86),
                              KnownFolder(CSIDL_LOCAL_APPDATA)};
  auto exists = [](const std::u16string& path) {
    return PathFileExistsW(platform::Wide(path)) != FALSE;
  };
  for (const EditorChoice& choice : InstalledEditors(folders, exists))
    SendMessageW(field, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(platform::Wide(choice.command)));
  SetWindowTextW(field, platform::Wide(command.empty() ? editVerb : command));
}

std::u16string CSettingsDlg::ReadEditorCommand() const {
  std::u16string command = GetWindowTextU16(Control(IDC_EDITOR_COMMAND));
  const size_t first = command.find_first_not_of(u" \t");
  if (first == std::u16string::npos || command == platform::LoadText(IDS_EDITOR_EDIT_VERB))
    return std::u16string();
  return command.substr(first, command.find_last_not_of(u" \t") + 1 - first);
}
