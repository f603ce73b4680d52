#include "text/text_buffer.h"

#include <cstdlib>
#include <cstring>
#include <functional>
#include <limits>
#include <memory>
#include <utility>

#include "platform/heap_block.h"
#include "text/reused_blocks.h"

TextBuffer::~TextBuffer() {
  FreeBlock(units_);
}

TextBuffer::TextBuffer(TextBuffer&& other) noexcept
    : units_(std::exchange(other.units_, nullptr)), length_(std::exchange(other.length_, 0)) {}

TextBuffer& TextBuffer::operator=(TextBuffer&& other) noexcept {
  if (this != &other) {
    FreeBlock(units_);
    units_ = std::exchange(other.units_, nullptr);
    length_ = std::exchange(other.length_, 0);
  }
  return *this;
}

bool TextBuffer::FromText(std::u16string_view text, TextBuffer& out) {
  auto* block = static_cast<char16_t*>(std::malloc((text.size() + 1) * sizeof(char16_t)));
  if (!block)
    return false;
  if (!text.empty())
    std::memcpy(block, text.data(), text.size() * sizeof(char16_t));
  block[text.size()] = 0;
  out.Adopt(block, text.size());
  return true;
}

size_t TextBuffer::capacity() const {
  return platform::HeapBlockSize(units_) / sizeof(char16_t);
}

void TextBuffer::Adopt(char16_t* block, size_t length) {
  FreeBlock(units_);
  units_ = block;
  length_ = length;
}

char16_t* TextBuffer::Release() {
  length_ = 0;
  return std::exchange(units_, nullptr);
}

bool SpliceText(TextBuffer& buffer, size_t removeCount, size_t position,
                std::u16string_view insertText) {
  const size_t length = buffer.length_;
  if (position > length || removeCount > length - position)
    return false;
  const size_t newLength = length - removeCount + insertText.size();
  if (newLength >= std::numeric_limits<size_t>::max() / sizeof(char16_t) - 1)
    return false;

  // The inserted text may lie inside the buffer itself; copy it before the block can move.
  std::unique_ptr<char16_t, decltype(&std::free)> ownCopy(nullptr, &std::free);
  const std::less<const char16_t*> before;
  if (buffer.units_ && !insertText.empty() && !before(insertText.data(), buffer.units_) &&
      !before(buffer.units_ + length, insertText.data())) {
    ownCopy.reset(static_cast<char16_t*>(std::malloc(insertText.size() * sizeof(char16_t))));
    if (!ownCopy)
      return false;
    std::memcpy(ownCopy.get(), insertText.data(), insertText.size() * sizeof(char16_t));
    insertText = std::u16string_view(ownCopy.get(), insertText.size());
  }

  const size_t neededBytes = (newLength + 1) * sizeof(char16_t);
  if (platform::HeapBlockSize(buffer.units_) < neededBytes) {
    void* grown = std::realloc(buffer.units_, neededBytes);
    if (!grown)
      return false;
    buffer.units_ = static_cast<char16_t*>(grown);
    if (length == 0)
      buffer.units_[0] = 0;  // a fresh block has no terminator yet
  }
  char16_t* units = buffer.units_;
  if (insertText.size() != removeCount) {
    // The tail moves together with its zero unit.
    std::memmove(units + position + insertText.size(), units + position + removeCount,
                 (length - position - removeCount + 1) * sizeof(char16_t));
  }
  if (!insertText.empty())
    std::memcpy(units + position, insertText.data(), insertText.size() * sizeof(char16_t));
  buffer.length_ = newLength;
  return true;
}
