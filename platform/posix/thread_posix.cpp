#include <atomic>
#include <cerrno>
#include <system_error>
#include <thread>

#include "platform/thread.h"

namespace platform {

struct Thread::Impl {
  std::thread thread;
};

Thread::Thread() : impl_(std::make_unique<Impl>()) {}

Thread::~Thread() {
  Clear();
}

bool Thread::Start(Entry entry, void* argument, std::uint32_t& threadId, ErrorCode& error) {
  if (IsSet()) {
    error = EBUSY;
    return false;
  }
  try {
    impl_->thread = std::thread([entry, argument] { entry(argument); });
  } catch (const std::system_error& failure) {
    error = static_cast<ErrorCode>(failure.code().value());
    return false;
  }
  // std::thread has no 32-bit identifier of its own: number the threads of the process.
  static std::atomic<std::uint32_t> lastId{0};
  threadId = ++lastId;
  return true;
}

bool Thread::IsSet() const {
  return impl_->thread.joinable();
}

void Thread::Clear() {
  if (impl_->thread.joinable())
    impl_->thread.detach();
}

}  // namespace platform
