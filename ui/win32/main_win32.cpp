#include <windows.h>

#include "platform/win32/wide.h"
#include "ui/win32/voxa_app.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR commandLine, int) {
  CVOXAApp app(platform::FromWide(commandLine ? commandLine : L""));
  return app.Run();
}
