// A temporary folder tree for tests that walk real folders; removed with everything in it.
#pragma once

#include <cstdint>
#include <filesystem>
#include <map>
#include <string>
#include <string_view>
#include <vector>

class TempTree {
 public:
  TempTree();
  ~TempTree();
  TempTree(const TempTree&) = delete;
  TempTree& operator=(const TempTree&) = delete;

  // The root, and a path below it given with '/' separators, in the platform's form.
  const std::u16string& root() const { return root_; }
  std::u16string Path(std::u16string_view relative) const;
  std::filesystem::path FsPath(std::u16string_view relative) const;
  // A path below the root back in '/' form; other paths unchanged.
  std::u16string Relative(std::u16string_view path) const;
  std::vector<std::u16string> Relative(const std::vector<std::u16string>& paths) const;

  void MakeFolder(std::u16string_view relative) const;
  void MakeFile(std::u16string_view relative, std::string_view content = "x") const;
  // A symbolic link to a folder; false where the platform refuses it.
  bool MakeFolderLink(std::u16string_view target, std::u16string_view link) const;
  // A file of the given size without its data blocks (sparse where the file system can).
  bool MakeSparseFile(std::u16string_view relative, std::uint64_t size) const;
#ifndef _WIN32
  // Entries in the root that are no regular files, each with the given extension: "pipe" a named
  // pipe, "device" a character device like /dev/zero (where this process may make one), "zero"
  // a link to /dev/zero. The names of those made.
  std::vector<std::u16string> MakeSpecialFiles(std::u16string_view extension) const;
#endif

 private:
  std::u16string root_;
};

// Every regular file under the root, by its path relative to the root, with its bytes.
using TreeSnapshot = std::map<std::filesystem::path, std::string>;
TreeSnapshot SnapshotOf(const std::filesystem::path& root);
