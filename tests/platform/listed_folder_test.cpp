// Paths of the files in a listed folder are looked up relative to the listing's folder, and only
// while the listing lives.
#include "platform/posix/listed_folder.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>

#include "platform/directory_listing.h"
#include "platform/file.h"
#include "platform/file_attributes.h"
#include "tests/support/temp_tree.h"
#include "text/utf8.h"

namespace {

using platform::ErrorCode;
using platform::FileAccess;
using platform::FileShare;

std::string Narrow(const std::u16string& path) {
  return Utf16ToUtf8(path);
}

// Whether the path is looked up through a listed folder's descriptor.
bool ThroughListing(const std::u16string& path) {
  return platform::PathLookup(Narrow(path)).folder != AT_FDCWD;
}

std::string FirstByte(const std::u16string& path) {
  platform::File file;
  ErrorCode error = 0;
  if (!file.Open(path, FileAccess::Read, FileShare::Read, error))
    return "error " + std::to_string(error);
  char byte = 0;
  size_t done = 0;
  file.Read(&byte, 1, done, error);
  return std::string(&byte, done);
}

TEST(ListedFolder, FilesOfTheInnermostListingAreFoundThroughItsFolder) {
  TempTree tree;
  tree.MakeFile(u"a/x.txt", "1");
  tree.MakeFile(u"top.txt", "t");
  platform::DirectoryListing outer;
  ErrorCode error = 0;
  ASSERT_TRUE(outer.Open(tree.Path(u"*"), error));
  {
    platform::DirectoryListing inner;
    ASSERT_TRUE(inner.Open(tree.Path(u"a/*.txt"), error));
    const std::string path = Narrow(tree.Path(u"a/x.txt"));
    const platform::PathLookup lookup(path);
    EXPECT_NE(lookup.folder, AT_FDCWD);
    EXPECT_STREQ(lookup.name, "x.txt");
    EXPECT_EQ(FirstByte(tree.Path(u"a/x.txt")), "1");
    // A file outside the innermost listing's folder goes by its whole path.
    EXPECT_FALSE(ThroughListing(tree.Path(u"top.txt")));
    EXPECT_EQ(FirstByte(tree.Path(u"top.txt")), "t");
  }
  // The outer listing is the innermost again.
  EXPECT_TRUE(ThroughListing(tree.Path(u"top.txt")));
  EXPECT_EQ(FirstByte(tree.Path(u"top.txt")), "t");
}

TEST(ListedFolder, AFolderMadeAgainAfterItsListingIsLookedUpAfresh) {
  TempTree tree;
  tree.MakeFile(u"a/x.txt", "1");
  {
    platform::DirectoryListing listing;
    ErrorCode error = 0;
    ASSERT_TRUE(listing.Open(tree.Path(u"a/*"), error));
    EXPECT_TRUE(ThroughListing(tree.Path(u"a/x.txt")));
    EXPECT_EQ(FirstByte(tree.Path(u"a/x.txt")), "1");
  }
  std::filesystem::rename(tree.FsPath(u"a"), tree.FsPath(u"old"));
  tree.MakeFile(u"a/x.txt", "2");
  EXPECT_FALSE(ThroughListing(tree.Path(u"a/x.txt")));
  EXPECT_EQ(FirstByte(tree.Path(u"a/x.txt")), "2");
}

TEST(ListedFolder, TheListingsStatusOfAnEntryServesOneAttributeReadOnly) {
  TempTree tree;
  tree.MakeFile(u"x.txt", "abc");
  platform::DirectoryListing listing;
  ErrorCode error = 0;
  ASSERT_TRUE(listing.Open(tree.Path(u"x.txt"), error));
  EXPECT_EQ(listing.size(), 3u);
  platform::FileAttributes attributes;
  ASSERT_TRUE(platform::ReadFileAttributes(tree.Path(u"x.txt"), attributes, error));
  EXPECT_FALSE(attributes.readOnly);
  ASSERT_EQ(chmod(Narrow(tree.Path(u"x.txt")).c_str(), 0444), 0);
  ASSERT_TRUE(platform::ReadFileAttributes(tree.Path(u"x.txt"), attributes, error));
  EXPECT_TRUE(attributes.readOnly);
  chmod(Narrow(tree.Path(u"x.txt")).c_str(), 0644);
}

}  // namespace
