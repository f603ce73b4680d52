// The application object: initialises the platform and runs the main dialog.
#pragma once

#include "ui/win32/application.h"

class CVOXAApp : public Application {
 public:
  CVOXAApp() = default;

  bool InitInstance() override;
  bool PreTranslateMessage(MSG& message) override;

  HACCEL accelerators() const { return accelerators_; }
  // Loads the accelerator table; also used by tests that host the main dialog themselves.
  void LoadAcceleratorTable();

 private:
  HACCEL accelerators_ = nullptr;
};
