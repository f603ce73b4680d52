#include <atomic>

#include "platform/stop_event.h"

namespace platform {

struct StopEvent::Impl {
  std::atomic<bool> set{false};
};

StopEvent::StopEvent() : impl_(std::make_unique<Impl>()) {}
StopEvent::~StopEvent() = default;
void StopEvent::Set() {
  impl_->set.store(true, std::memory_order_release);
}
void StopEvent::Reset() {
  impl_->set.store(false, std::memory_order_release);
}
bool StopEvent::IsSet() const {
  return impl_->set.load(std::memory_order_acquire);
}

}  // namespace platform
