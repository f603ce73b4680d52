#include "platform/file_attributes.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "tests/support/temp_tree.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <sys/stat.h>
#endif

namespace {

namespace fs = std::filesystem;

bool IsWritableByOwner(const fs::path& path) {
#ifdef _WIN32
  return (GetFileAttributesW(path.c_str()) & FILE_ATTRIBUTE_READONLY) == 0;
#else
  return (fs::status(path).permissions() & fs::perms::owner_write) != fs::perms::none;
#endif
}

class FileAttributesTest : public ::testing::Test {
 protected:
  // A file made read-only (and hidden on Windows) the platform's way.
  std::u16string MakeReadOnlyFile(std::u16string_view relative) {
    tree.MakeFile(relative);
    fs::path path = tree.FsPath(relative);
#ifdef _WIN32
    SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN);
#else
    fs::permissions(path, fs::perms::owner_read | fs::perms::group_read);
#endif
    return tree.Path(relative);
  }

  TempTree tree;
};

TEST_F(FileAttributesTest, PlainFileIsNeitherHiddenNorReadOnly) {
  tree.MakeFile(u"plain.txt");
  platform::FileAttributes attributes;
  platform::ErrorCode error = 0;
  ASSERT_TRUE(platform::ReadFileAttributes(tree.Path(u"plain.txt"), attributes, error));
  EXPECT_FALSE(attributes.hidden);
  EXPECT_FALSE(attributes.readOnly);
}

TEST_F(FileAttributesTest, ReadOnlyFileIsMadeWritableAndSetBack) {
#ifdef _WIN32
  const std::u16string path = MakeReadOnlyFile(u"locked.txt");
#else
  const std::u16string path = MakeReadOnlyFile(u".locked.txt");  // hidden by its name
#endif
  platform::FileAttributes attributes;
  platform::ErrorCode error = 0;
  ASSERT_TRUE(platform::ReadFileAttributes(path, attributes, error));
  EXPECT_TRUE(attributes.hidden);
  EXPECT_TRUE(attributes.readOnly);

  ASSERT_TRUE(platform::ClearAttributesForWrite(path, attributes, error));
  EXPECT_TRUE(IsWritableByOwner(fs::path(path)));
  std::ofstream(fs::path(path), std::ios::app) << "more";

  ASSERT_TRUE(platform::RestoreFileAttributes(path, attributes, error));
  platform::FileAttributes after;
  ASSERT_TRUE(platform::ReadFileAttributes(path, after, error));
  EXPECT_EQ(after.saved, attributes.saved);
  EXPECT_TRUE(after.readOnly);
  EXPECT_FALSE(IsWritableByOwner(fs::path(path)));
#ifndef _WIN32
  EXPECT_EQ(after.saved, static_cast<std::uint32_t>(S_IRUSR | S_IRGRP));
#endif
}

TEST_F(FileAttributesTest, MissingFileReportsAnError) {
  platform::FileAttributes attributes;
  platform::ErrorCode error = 0;
  EXPECT_FALSE(platform::ReadFileAttributes(tree.Path(u"missing.txt"), attributes, error));
  EXPECT_NE(error, 0u);
  attributes.readOnly = true;
  EXPECT_FALSE(platform::RestoreFileAttributes(tree.Path(u"missing.txt"), attributes, error));
}

#ifndef _WIN32
TEST_F(FileAttributesTest, WritableFilesAreLeftAsTheyAre) {
  tree.MakeFile(u"open.txt", "x");
  const std::u16string path = tree.Path(u"open.txt");
  fs::permissions(fs::path(path),
                  fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
  platform::FileAttributes attributes;
  platform::ErrorCode error = 0;
  ASSERT_TRUE(platform::ReadFileAttributes(path, attributes, error));
  EXPECT_FALSE(attributes.readOnly);
  ASSERT_TRUE(platform::ClearAttributesForWrite(path, attributes, error));
  // A mode changed meanwhile by someone else is not put back either.
  fs::permissions(fs::path(path), fs::perms::owner_read | fs::perms::owner_write);
  ASSERT_TRUE(platform::RestoreFileAttributes(path, attributes, error));
  EXPECT_EQ(fs::status(fs::path(path)).permissions(),
            fs::perms::owner_read | fs::perms::owner_write);
}
#endif

}  // namespace
