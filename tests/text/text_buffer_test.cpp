#include "text/text_buffer.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TextBuffer Make(std::u16string_view text) {
  TextBuffer buffer;
  EXPECT_TRUE(TextBuffer::FromText(text, buffer));
  return buffer;
}

void ExpectText(const TextBuffer& buffer, std::u16string_view text) {
  EXPECT_EQ(buffer.view(), text);
  ASSERT_NE(buffer.data(), nullptr);
  EXPECT_EQ(buffer.data()[buffer.length()], u'\0') << "the zero unit after the text";
}

// Inserts units until the block is exactly full: the text and its zero fill the usable size.
void FillBlock(TextBuffer& buffer) {
  const size_t room = buffer.capacity() - 1 - buffer.length();
  ASSERT_TRUE(SpliceText(buffer, 0, buffer.length(), std::u16string(room, u'.')));
  ASSERT_EQ(buffer.capacity(), buffer.length() + 1);
}

}  // namespace

TEST(SpliceText, InsertsAtBothEndsAndInTheMiddle) {
  TextBuffer buffer = Make(u"middle");
  ASSERT_TRUE(SpliceText(buffer, 0, 0, u"<"));
  ExpectText(buffer, u"<middle");
  ASSERT_TRUE(SpliceText(buffer, 0, buffer.length(), u">"));
  ExpectText(buffer, u"<middle>");
  ASSERT_TRUE(SpliceText(buffer, 0, 4, u"--"));
  ExpectText(buffer, u"<mid--dle>");
}

TEST(SpliceText, DeletesAtBothEndsAndEverything) {
  TextBuffer buffer = Make(u"abcdef");
  ASSERT_TRUE(SpliceText(buffer, 2, 0, u""));
  ExpectText(buffer, u"cdef");
  ASSERT_TRUE(SpliceText(buffer, 2, 2, u""));
  ExpectText(buffer, u"cd");
  ASSERT_TRUE(SpliceText(buffer, 1, 1, u""));
  ExpectText(buffer, u"c");
  ASSERT_TRUE(SpliceText(buffer, 1, 0, u""));
  ExpectText(buffer, u"");
}

TEST(SpliceText, ReplacesByShorterLongerAndEqualTexts) {
  TextBuffer buffer = Make(u"one two three");
  ASSERT_TRUE(SpliceText(buffer, 3, 4, u"2"));
  ExpectText(buffer, u"one 2 three");
  ASSERT_TRUE(SpliceText(buffer, 3, 0, u"ONE!"));
  ExpectText(buffer, u"ONE! 2 three");
  const char16_t* before = buffer.data();
  const size_t capacity = buffer.capacity();
  ASSERT_TRUE(SpliceText(buffer, 5, 7, u"THREE"));
  ExpectText(buffer, u"ONE! 2 THREE");
  EXPECT_EQ(buffer.data(), before) << "an equal-length splice keeps the block";
  EXPECT_EQ(buffer.capacity(), capacity);
}

TEST(SpliceText, GrowsAFullBlockToAboutTheNewLength) {
  TextBuffer buffer = Make(u"abc");
  FillBlock(buffer);
  const size_t length = buffer.length();
  const std::u16string tail = std::u16string(buffer.view().substr(3));
  ASSERT_TRUE(SpliceText(buffer, 1, 1, u"XYZ"));
  ExpectText(buffer, u"aXYZc" + tail);
  EXPECT_EQ(buffer.length(), length + 2);
  EXPECT_GE(buffer.capacity(), buffer.length() + 1);
  EXPECT_LE(buffer.capacity(), buffer.length() + 1 + 8) << "no more than the heap's rounding";
}

TEST(SpliceText, DoesNotGrowWhileTheBlockHasRoom) {
  TextBuffer buffer = Make(u"abcdef");
  const char16_t* block = buffer.data();
  const size_t capacity = buffer.capacity();
  ASSERT_TRUE(SpliceText(buffer, 4, 2, u""));  // room for four more units now
  ASSERT_TRUE(SpliceText(buffer, 0, 2, u"1234"));
  ExpectText(buffer, u"ab1234");
  EXPECT_EQ(buffer.data(), block);
  EXPECT_EQ(buffer.capacity(), capacity);
}

TEST(SpliceText, WorksOnAnEmptyBufferWithoutABlock) {
  TextBuffer buffer;
  ASSERT_TRUE(SpliceText(buffer, 0, 0, u"new"));
  ExpectText(buffer, u"new");
  TextBuffer empty;
  ASSERT_TRUE(SpliceText(empty, 0, 0, u""));
  ExpectText(empty, u"");
}

TEST(SpliceText, InsertsAPieceOfItsOwnTextEvenWhenTheBlockMoves) {
  TextBuffer buffer = Make(u"abc");
  FillBlock(buffer);
  const std::u16string original(buffer.view());
  // The inserted text lies in the block, which must grow under it.
  ASSERT_TRUE(SpliceText(buffer, 0, 0, buffer.view().substr(0, 3)));
  ExpectText(buffer, u"abc" + original);
  TextBuffer overlap = Make(u"0123456789");
  ASSERT_TRUE(SpliceText(overlap, 2, 1, overlap.view().substr(4, 4)));
  ExpectText(overlap, u"045673456789");
}

TEST(SpliceText, RejectsARangeOutsideTheTextAndKeepsTheBuffer) {
  TextBuffer buffer = Make(u"abc");
  EXPECT_FALSE(SpliceText(buffer, 0, 4, u"x"));
  EXPECT_FALSE(SpliceText(buffer, 2, 2, u"x"));
  ExpectText(buffer, u"abc");
}
