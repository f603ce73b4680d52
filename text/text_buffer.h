// The decoded text of one file: a heap block of 16-bit units, a length, and one zero unit after
// the last unit that the length does not count. Changed in place by SpliceText.
#pragma once

#include <cstddef>
#include <string_view>

class TextBuffer {
 public:
  TextBuffer() = default;
  ~TextBuffer();
  TextBuffer(TextBuffer&& other) noexcept;
  TextBuffer& operator=(TextBuffer&& other) noexcept;
  TextBuffer(const TextBuffer&) = delete;
  TextBuffer& operator=(const TextBuffer&) = delete;

  // A buffer holding a copy of the text; false when memory runs out.
  static bool FromText(std::u16string_view text, TextBuffer& out);

  // The units, followed by one zero unit; never null once the buffer holds a block.
  char16_t* data() { return units_; }
  const char16_t* data() const { return units_; }
  size_t length() const { return length_; }
  std::u16string_view view() const { return {units_, length_}; }
  // Units the block can hold, its terminating zero included, as the heap reports its size.
  size_t capacity() const;

  // Takes over a block from the heap allocator (malloc family) holding length units and a zero.
  void Adopt(char16_t* block, size_t length);
  // Gives up the block; the caller frees it with std::free.
  char16_t* Release();

 private:
  friend bool SpliceText(TextBuffer&, size_t, size_t, std::u16string_view);
  char16_t* units_ = nullptr;
  size_t length_ = 0;
};

// Replaces removeCount units at position by insertText. The block is reallocated, to exactly
// the new length plus the zero unit, only when its usable size is too small. Returns false, with
// the buffer unchanged, when memory runs out or the range lies outside the text.
bool SpliceText(TextBuffer& buffer, size_t removeCount, size_t position,
                std::u16string_view insertText);
