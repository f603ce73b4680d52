// The toolkit's application object: start-up hook and the message filter that every modal loop
// of the toolkit consults before a message reaches a dialog.
#pragma once

#include <windows.h>

#include <string>

class Application {
 public:
  Application();
  virtual ~Application();
  Application(const Application&) = delete;
  Application& operator=(const Application&) = delete;

  static Application* Current() { return current_; }

  // Runs InitInstance; returns the process exit code.
  int Run();

  // Start-up hook; the process ends when it returns (false) or continues with a message loop
  // of its own (true).
  virtual bool InitInstance();
  // Message filter: true when the message was handled and must not be dispatched.
  virtual bool PreTranslateMessage(MSG& message);

  HINSTANCE instance() const { return instance_; }
  HWND mainWindow() const { return mainWindow_; }
  void SetMainWindow(HWND window) { mainWindow_ = window; }
  void SetRegistryKey(std::u16string key) { registryKey_ = std::move(key); }
  const std::u16string& registryKey() const { return registryKey_; }

 private:
  static Application* current_;
  HINSTANCE instance_;
  HWND mainWindow_ = nullptr;
  std::u16string registryKey_;
};
