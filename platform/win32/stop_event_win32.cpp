#include <windows.h>

#include "platform/stop_event.h"

namespace platform {

struct StopEvent::Impl {
  HANDLE event = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  ~Impl() {
    if (event)
      CloseHandle(event);
  }
};

StopEvent::StopEvent() : impl_(std::make_unique<Impl>()) {}
StopEvent::~StopEvent() = default;
void StopEvent::Set() {
  SetEvent(impl_->event);
}
void StopEvent::Reset() {
  ResetEvent(impl_->event);
}
bool StopEvent::IsSet() const {
  return WaitForSingleObject(impl_->event, 0) == WAIT_OBJECT_0;
}

}  // namespace platform
