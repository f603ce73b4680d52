// A file's content read whole into one heap block, and written back in place with the old
// content restored when the write fails.
#pragma once

#include <cstddef>
#include <cstdlib>
#include <memory>
#include <span>

#include "platform/file.h"
#include "platform/system_error.h"
#include "text/reused_blocks.h"

class FileBytes {
 public:
  std::span<const unsigned char> view() const { return {block_.get(), size_}; }
  size_t size() const { return size_; }

 private:
  friend platform::ErrorCode ReadWholeFile(platform::File& file, FileBytes& bytes);
  struct Free {
    void operator()(unsigned char* block) const { FreeBlock(block); }
  };
  std::unique_ptr<unsigned char[], Free> block_;
  size_t size_ = 0;
};

// Reads from the current position to the end of the file, however its size changed since it was
// listed: the size the handle reports first, then whatever follows. Returns 0, the read's error,
// or platform::kErrorOutOfMemory when the content does not fit in memory.
platform::ErrorCode ReadWholeFile(platform::File& file, FileBytes& bytes);

// Makes the file hold exactly `content`: new length first, then the bytes, then a flush. Bytes
// equal to the original's are not written again: those before the first difference, and with an
// unchanged length every block of them. When any step fails, `original` (the file's whole content
// before) is written back and the original length restored; the first step's error is returned.
[[nodiscard]]
platform::ErrorCode WriteWholeFile(platform::File& file, std::span<const unsigned char> content,
                                   std::span<const unsigned char> original);
