#include "ui/win32/modal_hooks.h"

#include "platform/win32/wide.h"

namespace {
MessageBoxHook& MessageBoxHookSlot() {
  static MessageBoxHook hook;
  return hook;
}
ModalDialogHook& ModalDialogHookSlot() {
  static ModalDialogHook hook;
  return hook;
}
}  // namespace

void SetMessageBoxHook(MessageBoxHook hook) {
  MessageBoxHookSlot() = std::move(hook);
}

void SetModalDialogHook(ModalDialogHook hook) {
  ModalDialogHookSlot() = std::move(hook);
}

int ShowMessageBox(HWND owner, const std::u16string& text, const std::u16string& caption,
                   UINT type) {
  if (MessageBoxHookSlot())
    return MessageBoxHookSlot()(owner, text, caption, type);
  return MessageBoxW(owner, platform::Wide(text), platform::Wide(caption), type);
}

std::optional<INT_PTR> AnswerModalDialog(Dialog& dialog) {
  if (!ModalDialogHookSlot())
    return std::nullopt;
  return ModalDialogHookSlot()(dialog);
}
