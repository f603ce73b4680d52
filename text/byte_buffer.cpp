#include "text/byte_buffer.h"

#include <cstdlib>
#include <utility>

ByteBuffer::~ByteBuffer() {
  std::free(bytes_);
}

ByteBuffer::ByteBuffer(ByteBuffer&& other) noexcept
    : bytes_(std::exchange(other.bytes_, nullptr)), size_(std::exchange(other.size_, 0)) {}

ByteBuffer& ByteBuffer::operator=(ByteBuffer&& other) noexcept {
  if (this != &other) {
    std::free(bytes_);
    bytes_ = std::exchange(other.bytes_, nullptr);
    size_ = std::exchange(other.size_, 0);
  }
  return *this;
}

void ByteBuffer::Adopt(unsigned char* block, size_t size) {
  if (block != bytes_)
    std::free(bytes_);
  bytes_ = block;
  size_ = size;
}

unsigned char* ByteBuffer::Release() {
  size_ = 0;
  return std::exchange(bytes_, nullptr);
}
