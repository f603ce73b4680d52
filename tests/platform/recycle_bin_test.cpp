#include "platform/recycle_bin.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "tests/support/temp_tree.h"
#include "tests/support/trash_home.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <unistd.h>
#endif

namespace fs = std::filesystem;

TEST(RecycleBin, TheFileMovesIntoTheTrash) {
  platform::ErrorCode error = 0;
  const fs::path trash = TrashFilesFolder();
  if (trash.empty())
    GTEST_SKIP() << "the recycle bin cannot be redirected here";
  TempTree tree;
  tree.MakeFile(u"binned.txt", "still here");
  ASSERT_TRUE(platform::MoveToRecycleBin(tree.Path(u"binned.txt"), nullptr, error));
  EXPECT_FALSE(fs::exists(tree.FsPath(u"binned.txt")));
  std::ifstream in(trash / "binned.txt", std::ios::binary);
  EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()),
            "still here");
}

TEST(RecycleBin, AMissingFileIsNotDeleted) {
  platform::ErrorCode error = 0;
  TempTree tree;
  EXPECT_FALSE(platform::MoveToRecycleBin(tree.Path(u"never-there"), nullptr, error));
}

#ifdef _WIN32
namespace {

// Sets one value of the recycle bin settings of the volume that holds the path, and puts the
// old state back on destruction.
class VolumeBinSetting {
 public:
  VolumeBinSetting(const std::wstring& path, const wchar_t* value, DWORD data) : value_(value) {
    wchar_t root[MAX_PATH] = {};
    wchar_t volume[MAX_PATH] = {};
    if (!GetVolumePathNameW(path.c_str(), root, MAX_PATH) ||
        !GetVolumeNameForVolumeMountPointW(root, volume, MAX_PATH))
      return;
    const std::wstring name = volume;
    const size_t open = name.find(L'{');
    const size_t close = name.find(L'}');
    if (open == std::wstring::npos || close == std::wstring::npos)
      return;
    const std::wstring key =
        L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\BitBucket\\Volume\\" +
        name.substr(open, close - open + 1);
    if (RegCreateKeyExW(HKEY_CURRENT_USER, key.c_str(), 0, nullptr, 0, KEY_READ | KEY_WRITE,
                        nullptr, &key_, nullptr) != ERROR_SUCCESS) {
      key_ = nullptr;
      return;
    }
    DWORD size = sizeof old_;
    hadOld_ = RegQueryValueExW(key_, value_, nullptr, nullptr, reinterpret_cast<BYTE*>(&old_),
                               &size) == ERROR_SUCCESS;
    set_ = RegSetValueExW(key_, value_, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&data),
                          sizeof data) == ERROR_SUCCESS;
  }
  ~VolumeBinSetting() {
    if (!key_)
      return;
    if (hadOld_)
      RegSetValueExW(key_, value_, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&old_), sizeof old_);
    else
      RegDeleteValueW(key_, value_);
    RegCloseKey(key_);
  }
  VolumeBinSetting(const VolumeBinSetting&) = delete;
  VolumeBinSetting& operator=(const VolumeBinSetting&) = delete;

  bool set() const { return set_; }

 private:
  const wchar_t* value_;
  HKEY key_ = nullptr;
  DWORD old_ = 0;
  bool hadOld_ = false;
  bool set_ = false;
};

}  // namespace

// With these settings the shell would delete the file for good; it is left where it is.
TEST(RecycleBin, AVolumeWhoseBinWouldNotKeepTheFileLeavesItAlone) {
  platform::ErrorCode error = 0;
  TempTree tree;
  tree.MakeFile(u"precious.txt", "keep me");
  const std::wstring path = tree.FsPath(u"precious.txt").wstring();
  {
    VolumeBinSetting nuke(path, L"NukeOnDelete", 1);
    ASSERT_TRUE(nuke.set());
    EXPECT_FALSE(platform::MoveToRecycleBin(tree.Path(u"precious.txt"), nullptr, error));
    EXPECT_TRUE(fs::exists(tree.FsPath(u"precious.txt")));
  }
  {
    VolumeBinSetting tooSmall(path, L"MaxCapacity", 0);
    ASSERT_TRUE(tooSmall.set());
    EXPECT_FALSE(platform::MoveToRecycleBin(tree.Path(u"precious.txt"), nullptr, error));
    EXPECT_TRUE(fs::exists(tree.FsPath(u"precious.txt")));
  }
}

// Real Windows ignores FOF_ALLOWUNDO for a relative path and deletes the file for good.
TEST(RecycleBin, ARelativePathIsRefusedAndTheFileStays) {
  platform::ErrorCode error = 0;
  TempTree tree;
  tree.MakeFile(u"relative.txt");
  const fs::path before = fs::current_path();
  fs::current_path(tree.FsPath(u""));
  const bool deleted = platform::MoveToRecycleBin(u"relative.txt", nullptr, error);
  fs::current_path(before);
  EXPECT_FALSE(deleted);
  EXPECT_EQ(error, static_cast<platform::ErrorCode>(ERROR_BAD_PATHNAME));
  EXPECT_TRUE(fs::exists(tree.FsPath(u"relative.txt")));
}
#else
// GIO refuses to trash on system-internal mounts such as /dev/shm; the file must stay.
TEST(RecycleBin, AFileThatCannotBeTrashedStays) {
  platform::ErrorCode error = 0;
  const fs::path path = fs::path("/dev/shm") / ("voxalon-untrashable-" + std::to_string(getpid()));
  {
    std::ofstream out(path);
    if (!out)
      GTEST_SKIP() << "no /dev/shm";
    out << "keep me";
  }
  EXPECT_FALSE(platform::MoveToRecycleBin(path.u16string(), nullptr, error));
  EXPECT_TRUE(fs::exists(path));
  fs::remove(path);
}
#endif
