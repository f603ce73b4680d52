#include "ui/win32/modal_hooks.h"

#include <commdlg.h>
#include <shlobj.h>

#include <algorithm>
#include <vector>
#include <shlwapi.h>

#include "platform/string_table.h"
#include "platform/win32/wide.h"

namespace {
// One slot per hook type; each type is a distinct std::function.
template <class Hook>
Hook& Slot() {
  static Hook hook;
  return hook;
}
}  // namespace

void SetMessageBoxHook(MessageBoxHook hook) {
  Slot<MessageBoxHook>() = std::move(hook);
}

void SetModalDialogHook(ModalDialogHook hook) {
  Slot<ModalDialogHook>() = std::move(hook);
}

int ShowMessageBox(HWND owner, const std::u16string& text, const std::u16string& caption,
                   UINT type) {
  if (Slot<MessageBoxHook>())
    return Slot<MessageBoxHook>()(owner, text, caption, type);
  return MessageBoxW(owner, platform::Wide(text), platform::Wide(caption), type);
}

std::optional<INT_PTR> AnswerModalDialog(Dialog& dialog) {
  if (!Slot<ModalDialogHook>())
    return std::nullopt;
  return Slot<ModalDialogHook>()(dialog);
}

void SetFolderPickerHook(FolderPickerHook hook) {
  Slot<FolderPickerHook>() = std::move(hook);
}

std::optional<std::u16string> PickFolder(HWND owner) {
  if (Slot<FolderPickerHook>())
    return Slot<FolderPickerHook>()(owner);
  std::u16string title = platform::LoadText(IDS_CHOOSE_DIRECTORY);
  BROWSEINFOW browse{};
  browse.hwndOwner = owner;
  browse.lpszTitle = platform::Wide(title);
  browse.ulFlags = BIF_RETURNONLYFSDIRS | BIF_NEWDIALOGSTYLE;
  PIDLIST_ABSOLUTE item = SHBrowseForFolderW(&browse);
  if (!item)
    return std::nullopt;
  wchar_t path[MAX_PATH] = {};
  bool picked = SHGetPathFromIDListW(item, path) && PathIsDirectoryW(path);
  CoTaskMemFree(item);
  if (!picked)
    return std::nullopt;
  return platform::FromWide(path);
}

void SetSaveFilePickerHook(SaveFilePickerHook hook) {
  Slot<SaveFilePickerHook>() = std::move(hook);
}

std::optional<std::u16string> PickSaveFile(HWND owner, const std::u16string& filter,
                                           const std::u16string& fileName,
                                           const std::u16string& extension) {
  if (Slot<SaveFilePickerHook>())
    return Slot<SaveFilePickerHook>()(owner);
  // The dialog wants the filter's parts separated by zero characters.
  std::u16string parts = filter;
  for (char16_t& unit : parts) {
    if (unit == u'|')
      unit = u'\0';
  }
  parts += u'\0';
  std::vector<wchar_t> path(32768, L'\0');
  std::copy(fileName.begin(), fileName.begin() + std::min(fileName.size(), path.size() - 1),
            path.begin());
  OPENFILENAMEW dialog{};
  dialog.lStructSize = sizeof dialog;
  dialog.hwndOwner = owner;
  dialog.lpstrFilter = platform::Wide(parts);
  dialog.nFilterIndex = 1;
  dialog.lpstrFile = path.data();
  dialog.nMaxFile = static_cast<DWORD>(path.size());
  dialog.lpstrDefExt = platform::Wide(extension);
  dialog.Flags = OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST | OFN_NOCHANGEDIR | OFN_EXPLORER;
  if (!GetSaveFileNameW(&dialog))
    return std::nullopt;
  return platform::FromWide(path.data());
}

void SetPopupMenuHook(PopupMenuHook hook) {
  Slot<PopupMenuHook>() = std::move(hook);
}

void SetProcessStartHook(ProcessStartHook hook) {
  Slot<ProcessStartHook>() = std::move(hook);
}

UINT ChooseFromPopupMenu(HMENU menu, UINT flags, POINT screen, HWND owner) {
  if (Slot<PopupMenuHook>())
    return Slot<PopupMenuHook>()(menu, owner);
  return static_cast<UINT>(
      TrackPopupMenu(menu, flags | TPM_RETURNCMD, screen.x, screen.y, 0, owner, nullptr));
}

bool StartProcess(const std::u16string& commandLine, DWORD& error) {
  error = 0;
  if (Slot<ProcessStartHook>())
    return Slot<ProcessStartHook>()(commandLine);
  // CreateProcessW may write to the command line, so it gets a copy of its own.
  std::vector<wchar_t> line(commandLine.begin(), commandLine.end());
  line.push_back(L'\0');
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                      &startup, &process)) {
    error = GetLastError();
    return false;
  }
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return true;
}

void SetShellOpenHook(ShellOpenHook hook) {
  if (!hook) {
    Slot<ShellExecuteHook>() = nullptr;
    return;
  }
  Slot<ShellExecuteHook>() = [hook = std::move(hook)](HWND owner, const std::u16string&,
                                                    const std::u16string& file,
                                                    const std::u16string& parameters) {
    return hook(owner, file, parameters);
  };
}

void SetShellExecuteHook(ShellExecuteHook hook) {
  Slot<ShellExecuteHook>() = std::move(hook);
}

void SetShellOpenRequestHook(ShellOpenRequestHook hook) {
  Slot<ShellOpenRequestHook>() = std::move(hook);
}

void SetShellMenuHook(ShellMenuHook hook) {
  Slot<ShellMenuHook>() = std::move(hook);
}

bool AnswerShellMenu(HWND owner, POINT screenPoint, const std::u16string& path) {
  if (!Slot<ShellMenuHook>())
    return false;
  Slot<ShellMenuHook>()(owner, screenPoint, path);
  return true;
}

INT_PTR ShellOpen(HWND owner, const std::u16string& file, const std::u16string& parameters,
                  const std::u16string& directory, int show) {
  return ShellExecuteVerb(owner, u"open", file, parameters, directory, show);
}

INT_PTR ShellExecuteVerb(HWND owner, const std::u16string& verb, const std::u16string& file,
                         const std::u16string& parameters, const std::u16string& directory,
                         int show) {
  if (Slot<ShellOpenRequestHook>())
    return Slot<ShellOpenRequestHook>()({owner, file, parameters, show, verb});
  if (Slot<ShellExecuteHook>())
    return Slot<ShellExecuteHook>()(owner, verb, file, parameters);
  return reinterpret_cast<INT_PTR>(
      ShellExecuteW(owner, platform::Wide(verb), platform::Wide(file),
                    parameters.empty() ? nullptr : platform::Wide(parameters),
                    directory.empty() ? nullptr : platform::Wide(directory), show));
}
