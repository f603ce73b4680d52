#include "platform/file.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "platform/file_fault.h"
#include "tests/support/temp_tree.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <fcntl.h>
#include <unistd.h>

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>
#endif

namespace {

#ifdef _WIN32
// Wine keeps files on a host file system whose creation time cannot be set.
bool CreationTimeSettable() {
  return GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version") == nullptr;
}
#endif

using platform::ErrorCode;
using platform::File;
using platform::FileAccess;
using platform::FileShare;

std::string ReadAll(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

class FileTest : public ::testing::Test {
 protected:
  ~FileTest() override { platform::DisarmFileFaults(); }

  TempTree tree;
  ErrorCode error = 0;
};

TEST_F(FileTest, ReadsWholeContentAndReportsTheEnd) {
  tree.MakeFile(u"a.txt", "hello world");
  File file;
  ASSERT_TRUE(file.Open(tree.Path(u"a.txt"), FileAccess::Read, FileShare::Read, error));
  std::uint64_t size = 0;
  ASSERT_TRUE(file.Size(size, error));
  EXPECT_EQ(size, 11u);
  char buffer[32] = {};
  size_t done = 0;
  ASSERT_TRUE(file.Read(buffer, sizeof buffer, done, error));
  EXPECT_EQ(std::string(buffer, done), "hello world");
  ASSERT_TRUE(file.Read(buffer, sizeof buffer, done, error));
  EXPECT_EQ(done, 0u);
}

TEST_F(FileTest, SizeFollowsTheHandlesOwnChanges) {
  tree.MakeFile(u"a.txt", "0123456789");
  File file;
  ASSERT_TRUE(file.Open(tree.Path(u"a.txt"), FileAccess::ReadWrite, FileShare::Read, error));
  std::uint64_t size = 0;
  ASSERT_TRUE(file.SetLength(4, error));
  ASSERT_TRUE(file.Size(size, error));
  EXPECT_EQ(size, 4u);
  size_t done = 0;
  ASSERT_TRUE(file.Write("abcdef", 6, done, error));
  ASSERT_TRUE(file.Size(size, error));
  EXPECT_EQ(size, 10u);
  // Asked again after a first answer, and after reopening.
  ASSERT_TRUE(file.Size(size, error));
  EXPECT_EQ(size, 10u);
  ASSERT_TRUE(file.Open(tree.Path(u"a.txt"), FileAccess::Read, FileShare::Read, error));
  ASSERT_TRUE(file.Size(size, error));
  EXPECT_EQ(size, 10u);
}

TEST_F(FileTest, MissingFileFailsWithACode) {
  File file;
  EXPECT_FALSE(file.Open(tree.Path(u"missing.txt"), FileAccess::Read, FileShare::Read, error));
  EXPECT_NE(error, 0u);
  EXPECT_FALSE(file.IsOpen());
}

TEST_F(FileTest, WritesInPlaceAndChangesLength) {
  tree.MakeFile(u"a.txt", "0123456789");
  {
    File file;
    ASSERT_TRUE(file.Open(tree.Path(u"a.txt"), FileAccess::ReadWrite, FileShare::Read, error));
    ASSERT_TRUE(file.SetLength(4, error));
    ASSERT_TRUE(file.Seek(0, error));
    size_t done = 0;
    ASSERT_TRUE(file.Write("abc", 3, done, error));
    EXPECT_EQ(done, 3u);
    ASSERT_TRUE(file.Flush(error));
  }
  EXPECT_EQ(ReadAll(tree.FsPath(u"a.txt")), std::string("abc3"));

  File file;
  ASSERT_TRUE(file.Open(tree.Path(u"a.txt"), FileAccess::ReadWrite, FileShare::Read, error));
  ASSERT_TRUE(file.SetLength(6, error));
  file.Close();
  EXPECT_EQ(ReadAll(tree.FsPath(u"a.txt")), std::string("abc3\0\0", 6));
}

TEST_F(FileTest, ReadOnlyAccessCannotWrite) {
  tree.MakeFile(u"a.txt", "abc");
  File file;
  ASSERT_TRUE(file.Open(tree.Path(u"a.txt"), FileAccess::Read, FileShare::Read, error));
  size_t done = 0;
  EXPECT_FALSE(file.Write("x", 1, done, error));
  EXPECT_EQ(ReadAll(tree.FsPath(u"a.txt")), "abc");
}

TEST_F(FileTest, TimesAreReadAndSetBack) {
  tree.MakeFile(u"a.txt", "abc");
  // 2001-02-03, with a sub-second part that both platforms keep.
  const platform::FileTime old = 126254952001234560ull;
  {
    File file;
    ASSERT_TRUE(file.Open(tree.Path(u"a.txt"), FileAccess::ReadWrite, FileShare::Read, error));
    platform::FileTimes times;
    ASSERT_TRUE(file.GetTimes(times, error));
    times.lastAccess = old + 10000000;
    times.lastWrite = old;
    if (times.hasCreation)
      times.creation = old - 10000000;
    ASSERT_TRUE(file.SetTimes(times, error));
  }
  File file;
  ASSERT_TRUE(file.Open(tree.Path(u"a.txt"), FileAccess::Read, FileShare::Read, error));
  platform::FileTimes times;
  ASSERT_TRUE(file.GetTimes(times, error));
  EXPECT_EQ(times.lastWrite, old);
  EXPECT_EQ(times.lastAccess, old + 10000000);
#ifdef _WIN32
  if (CreationTimeSettable()) {
    EXPECT_EQ(times.creation, old - 10000000);
  }
#endif
}

TEST_F(FileTest, WriteChangesTheModificationTimeUnlessSetBack) {
  tree.MakeFile(u"a.txt", "abc");
  const platform::FileTime old = 126254952000000000ull;
  File file;
  ASSERT_TRUE(file.Open(tree.Path(u"a.txt"), FileAccess::ReadWrite, FileShare::Read, error));
  platform::FileTimes times;
  ASSERT_TRUE(file.GetTimes(times, error));
  times.lastWrite = old;
  times.hasCreation = false;
  ASSERT_TRUE(file.SetTimes(times, error));
  size_t done = 0;
  ASSERT_TRUE(file.Write("xyz", 3, done, error));
  file.Close();
  ASSERT_TRUE(file.Open(tree.Path(u"a.txt"), FileAccess::Read, FileShare::Read, error));
  ASSERT_TRUE(file.GetTimes(times, error));
  EXPECT_GT(times.lastWrite, old);
}

TEST_F(FileTest, InjectedWriteFaultStopsPartWay) {
  tree.MakeFile(u"a.txt", "0123456789");
  platform::FileFault fault;
  fault.operation = platform::FileOperation::Write;
  fault.bytesBefore = 2;
  fault.error = platform::kErrorOutOfMemory;
  platform::ArmFileFault(fault);

  File file;
  ASSERT_TRUE(file.Open(tree.Path(u"a.txt"), FileAccess::ReadWrite, FileShare::Read, error));
  size_t done = 0;
  EXPECT_FALSE(file.Write("abcdef", 6, done, error));
  EXPECT_EQ(done, 2u);
  EXPECT_EQ(error, platform::kErrorOutOfMemory);
  // The fault fires once; the next write goes through.
  ASSERT_TRUE(file.Write("XY", 2, done, error));
  file.Close();
  EXPECT_EQ(ReadAll(tree.FsPath(u"a.txt")), "abXY456789");
}

TEST_F(FileTest, MovedFileKeepsItsHandle) {
  tree.MakeFile(u"a.txt", "abc");
  File first;
  ASSERT_TRUE(first.Open(tree.Path(u"a.txt"), FileAccess::Read, FileShare::Read, error));
  File second(std::move(first));
  EXPECT_FALSE(first.IsOpen());
  ASSERT_TRUE(second.IsOpen());
  std::uint64_t size = 0;
  ASSERT_TRUE(second.Size(size, error));
  EXPECT_EQ(size, 3u);
}

#ifndef _WIN32
// Opens the pipe's writing end after a while unless the test ends first: an open that waits for
// a writer then returns, and the test fails instead of hanging.
class PipeRelease {
 public:
  explicit PipeRelease(std::filesystem::path pipe)
      : thread_([this, pipe] {
          std::unique_lock lock(mutex_);
          if (ended_.wait_for(lock, std::chrono::seconds(2), [this] { return done_; }))
            return;
          const int writer = open(pipe.c_str(), O_WRONLY | O_NONBLOCK);
          if (writer >= 0)
            close(writer);
        }) {}
  ~PipeRelease() {
    {
      std::lock_guard lock(mutex_);
      done_ = true;
    }
    ended_.notify_one();
    thread_.join();
  }

 private:
  std::mutex mutex_;
  std::condition_variable ended_;
  bool done_ = false;
  std::thread thread_;
};
#endif

TEST_F(FileTest, OnlyRegularFilesOpenAndNothingWaitsForAWriter) {
#ifdef _WIN32
  const std::u16string device = u"NUL";
  const std::vector<std::u16string> paths = {device};
#else
  const std::u16string device = u"/dev/null";
  std::vector<std::u16string> paths = {device};
  for (const std::u16string& name : tree.MakeSpecialFiles(u""))
    paths.push_back(tree.Path(name));
  ASSERT_EQ(paths.size(), 4u);
  const PipeRelease release(tree.FsPath(u"pipe"));
#endif
  // Refused by Open, or on Windows by the first read.
  for (const std::u16string& path : paths) {
    for (FileAccess access : {FileAccess::Read, FileAccess::ReadWrite}) {
      File file;
      error = 0;
      char byte = 0;
      size_t done = 0;
      EXPECT_FALSE(file.Open(path, access, FileShare::Read, error) &&
                   file.Read(&byte, 1, done, error))
          << std::string(path.begin(), path.end());
      EXPECT_EQ(error, platform::kErrorNotRegularFile);
    }
  }
  File any;
  char byte = 0;
  size_t done = 1;
  ASSERT_TRUE(any.Open(device, FileAccess::Read, FileShare::Read, error, platform::FileKind::Any));
  EXPECT_TRUE(any.Read(&byte, 1, done, error));
  EXPECT_EQ(done, 0u);
}

#ifdef _WIN32
TEST_F(FileTest, FileOpenWithoutSharingCannotBeOpenedAgain) {
  tree.MakeFile(u"a.txt", "abc");
  File holder;
  ASSERT_TRUE(holder.Open(tree.Path(u"a.txt"), FileAccess::ReadWrite, FileShare::None, error));
  File file;
  EXPECT_FALSE(file.Open(tree.Path(u"a.txt"), FileAccess::Read, FileShare::Read, error));
  EXPECT_NE(error, 0u);
}
#endif

}  // namespace
