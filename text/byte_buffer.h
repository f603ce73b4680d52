// The encoded form of a text: a heap block of bytes, its length, and zero bytes after the last
// byte (one, or two after UTF-16) that the length does not count.
#pragma once

#include <cstddef>
#include <span>

class ByteBuffer {
 public:
  ByteBuffer() = default;
  ~ByteBuffer();
  ByteBuffer(ByteBuffer&& other) noexcept;
  ByteBuffer& operator=(ByteBuffer&& other) noexcept;
  ByteBuffer(const ByteBuffer&) = delete;
  ByteBuffer& operator=(const ByteBuffer&) = delete;

  unsigned char* data() { return bytes_; }
  const unsigned char* data() const { return bytes_; }
  size_t size() const { return size_; }
  std::span<const unsigned char> view() const { return {bytes_, size_}; }

  // Takes over a block from the heap allocator (malloc family) holding size bytes and the zeros.
  void Adopt(unsigned char* block, size_t size);
  // Gives up the block; the caller frees it with std::free.
  unsigned char* Release();

 private:
  unsigned char* bytes_ = nullptr;
  size_t size_ = 0;
};
