#include <windows.h>

#include <objbase.h>

#include <gtest/gtest.h>

#include <atomic>

#include "platform/thread.h"

namespace {

// S_FALSE: the thread's apartment was already set up, in the same model.
std::uint32_t TryApartment(void* argument) {
  const HRESULT result = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  if (SUCCEEDED(result))
    CoUninitialize();
  static_cast<std::atomic<HRESULT>*>(argument)->store(result);
  return 0;
}

TEST(Thread, EntryRunsWithComApartmentThreaded) {
  std::atomic<HRESULT> result{E_PENDING};
  platform::Thread thread;
  std::uint32_t id = 0;
  platform::ErrorCode error = 0;
  ASSERT_TRUE(thread.Start(TryApartment, &result, id, error));
  for (int i = 0; i < 500 && result.load() == E_PENDING; ++i)
    Sleep(10);
  EXPECT_EQ(result.load(), S_FALSE);
}

}  // namespace
