// A heap block that text is appended to, for building a changed text in one pass. It ends with
// two zero bytes after its content, as the text and byte buffers take their blocks over.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <utility>

#include "text/reused_blocks.h"

template <class T>
class GrowingBlock {
 public:
  GrowingBlock() = default;
  ~GrowingBlock() { FreeBlock(block_); }
  GrowingBlock(const GrowingBlock&) = delete;
  GrowingBlock& operator=(const GrowingBlock&) = delete;

  // False when memory runs out; the content stays as it was.
  bool Reserve(size_t count) {
    if (count <= capacity_)
      return true;
    if (count > (SIZE_MAX - kEndBytes) / sizeof(T))
      return false;
    const size_t bytes = count * sizeof(T) + kEndBytes;
    void* grown = block_ ? std::realloc(block_, bytes) : AllocateBlock(bytes);
    if (!grown)
      return false;
    block_ = static_cast<T*>(grown);
    capacity_ = count;
    return true;
  }

  bool Append(const T* values, size_t count) {
    if (count == 0)
      return true;
    T* room = Room(count);
    if (!room)
      return false;
    std::memcpy(room, values, count * sizeof(T));
    size_ += count;
    return true;
  }

  // Room for `count` values after the content, to be written there and added with Extend; null
  // when memory runs out.
  T* Room(size_t count) {
    if (!block_ && !Reserve(std::max<size_t>(count, 1)))
      return nullptr;
    if (count > capacity_ - size_) {
      if (count > SIZE_MAX / 2 - size_)
        return nullptr;
      const size_t needed = size_ + count;
      if (!Reserve(needed + needed / 2) && !Reserve(needed))
        return nullptr;
    }
    return block_ + size_;
  }
  void Extend(size_t count) { size_ += count; }

  // Drops the first `count` values; the rest move to the front.
  void DropFront(size_t count) {
    if (count != 0 && count < size_)
      std::memmove(block_, block_ + count, (size_ - count) * sizeof(T));
    size_ -= std::min(count, size_);
  }
  void Clear() { size_ = 0; }
  void Truncate(size_t size) { size_ = std::min(size, size_); }

  size_t size() const { return size_; }
  // The content so far; null before the first Reserve.
  const T* data() const { return block_; }

  // Gives the block up, with the zero bytes after the content; null when nothing was ever
  // reserved and no block could be made.
  T* Release() {
    if (!block_ && !Reserve(1))
      return nullptr;
    std::memset(reinterpret_cast<unsigned char*>(block_ + size_), 0, kEndBytes);
    capacity_ = size_ = 0;
    return std::exchange(block_, nullptr);
  }

 private:
  static constexpr size_t kEndBytes = 2;
  T* block_ = nullptr;
  size_t size_ = 0;
  size_t capacity_ = 0;
};
