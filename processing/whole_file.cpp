#include "processing/whole_file.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <new>
#include <vector>

#include "platform/heap_block.h"

namespace {

// Growth of the block when the file turns out longer than its size said.
constexpr size_t kGrowthStep = size_t{1} << 16;
// The most one read asks for: less than any backend's cap on one transfer, so that a short read
// means the end.
constexpr size_t kMaxRead = size_t{1} << 29;

// A run of bytes to write, [start, end).
struct Run {
  size_t start;
  size_t end;
};

// The runs of content that differ from the original. With a new length everything from the
// first difference on; with the same length only the blocks that differ, joined where they meet.
// A content equal to the original is written whole, as any change is.
std::vector<Run> ChangedRuns(std::span<const unsigned char> content,
                             std::span<const unsigned char> original) {
  constexpr size_t kBlock = 4096;
  std::vector<Run> runs;
  if (content.size() != original.size()) {
    const size_t shorter = std::min(content.size(), original.size());
    size_t from = 0;
    while (shorter - from >= kBlock &&
           std::memcmp(content.data() + from, original.data() + from, kBlock) == 0)
      from += kBlock;
    runs.push_back({from, std::max(content.size(), original.size())});
    return runs;
  }
  for (size_t start = 0; start < content.size(); start += kBlock) {
    const size_t end = std::min(start + kBlock, content.size());
    if (std::memcmp(content.data() + start, original.data() + start, end - start) == 0)
      continue;
    if (!runs.empty() && runs.back().end == start)
      runs.back().end = end;
    else
      runs.push_back({start, end});
  }
  if (runs.empty())
    runs.push_back({0, content.size()});
  return runs;
}

// Makes the file `content` by writing the runs (clipped to the content) over the file, whose
// other bytes hold content's already.
platform::ErrorCode Replace(platform::File& file, std::span<const unsigned char> content,
                            const std::vector<Run>& runs) {
  platform::ErrorCode error = 0;
  if (!file.SetLength(content.size(), error))
    return error;
  for (const Run& run : runs) {
    const size_t end = std::min(run.end, content.size());
    size_t done = 0;
    if (run.start >= end)
      continue;
    if (!file.Seek(run.start, error) ||
        !file.Write(content.data() + run.start, end - run.start, done, error))
      return error;
  }
  if (!file.Flush(error))
    return error;
  return 0;
}

}  // namespace

platform::ErrorCode ReadWholeFile(platform::File& file, FileBytes& bytes) {
  platform::ErrorCode error = 0;
  std::uint64_t listed = 0;
  if (!file.Size(listed, error))
    return error;
  // Room for the listed size and one more byte, which tells whether the file grew.
  if (listed >= SIZE_MAX - kGrowthStep)
    return platform::kErrorOutOfMemory;
  size_t capacity = static_cast<size_t>(listed) + 1;
  auto* block = static_cast<unsigned char*>(AllocateBlock(capacity));
  if (!block)
    return platform::kErrorOutOfMemory;
  bytes.block_.reset(block);
  // A kept block may be larger than asked for: all of it is read into.
  capacity = std::max(capacity, platform::HeapBlockSize(block));
  bytes.size_ = 0;
  for (;;) {
    if (bytes.size_ == capacity) {
      if (capacity > SIZE_MAX - kGrowthStep)
        return platform::kErrorOutOfMemory;
      auto* grown =
          static_cast<unsigned char*>(std::realloc(bytes.block_.get(), capacity + kGrowthStep));
      if (!grown)
        return platform::kErrorOutOfMemory;
      bytes.block_.release();
      bytes.block_.reset(grown);
      capacity += kGrowthStep;
    }
    size_t done = 0;
    const size_t asked = std::min(capacity - bytes.size_, kMaxRead);
    if (!file.Read(bytes.block_.get() + bytes.size_, asked, done, error))
      return error;
    bytes.size_ += done;
    // A disk file reads short only at its end: no further call to confirm it.
    if (done == 0 || (done < asked && file.ShortReadEnds()))
      return 0;
  }
}

platform::ErrorCode WriteWholeFile(platform::File& file, std::span<const unsigned char> content,
                                   std::span<const unsigned char> original) {
  std::vector<Run> runs;
  try {
    runs = ChangedRuns(content, original);
  } catch (const std::bad_alloc&) {
    runs.assign(1, Run{0, std::max(content.size(), original.size())});
  }
  const platform::ErrorCode error = Replace(file, content, runs);
  if (error != 0)
    Replace(file, original, runs);
  return error;
}
