#include "ui/win32/modal_hooks.h"

#include <gtest/gtest.h>

#include "resource.h"
#include "ui/win32/dialog.h"
#include "ui/win32/voxa_dlg.h"

TEST(ModalHooks, MessageBoxIsAnsweredByTheHook) {
  std::u16string seenText, seenCaption;
  SetMessageBoxHook([&](HWND, const std::u16string& text, const std::u16string& caption, UINT) {
    seenText = text;
    seenCaption = caption;
    return IDCANCEL;
  });
  EXPECT_EQ(ShowMessageBox(nullptr, u"Continue?", u"Warning", MB_OKCANCEL), IDCANCEL);
  EXPECT_EQ(seenText, u"Continue?");
  EXPECT_EQ(seenCaption, u"Warning");
  SetMessageBoxHook(nullptr);
}

TEST(ModalHooks, ModalDialogIsAnsweredAfterInitialisation) {
  UINT seenTemplate = 0;
  bool hadWindow = false;
  SetModalDialogHook([&](Dialog& dialog) -> std::optional<INT_PTR> {
    seenTemplate = dialog.templateId();
    hadWindow = IsWindow(dialog.hwnd());
    return IDCANCEL;
  });
  MemorySettingsKeyStore store;
  CVOXADlg dialog(nullptr, &store);
  EXPECT_EQ(dialog.DoModal(), IDCANCEL);
  EXPECT_EQ(seenTemplate, static_cast<UINT>(IDD_VOXA_DIALOG));
  EXPECT_TRUE(hadWindow);
  EXPECT_EQ(dialog.hwnd(), nullptr) << "the window is gone after the modal run";
  SetModalDialogHook(nullptr);
}
