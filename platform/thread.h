// A thread that runs one function with one argument and then ends on its own.
#pragma once

#include <cstdint>
#include <memory>

#include "platform/system_error.h"

namespace platform {

class Thread {
 public:
  using Entry = std::uint32_t (*)(void* argument);

  Thread();
  ~Thread();
  Thread(const Thread&) = delete;
  Thread& operator=(const Thread&) = delete;

  // Starts entry(argument) on a new thread (on Windows CreateThread with a stack size of 4096
  // bytes, COM initialised apartment-threaded around the entry) and keeps its handle. False, with
  // nothing started and error set, when the thread cannot be created or one is still set.
  bool Start(Entry entry, void* argument, std::uint32_t& threadId, ErrorCode& error);
  bool IsSet() const;
  // Lets go of the handle; the thread runs on to its end.
  void Clear();

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

}  // namespace platform
