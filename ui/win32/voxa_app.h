// The application object: initialises the platform and runs the main dialog.
#pragma once

#include <string>
#include <utility>

#include "ui/win32/application.h"

class CVOXAApp : public Application {
 public:
  // The command line without the program name: folders to search, filled into the path field.
  explicit CVOXAApp(std::u16string commandLine = {}) : commandLine_(std::move(commandLine)) {}

  bool InitInstance() override;
  bool PreTranslateMessage(MSG& message) override;

  HACCEL accelerators() const { return accelerators_; }
  // Loads the accelerator table; also used by tests that host the main dialog themselves.
  void LoadAcceleratorTable();

 private:
  std::u16string commandLine_;
  HACCEL accelerators_ = nullptr;
};
