#include "ui/win32/application.h"

Application* Application::current_ = nullptr;

Application::Application() : instance_(GetModuleHandleW(nullptr)) {
  current_ = this;
}

Application::~Application() {
  if (current_ == this)
    current_ = nullptr;
}

int Application::Run() {
  if (!InitInstance())
    return 0;
  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    if (PreTranslateMessage(message))
      continue;
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  return static_cast<int>(message.wParam);
}

bool Application::InitInstance() {
  return true;
}

bool Application::PreTranslateMessage(MSG&) {
  return false;
}
