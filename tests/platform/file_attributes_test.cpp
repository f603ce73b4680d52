#include "platform/file_attributes.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <optional>

#include "platform/windows_attribute_bits.h"
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
  platform::FileAttributes during;
  ASSERT_TRUE(platform::ReadFileAttributes(path, during, error));
  EXPECT_TRUE(during.hidden) << "only the read-only bit is cleared";
  std::ofstream(fs::path(path), std::ios::app) << "more";

  ASSERT_TRUE(platform::RestoreFileAttributes(path, attributes, true, error));
  platform::FileAttributes after;
  ASSERT_TRUE(platform::ReadFileAttributes(path, after, error));
#ifdef _WIN32
  EXPECT_EQ(after.saved, attributes.saved | FILE_ATTRIBUTE_ARCHIVE);
#else
  EXPECT_EQ(after.saved, attributes.saved);
#endif
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
  attributes.saved = 1;  // read-only on Windows
  EXPECT_FALSE(
      platform::RestoreFileAttributes(tree.Path(u"missing.txt"), attributes, false, error));
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
  ASSERT_TRUE(platform::RestoreFileAttributes(path, attributes, true, error));
  EXPECT_EQ(fs::status(fs::path(path)).permissions(),
            fs::perms::owner_read | fs::perms::owner_write);
}
#endif

// What these bits do (the archive bit after a write, the change time of a file whose
// attributes were set) shows on real Windows only: the decision is checked as logic.
TEST(WindowsAttributeBits, OnlyASetReadOnlyBitIsClearedAndAWriteAddsTheArchiveBit) {
  constexpr std::uint32_t kReadOnly = 0x1, kHidden = 0x2, kSystem = 0x4, kArchive = 0x20,
                          kNormal = 0x80;
  using Bits = std::optional<std::uint32_t>;
  struct Case {
    std::uint32_t saved;
    Bits forWrite;
    Bits afterWrite;  // the file written
    Bits afterNoWrite;
  };
  for (const Case& c : {
           Case{kNormal, {}, {}, {}},
           Case{kHidden | kSystem | kArchive, {}, {}, {}},
           Case{kReadOnly, kNormal, kReadOnly | kArchive, kReadOnly},
           Case{kReadOnly | kHidden | kSystem, kHidden | kSystem,
                kReadOnly | kHidden | kSystem | kArchive, kReadOnly | kHidden | kSystem},
       }) {
    EXPECT_EQ(platform::AttributesForWrite(c.saved), c.forWrite) << c.saved;
    EXPECT_EQ(platform::AttributesAfterWrite(c.saved, true), c.afterWrite) << c.saved;
    EXPECT_EQ(platform::AttributesAfterWrite(c.saved, false), c.afterNoWrite) << c.saved;
  }
}

}  // namespace
