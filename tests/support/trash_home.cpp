#include "tests/support/trash_home.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <string>
#include <system_error>

#ifdef _WIN32
#include <windows.h>
#endif

namespace fs = std::filesystem;

namespace {

fs::path& DataHome() {
  static fs::path folder;
  return folder;
}

#ifdef _WIN32
// Wine's host path of a Windows path; empty outside Wine.
std::string HostPath(const fs::path& path) {
  using UnixFileName = char*(CDECL*)(const wchar_t*);
  auto convert = reinterpret_cast<UnixFileName>(reinterpret_cast<void*>(
      GetProcAddress(GetModuleHandleW(L"kernel32"), "wine_get_unix_file_name")));
  if (!convert)
    return std::string();
  char* name = convert(path.c_str());
  if (!name)
    return std::string();
  std::string result = name;
  HeapFree(GetProcessHeap(), 0, name);
  return result;
}
#endif

class TrashHome : public testing::Environment {
 public:
  void SetUp() override {
    const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
    fs::path folder = fs::temp_directory_path() / ("voxalon-trash-" + std::to_string(stamp));
    std::error_code error;
    fs::create_directories(folder, error);
    if (error)
      return;
#ifdef _WIN32
    const std::string host = HostPath(folder);
    const bool redirected =
        !host.empty() && SetEnvironmentVariableA("XDG_DATA_HOME", host.c_str()) != FALSE;
#else
    const bool redirected = setenv("XDG_DATA_HOME", folder.c_str(), 1) == 0;
#endif
    if (redirected)
      DataHome() = folder;
    else
      fs::remove(folder, error);
  }

  void TearDown() override {
    std::error_code error;
    if (!DataHome().empty())
      fs::remove_all(DataHome(), error);
  }
};

testing::Environment* const trashHome = testing::AddGlobalTestEnvironment(new TrashHome);

}  // namespace

fs::path TrashFilesFolder() {
  return DataHome().empty() ? fs::path() : DataHome() / "Trash" / "files";
}
