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

void SetMessageBoxHook(MessageBoxHook hook);
void SetModalDialogHook(ModalDialogHook hook);

// MessageBoxW, or the hook's answer when one is set.
int ShowMessageBox(HWND owner, const std::u16string& text, const std::u16string& caption,
                   UINT type);

// The hook's answer for this dialog, if a hook is set and answers.
std::optional<INT_PTR> AnswerModalDialog(Dialog& dialog);
