// Every message box and modal dialog of the program goes through here, so that tests can answer
// them instead of a user.
#pragma once

#include <windows.h>

#include <functional>
#include <optional>
#include <string>

class Dialog;

// Answers a message box in place of the user; returns the button ID (IDOK, IDCANCEL, IDYES, ...).
using MessageBoxHook = std::function<int(HWND owner, const std::u16string& text,
                                         const std::u16string& caption, UINT type)>;
// Sees a modal dialog once it is initialised; a value ends the dialog with that result at once,
// none lets the user answer it.
using ModalDialogHook = std::function<std::optional<INT_PTR>(Dialog& dialog)>;

// Chooses from a popup menu in place of the user: the command, or 0 for none.
using PopupMenuHook = std::function<UINT(HMENU menu, HWND owner)>;
// Starts a program with a command line in place of the system; returns whether it started.
using ProcessStartHook = std::function<bool(const std::u16string& commandLine)>;

// Picks a file to save to in place of the user; none means the dialog was cancelled.
using SaveFilePickerHook = std::function<std::optional<std::u16string>(HWND owner)>;

// Picks a folder in place of the user; none means the picker was cancelled.
using FolderPickerHook = std::function<std::optional<std::u16string>(HWND owner)>;

// Carries out a shell "open" in place of the shell; returns what ShellExecuteW would.
using ShellOpenHook = std::function<INT_PTR(HWND owner, const std::u16string& file,
                                            const std::u16string& parameters)>;
// The same for any verb.
using ShellExecuteHook =
    std::function<INT_PTR(HWND owner, const std::u16string& verb, const std::u16string& file,
                          const std::u16string& parameters)>;

// Sees every shell verb (ShellOpen's "open" among them) with how the opened window is to be shown;
// returns what ShellExecuteW would. It takes precedence over the other two shell hooks.
struct ShellOpenRequest {
  HWND owner;
  std::u16string file;
  std::u16string parameters;
  int show;
  std::u16string verb;
};
using ShellOpenRequestHook = std::function<INT_PTR(const ShellOpenRequest& request)>;

// Takes the place of the shell's context menu for one file.
using ShellMenuHook =
    std::function<void(HWND owner, POINT screenPoint, const std::u16string& path)>;

void SetMessageBoxHook(MessageBoxHook hook);
void SetShellOpenRequestHook(ShellOpenRequestHook hook);
void SetShellMenuHook(ShellMenuHook hook);
// Both set the one hook of ShellOpen and ShellExecuteVerb; the first sees only the files.
void SetShellOpenHook(ShellOpenHook hook);
void SetShellExecuteHook(ShellExecuteHook hook);
void SetFolderPickerHook(FolderPickerHook hook);
void SetSaveFilePickerHook(SaveFilePickerHook hook);
void SetPopupMenuHook(PopupMenuHook hook);
void SetProcessStartHook(ProcessStartHook hook);

// TrackPopupMenu returning the chosen command (TPM_RETURNCMD), or the hook's choice.
UINT ChooseFromPopupMenu(HMENU menu, UINT flags, POINT screen, HWND owner);
// CreateProcessW with the command line (its first argument names the program), or the hook.
// False with the system's error code in `error` when it did not start.
bool StartProcess(const std::u16string& commandLine, DWORD& error);
void SetModalDialogHook(ModalDialogHook hook);

// MessageBoxW, or the hook's answer when one is set.
int ShowMessageBox(HWND owner, const std::u16string& text, const std::u16string& caption,
                   UINT type);

// The shell's folder picker (file-system folders only, new dialog style, the title "Chose the
// directory", no folder preselected), or the hook's choice. Returns the picked folder's path when
// it is a directory.
std::optional<std::u16string> PickFolder(HWND owner);

// The common Save As dialog (asking before replacing a file) with a filter in the form
// "name|pattern|...|" and a suggested file name, or the hook's choice.
std::optional<std::u16string> PickSaveFile(HWND owner, const std::u16string& filter,
                                           const std::u16string& fileName,
                                           const std::u16string& extension);

// ShellExecuteW with the verb "open" (or the hook); a result of 32 or less is a failure.
INT_PTR ShellOpen(HWND owner, const std::u16string& file, const std::u16string& parameters,
                  const std::u16string& directory, int show);
INT_PTR ShellExecuteVerb(HWND owner, const std::u16string& verb, const std::u16string& file,
                         const std::u16string& parameters, const std::u16string& directory,
                         int show);

// The hook's answer for this dialog, if a hook is set and answers.
std::optional<INT_PTR> AnswerModalDialog(Dialog& dialog);

// True when the hook took the place of the shell's context menu.
bool AnswerShellMenu(HWND owner, POINT screenPoint, const std::u16string& path);
