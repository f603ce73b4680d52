// Starts voxalon.exe itself, twice, to see that settings and fields survive a restart.
#include <gtest/gtest.h>

#include <windows.h>

#include <shlobj.h>

#include <filesystem>

#include <string>

#include "resource.h"

namespace {

constexpr const wchar_t* kSettingsKey = L"Software\\Brenwyk\\VOXA";

std::wstring ProgramPath() {
  wchar_t self[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, self, MAX_PATH);
  std::wstring path = self;
  path.resize(path.find_last_of(L'\\'));  // build/windows/tests
  path.resize(path.find_last_of(L'\\'));  // build/windows
  return path + L"\\voxalon.exe";
}

struct FindWindowOf {
  DWORD process;
  HWND found = nullptr;
};

BOOL CALLBACK FindMainWindow(HWND window, LPARAM data) {
  auto* search = reinterpret_cast<FindWindowOf*>(data);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  wchar_t title[32] = {};
  GetWindowTextW(window, title, 32);
  // Shown only once its initialisation is over.
  if (owner == search->process && std::wstring(title) == L"Voxalon" && IsWindowVisible(window)) {
    search->found = window;
    return FALSE;
  }
  return TRUE;
}

// A running voxalon.exe and its main window.
class Program {
 public:
  Program() {
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    std::wstring command = L"\"" + ProgramPath() + L"\"";
    started_ = CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                              &startup, &process_);
    for (int i = 0; started_ && i < 300 && !window_; ++i) {
      FindWindowOf search{process_.dwProcessId};
      EnumWindows(FindMainWindow, reinterpret_cast<LPARAM>(&search));
      window_ = search.found;
      if (!window_)
        Sleep(100);
    }
  }
  ~Program() {
    if (!started_)
      return;
    if (WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT)
      TerminateProcess(process_.hProcess, 1);
    CloseHandle(process_.hThread);
    CloseHandle(process_.hProcess);
  }
  HWND window() const { return window_; }
  std::wstring Text(int id) const {
    wchar_t text[512] = {};
    SendMessageW(GetDlgItem(window_, id), WM_GETTEXT, 512, reinterpret_cast<LPARAM>(text));
    return text;
  }
  void Command(int id) { SendMessageW(window_, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0); }
  bool Enabled(int id) const { return IsWindowEnabled(GetDlgItem(window_, id)) != FALSE; }
  // Closes the window as the user does and waits for the process to end.
  bool Close() {
    PostMessageW(window_, WM_CLOSE, 0, 0);
    return WaitForSingleObject(process_.hProcess, 30000) == WAIT_OBJECT_0;
  }

 private:
  bool started_ = false;
  PROCESS_INFORMATION process_{};
  HWND window_ = nullptr;
};

}  // namespace

// A fresh user: no settings, and no backups of runs that other tests left interrupted.
static void ForgetUser() {
  RegDeleteTreeW(HKEY_CURRENT_USER, kSettingsKey);
  wchar_t appData[MAX_PATH] = {};
  if (SUCCEEDED(SHGetFolderPathW(nullptr, CSIDL_APPDATA, nullptr, 0, appData))) {
    std::error_code ignored;
    std::filesystem::remove_all(std::filesystem::path(appData) / L"VOXA" / L"Backups", ignored);
  }
}

TEST(ProgramRestart, FieldsAndOptionsSurviveARestart) {
  ForgetUser();
  {
    Program first;
    ASSERT_NE(first.window(), nullptr) << "voxalon.exe did not show its window";
    EXPECT_EQ(first.Text(IDC_MASKS), L"\"*.*\"");
    SendMessageW(GetDlgItem(first.window(), IDC_SEARCH_PATH), WM_SETTEXT, 0,
                 reinterpret_cast<LPARAM>(L"\"C:\\windows\""));
    SendMessageW(GetDlgItem(first.window(), IDC_MASKS), WM_SETTEXT, 0,
                 reinterpret_cast<LPARAM>(L"\"*.ini\""));
    SendMessageW(GetDlgItem(first.window(), IDC_CASE_SENSITIVE), BM_SETCHECK, BST_CHECKED, 0);
    // A Find only run with nothing to find records the search path among the recent folders.
    SendMessageW(GetDlgItem(first.window(), IDC_ACTION), CB_SETCURSEL, 1, 0);
    SendMessageW(GetDlgItem(first.window(), IDC_INCLUDE_SUBFOLDERS), BM_SETCHECK, BST_UNCHECKED, 0);
    first.Command(IDC_RUN);
    // Run is enabled again when the run has ended.
    for (int i = 0; i < 600 && !first.Enabled(IDC_RUN); ++i)
      Sleep(50);
    ASSERT_TRUE(first.Enabled(IDC_RUN));
    ASSERT_TRUE(first.Close());
  }
  Program second;
  ASSERT_NE(second.window(), nullptr);
  EXPECT_EQ(second.Text(IDC_SEARCH_PATH), L"\"C:\\windows\"");
  EXPECT_EQ(second.Text(IDC_MASKS), L"\"*.ini\"");
  EXPECT_EQ(SendMessageW(GetDlgItem(second.window(), IDC_CASE_SENSITIVE), BM_GETCHECK, 0, 0),
            BST_CHECKED);
  EXPECT_EQ(SendMessageW(GetDlgItem(second.window(), IDC_ACTION), CB_GETCURSEL, 0, 0), 1);
  EXPECT_TRUE(second.Close());
  // The recent folders came back and were stored again.
  wchar_t folders[128] = {};
  DWORD size = sizeof folders;
  ASSERT_EQ(RegGetValueW(HKEY_CURRENT_USER, kSettingsKey, L"18", RRF_RT_REG_BINARY, nullptr,
                         folders, &size),
            ERROR_SUCCESS);
  EXPECT_EQ(std::wstring(folders, size / sizeof(wchar_t)), L"\"C:\\windows\"");
  RegDeleteTreeW(HKEY_CURRENT_USER, kSettingsKey);
}
