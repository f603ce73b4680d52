// The toolkit's dialog: runs a dialog template modally or modeless and routes window messages,
// commands and control notifications to member handlers.
#pragma once

#include <windows.h>

#include <commctrl.h>

class Dialog {
 public:
  explicit Dialog(UINT templateId, HWND parent = nullptr);
  virtual ~Dialog();
  Dialog(const Dialog&) = delete;
  Dialog& operator=(const Dialog&) = delete;

  // Runs the dialog modally with the toolkit's own loop, which lets the application's message
  // filter see every message first. Returns the EndDialog result, or -1 when the dialog could
  // not be created.
  INT_PTR DoModal();
  // Creates the dialog modeless (visible when its template says so); false on failure.
  bool Create(HWND parent);
  // Ends a modal run with this result, or destroys a modeless dialog.
  void EndDialog(INT_PTR result);

  HWND hwnd() const { return hwnd_; }
  HWND Item(int id) const { return GetDlgItem(hwnd_, id); }
  UINT templateId() const { return templateId_; }
  // The DPI the dialog is laid out for, and the font of its controls at that DPI.
  int dpi() const { return dpi_; }
  HFONT font() const;

 protected:
  // Returns true to let the system set the default focus.
  virtual bool OnInitDialog() { return true; }
  // Returns true when the command was handled. The default ends the dialog on IDOK and IDCANCEL.
  virtual bool OnCommand(int id, int code, HWND control);
  // Returns true when handled; result is the notification's result.
  virtual bool OnNotify(NMHDR& header, LRESULT& result);
  virtual void OnSize(UINT type, int width, int height);
  // First chance at every message; true when handled, with the message result in result.
  virtual bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
  // Called once after the window is destroyed.
  virtual void OnDestroyed() {}
  // Called on a change of DPI after the controls (and those of child dialogs) have been given
  // the new font and scaled in place, before the window takes its new rectangle.
  virtual void OnDpiChanged(int /*oldDpi*/, int /*newDpi*/) {}

  // The dialog's own default processing for a message it has taken.
  LRESULT DefaultProcessing(UINT message, WPARAM wParam, LPARAM lParam);

 private:
  static INT_PTR CALLBACK DialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  INT_PTR HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
  void RunModalLoop();
  void ApplyDpi(int newDpi, const RECT& suggested);

  UINT templateId_;
  HWND parent_;
  HWND hwnd_ = nullptr;
  bool modal_ = false;
  bool ended_ = false;
  bool inDefault_ = false;
  INT_PTR result_ = -1;
  int dpi_ = 96;
  // The controls' font after a change of DPI; the template's font until then.
  HFONT dpiFont_ = nullptr;
};
