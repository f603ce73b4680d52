#include "text/byte_buffer.h"

#include <cstdlib>
#include <utility>

#include "text/reused_blocks.h"

ByteBuffer::~ByteBuffer() {
  FreeBlock(bytes_);
}

ByteBuffer::ByteBuffer(ByteBuffer&& other) noexcept
    : bytes_(std::exchange(other.bytes_, nullptr)), size_(std::exchange(other.size_, 0)) {}

ByteBuffer& ByteBuffer::operator=(ByteBuffer&& other) noexcept {
  if (this != &other) {
    FreeBlock(bytes_);
    bytes_ = std::exchange(other.bytes_, nullptr);
    size_ = std::exchange(other.size_, 0);
  }
  return *this;
}

void ByteBuffer::Adopt(unsigned char* block, size_t size) {
  if (block != bytes_)
    FreeBlock(bytes_);
  bytes_ = block;
  size_ = size;
}

unsigned char* ByteBuffer::Release() {
  size_ = 0;
  return std::exchange(bytes_, nullptr);
}
