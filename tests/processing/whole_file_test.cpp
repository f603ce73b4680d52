#include "processing/whole_file.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "platform/file_fault.h"
#include "tests/support/temp_tree.h"

namespace {

std::span<const unsigned char> Bytes(const std::string& text) {
  return {reinterpret_cast<const unsigned char*>(text.data()), text.size()};
}

class WholeFile : public ::testing::Test {
 protected:
  ~WholeFile() override { platform::DisarmFileFaults(); }

  platform::File Open(const std::string& content) {
    tree.MakeFile(u"a.txt", content);
    platform::File file;
    platform::ErrorCode error = 0;
    EXPECT_TRUE(file.Open(tree.Path(u"a.txt"), platform::FileAccess::ReadWrite,
                          platform::FileShare::Read, error));
    return file;
  }

  std::string Content() const {
    std::ifstream in(tree.FsPath(u"a.txt"), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }

  // Contents before and after, with changes near the start, in the middle and at the end of
  // texts longer than one block.
  static std::vector<std::pair<std::string, std::string>> Cases() {
    const std::string big(10000, 'x');
    std::string firstAndLast = big;
    firstAndLast[5] = 'A';
    firstAndLast[9990] = 'B';
    std::string middle = big;
    middle[5000] = 'M';
    return {{"one two three", "one 2 three"},
            {"one two three", "one twenty-two three"},
            {"abc", "abc"},
            {"abc", ""},
            {"", "new"},
            {big, firstAndLast},
            {big, middle},
            {big, big + "tail"},
            {big + "tail", big}};
  }

  TempTree tree;
};

TEST_F(WholeFile, ReadsEveryByte) {
  for (const std::string& content :
       {std::string(), std::string("a\0b", 3), std::string(70000, 'q')}) {
    platform::File file = Open(content);
    FileBytes bytes;
    ASSERT_EQ(ReadWholeFile(file, bytes), 0u);
    EXPECT_EQ(std::string(bytes.view().begin(), bytes.view().end()), content);
  }
}

TEST_F(WholeFile, WritesExactlyTheNewContent) {
  for (const auto& [before, after] : Cases()) {
    platform::File file = Open(before);
    ASSERT_EQ(WriteWholeFile(file, Bytes(after), Bytes(before)), 0u);
    file.Close();
    EXPECT_EQ(Content(), after) << before.size() << " -> " << after.size();
  }
}

TEST_F(WholeFile, FailedWriteRestoresTheOriginal) {
  for (platform::FileOperation operation :
       {platform::FileOperation::Write, platform::FileOperation::SetLength,
        platform::FileOperation::Flush}) {
    for (int skip : {0, 1}) {
      for (const auto& [before, after] : Cases()) {
        platform::File file = Open(before);
        platform::FileFault fault;
        fault.operation = operation;
        fault.skip = skip;  // the second write, where a change has two runs
        fault.bytesBefore = 1;
        fault.error = platform::kErrorOutOfMemory;
        platform::ArmFileFault(fault);
        const platform::ErrorCode error = WriteWholeFile(file, Bytes(after), Bytes(before));
        platform::DisarmFileFaults();
        file.Close();
        if (error == 0) {
          EXPECT_EQ(Content(), after) << "the fault never fired";
          continue;
        }
        EXPECT_EQ(error, platform::kErrorOutOfMemory);
        EXPECT_EQ(Content(), before) << static_cast<int>(operation) << " " << skip << " "
                                     << before.size() << " -> " << after.size();
      }
    }
  }
}

TEST_F(WholeFile, UnchangedContentIsStillWritten) {
  platform::File file = Open("same");
  platform::FileTimes times;
  platform::ErrorCode error = 0;
  ASSERT_TRUE(file.GetTimes(times, error));
  times.lastWrite = 126254952000000000ull;  // 2001
  times.hasCreation = false;
  ASSERT_TRUE(file.SetTimes(times, error));
  ASSERT_EQ(WriteWholeFile(file, Bytes("same"), Bytes("same")), 0u);
  file.Close();
  ASSERT_TRUE(
      file.Open(tree.Path(u"a.txt"), platform::FileAccess::Read, platform::FileShare::Read, error));
  ASSERT_TRUE(file.GetTimes(times, error));
  EXPECT_GT(times.lastWrite, 126254952000000000ull);
}

}  // namespace
