#include "tests/support/temp_tree.h"

#include <atomic>
#include <chrono>
#include <fstream>
#include <iterator>
#include <system_error>

#include "platform/path_separator.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>
#endif

namespace fs = std::filesystem;

namespace {

// Gives every file and folder back its owner's permissions (on Windows: clears read-only), so
// that the tree can be removed.
void MakeRemovable(const fs::path& folder) {
  std::error_code error;
  fs::permissions(folder, fs::perms::owner_all, fs::perm_options::add, error);
  for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
    std::error_code entryError;
    if (it->is_symlink(entryError))
      continue;
    if (it->is_directory(entryError))
      MakeRemovable(it->path());
    else
      fs::permissions(it->path(), fs::perms::owner_write, fs::perm_options::add, entryError);
  }
}

}  // namespace

TempTree::TempTree() {
  static std::atomic<unsigned> counter{0};
  auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
  std::string name = "voxalon-test-" + std::to_string(stamp) + "-" + std::to_string(++counter);
  fs::path root = fs::temp_directory_path() / name;
  fs::create_directories(root);
  root_ = fs::canonical(root).u16string();
}

TempTree::~TempTree() {
  std::error_code error;
  MakeRemovable(fs::path(root_));
  fs::remove_all(fs::path(root_), error);
}

std::u16string TempTree::Path(std::u16string_view relative) const {
  std::u16string path = root_;
  if (!relative.empty()) {
    path += platform::kPathSeparator;
    for (char16_t c : relative)
      path += c == u'/' ? platform::kPathSeparator : c;
  }
  return path;
}

fs::path TempTree::FsPath(std::u16string_view relative) const {
  return fs::path(Path(relative));
}

std::u16string TempTree::Relative(std::u16string_view path) const {
  if (path.size() <= root_.size() || path.substr(0, root_.size()) != root_ ||
      path[root_.size()] != platform::kPathSeparator)
    return std::u16string(path);
  std::u16string relative(path.substr(root_.size() + 1));
  for (char16_t& c : relative) {
    if (c == platform::kPathSeparator)
      c = u'/';
  }
  return relative;
}

std::vector<std::u16string> TempTree::Relative(const std::vector<std::u16string>& paths) const {
  std::vector<std::u16string> relative;
  for (const std::u16string& path : paths)
    relative.push_back(Relative(path));
  return relative;
}

void TempTree::MakeFolder(std::u16string_view relative) const {
  fs::create_directories(FsPath(relative));
}

void TempTree::MakeFile(std::u16string_view relative, std::string_view content) const {
  fs::path path = FsPath(relative);
  fs::create_directories(path.parent_path());
  std::ofstream(path, std::ios::binary) << content;
}

bool TempTree::MakeFolderLink(std::u16string_view target, std::u16string_view link) const {
  std::error_code error;
#ifdef _WIN32
  // Wine accepts the call without making a link: only a link that leads somewhere counts.
  CreateSymbolicLinkW(FsPath(link).c_str(), FsPath(target).c_str(),
                      SYMBOLIC_LINK_FLAG_DIRECTORY | SYMBOLIC_LINK_FLAG_ALLOW_UNPRIVILEGED_CREATE);
#else
  fs::create_directory_symlink(FsPath(target), FsPath(link), error);
#endif
  return !error && fs::is_directory(FsPath(link), error);
}

bool TempTree::MakeSparseFile(std::u16string_view relative, std::uint64_t size) const {
  fs::path path = FsPath(relative);
  fs::create_directories(path.parent_path());
#ifdef _WIN32
  HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE)
    return false;
  LARGE_INTEGER end;
  end.QuadPart = static_cast<LONGLONG>(size);
  bool ok = SetFilePointerEx(file, end, nullptr, FILE_BEGIN) && SetEndOfFile(file);
  CloseHandle(file);
  return ok;
#else
  int file = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  if (file < 0)
    return false;
  bool ok = ftruncate(file, static_cast<off_t>(size)) == 0;
  close(file);
  return ok;
#endif
}

#ifndef _WIN32
std::vector<std::u16string> TempTree::MakeSpecialFiles(std::u16string_view extension) const {
  std::vector<std::u16string> made;
  const std::u16string pipe = u"pipe" + std::u16string(extension);
  if (mkfifo(FsPath(pipe).c_str(), 0644) == 0)
    made.push_back(pipe);
  const std::u16string device = u"device" + std::u16string(extension);
  if (mknod(FsPath(device).c_str(), S_IFCHR | 0644, makedev(1, 5)) == 0)
    made.push_back(device);
  const std::u16string zero = u"zero" + std::u16string(extension);
  std::error_code error;
  fs::create_symlink("/dev/zero", FsPath(zero), error);
  if (!error)
    made.push_back(zero);
  return made;
}
#endif

TreeSnapshot SnapshotOf(const std::filesystem::path& root) {
  TreeSnapshot files;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(root)) {
    if (!entry.is_regular_file())
      continue;
    std::ifstream in(entry.path(), std::ios::binary);
    files[std::filesystem::relative(entry.path(), root)] =
        std::string(std::istreambuf_iterator<char>(in), {});
  }
  return files;
}
