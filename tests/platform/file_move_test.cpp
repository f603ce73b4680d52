#include "platform/file_move.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "tests/support/temp_tree.h"

#ifndef _WIN32
#include <sys/stat.h>
#endif

namespace fs = std::filesystem;

namespace {

std::string Content(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

}  // namespace

TEST(MoveFileNoReplace, MovesTheFileToAFreeName) {
  TempTree tree;
  tree.MakeFile(u"a.txt", "content");
  platform::ErrorCode error = 0;
  ASSERT_TRUE(platform::MoveFileNoReplace(tree.Path(u"a.txt"), tree.Path(u"b.txt"), error));
  EXPECT_FALSE(fs::exists(tree.FsPath(u"a.txt")));
  EXPECT_EQ(Content(tree.FsPath(u"b.txt")), "content");
}

TEST(MoveFileNoReplace, NeverReplacesAnExistingFile) {
  TempTree tree;
  tree.MakeFile(u"a.txt", "first");
  tree.MakeFile(u"b.txt", "second");
  platform::ErrorCode error = 0;
  EXPECT_FALSE(platform::MoveFileNoReplace(tree.Path(u"a.txt"), tree.Path(u"b.txt"), error));
  EXPECT_NE(error, 0u);
  std::u16string message;
  EXPECT_TRUE(FormatSystemError(error, message));
  EXPECT_EQ(Content(tree.FsPath(u"a.txt")), "first");
  EXPECT_EQ(Content(tree.FsPath(u"b.txt")), "second");
}

TEST(MoveFileNoReplace, AMissingFileFails) {
  TempTree tree;
  platform::ErrorCode error = 0;
  EXPECT_FALSE(platform::MoveFileNoReplace(tree.Path(u"gone"), tree.Path(u"b"), error));
  EXPECT_NE(error, 0u);
  EXPECT_FALSE(fs::exists(tree.FsPath(u"b")));
}

#ifndef _WIN32
// /dev/shm is a file system of its own where the machine has one: a move there crosses devices.
TEST(MoveFileNoReplace, AcrossFileSystemsCopiesAndRemovesTheOriginal) {
  TempTree tree;
  struct stat treeStatus {
  }, shmStatus{};
  if (stat("/dev/shm", &shmStatus) != 0 || stat(fs::path(tree.root()).c_str(), &treeStatus) != 0 ||
      shmStatus.st_dev == treeStatus.st_dev)
    GTEST_SKIP() << "no second file system at hand";
  tree.MakeFile(u"a.txt", "moved across");
  const fs::path source = tree.FsPath(u"a.txt");
  fs::permissions(source, fs::perms::owner_read | fs::perms::owner_write);
  const auto written = fs::last_write_time(source) - std::chrono::hours(48);
  fs::last_write_time(source, written);
  const fs::path target = fs::path("/dev/shm") / fs::path(tree.root()).filename();
  const fs::path taken = target.string() + "-taken";
  struct Cleanup {
    const fs::path& target;
    const fs::path& taken;
    ~Cleanup() {
      std::error_code ignored;
      fs::remove(target, ignored);
      fs::remove(taken, ignored);
    }
  } cleanup{target, taken};
  std::ofstream(taken) << "taken";

  platform::ErrorCode error = 0;
  EXPECT_FALSE(platform::MoveFileNoReplace(tree.Path(u"a.txt"), taken.u16string(), error));
  EXPECT_EQ(Content(taken), "taken");
  ASSERT_TRUE(platform::MoveFileNoReplace(tree.Path(u"a.txt"), target.u16string(), error));
  EXPECT_FALSE(fs::exists(source));
  EXPECT_EQ(Content(target), "moved across");
  EXPECT_EQ(fs::status(target).permissions(), fs::perms::owner_read | fs::perms::owner_write);
  EXPECT_EQ(fs::last_write_time(target), written);
}
#endif
