#include <windows.h>

#include <objbase.h>

#include "platform/thread.h"

namespace platform {
namespace {

constexpr SIZE_T kStackSize = 4096;

struct StartArguments {
  Thread::Entry entry;
  void* argument;
};

DWORD WINAPI RunEntry(LPVOID parameter) {
  std::unique_ptr<StartArguments> start(static_cast<StartArguments*>(parameter));
  // Shell calls such as SHGetFileInfoW need COM on the calling thread.
  const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  const DWORD result = start->entry(start->argument);
  if (SUCCEEDED(com))
    CoUninitialize();
  return result;
}

}  // namespace

struct Thread::Impl {
  HANDLE handle = nullptr;
};

Thread::Thread() : impl_(std::make_unique<Impl>()) {}

Thread::~Thread() {
  Clear();
}

bool Thread::Start(Entry entry, void* argument, std::uint32_t& threadId, ErrorCode& error) {
  if (IsSet()) {
    error = ERROR_BUSY;
    return false;
  }
  auto start = std::make_unique<StartArguments>(StartArguments{entry, argument});
  DWORD id = 0;
  HANDLE handle = CreateThread(nullptr, kStackSize, RunEntry, start.get(), 0, &id);
  if (!handle) {
    error = GetLastError();
    return false;
  }
  start.release();  // the thread owns it now
  impl_->handle = handle;
  threadId = id;
  return true;
}

bool Thread::IsSet() const {
  return impl_->handle != nullptr;
}

void Thread::Clear() {
  if (impl_->handle)
    CloseHandle(impl_->handle);
  impl_->handle = nullptr;
}

}  // namespace platform
