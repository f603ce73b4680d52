#include <windows.h>

#include "ui/win32/voxa_app.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  CVOXAApp app;
  return app.Run();
}
