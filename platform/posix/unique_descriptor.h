// A POSIX file descriptor closed when it goes out of scope.
#pragma once

#include <unistd.h>

namespace platform {

class UniqueDescriptor {
 public:
  explicit UniqueDescriptor(int value) : value_(value) {}
  ~UniqueDescriptor() {
    if (value_ >= 0)
      close(value_);
  }
  UniqueDescriptor(const UniqueDescriptor&) = delete;
  UniqueDescriptor& operator=(const UniqueDescriptor&) = delete;

  int get() const { return value_; }
  bool valid() const { return value_ >= 0; }
  // Closes now; false, with errno set, when close reports a failure (a late write error).
  bool Close() {
    const int value = value_;
    value_ = -1;
    return value < 0 || close(value) == 0;
  }

 private:
  int value_;
};

}  // namespace platform
