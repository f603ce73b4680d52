#include "platform/win32/registry_settings_key_win32.h"

#include <gtest/gtest.h>

#include <windows.h>

#include "text/settings_store.h"

namespace {

// A key of the test's own under the current user, removed afterwards.
class RegistrySettings : public ::testing::Test {
 protected:
  void SetUp() override { RegDeleteTreeW(HKEY_CURRENT_USER, kKey); }
  void TearDown() override { RegDeleteTreeW(HKEY_CURRENT_USER, kKey); }

  // The value's type, 0 when there is no such value.
  static DWORD TypeOf(const wchar_t* value) {
    DWORD type = 0;
    if (RegGetValueW(HKEY_CURRENT_USER, kKey, value, RRF_RT_ANY | RRF_NOEXPAND, &type, nullptr,
                     nullptr) != ERROR_SUCCESS)
      return 0;
    return type;
  }

  static constexpr const wchar_t* kKey = L"Software\\Brenwyk\\VOXA-Tests";
  RegistrySettingsKeyStore store_{u"Software\\Brenwyk\\VOXA-Tests"};
};

}  // namespace

TEST_F(RegistrySettings, FirstStartCreatesTheKeyWithBinaryValues) {
  ProgramSettings settings;
  StoredDialogState state;
  state.masks = u"\"*.*\"";
  ASSERT_TRUE(LoadSettings(store_, settings, state));
  for (const wchar_t* value : {L"1", L"10", L"11", L"12", L"16", L"23", L"26", L"30"})
    EXPECT_EQ(TypeOf(value), static_cast<DWORD>(REG_BINARY)) << value;
  EXPECT_EQ(TypeOf(L"24"), 0u) << "there is no value 24";
}

TEST_F(RegistrySettings, DwordValueStopsTheLoadAndTheSetIsRewritten) {
  ProgramSettings saved;
  saved.keepFileDate = 1;
  saved.outputCodePage = 437;
  saved.inputCodePage = 437;
  StoredDialogState state;
  ASSERT_TRUE(SaveSettings(store_, saved, state));
  DWORD dword = 437;
  ASSERT_EQ(RegSetKeyValueW(HKEY_CURRENT_USER, kKey, L"7", REG_DWORD, &dword, sizeof dword),
            ERROR_SUCCESS);

  ProgramSettings loaded;
  ASSERT_TRUE(LoadSettings(store_, loaded, state));
  EXPECT_EQ(loaded.keepFileDate, 1);
  EXPECT_EQ(loaded.outputCodePage, 437);
  EXPECT_EQ(loaded.inputCodePage, 0);
  EXPECT_EQ(TypeOf(L"7"), static_cast<DWORD>(REG_BINARY));
}

TEST_F(RegistrySettings, SettingsSurviveAReload) {
  ProgramSettings saved;
  saved.logDirectory = u"C:\\Logs \x00E9";
  StoredDialogState state;
  state.searchPath = u"\"C:\\Work\"";
  state.recentFolders = {u"C:\\Work", u"C:\\Old"};
  ASSERT_TRUE(SaveSettings(store_, saved, state));
  ProgramSettings loaded;
  StoredDialogState back;
  ASSERT_TRUE(LoadSettings(store_, loaded, back));
  EXPECT_EQ(loaded.logDirectory, u"C:\\Logs \x00E9");
  EXPECT_EQ(back.searchPath, u"\"C:\\Work\"");
  EXPECT_EQ(back.recentFolders, state.recentFolders);
}

TEST_F(RegistrySettings, DamagedTextCountStopsTheLoadAndTheSetIsRewritten) {
  ProgramSettings settings;
  StoredDialogState state;
  state.searchPath = u"\"C:\\Work\"";
  ASSERT_TRUE(SaveSettings(store_, settings, state));
  const DWORD count = 0x7FFFFFFF;  // the characters value holds 18 bytes
  ASSERT_EQ(RegSetKeyValueW(HKEY_CURRENT_USER, kKey, L"13", REG_BINARY, &count, sizeof count),
            ERROR_SUCCESS);

  StoredDialogState back;
  back.searchPath = u"kept";
  ASSERT_TRUE(LoadSettings(store_, settings, back));
  EXPECT_EQ(back.searchPath, u"kept");
  DWORD rewritten = 0;
  DWORD size = sizeof rewritten;
  ASSERT_EQ(RegGetValueW(HKEY_CURRENT_USER, kKey, L"13", RRF_RT_REG_BINARY, nullptr, &rewritten,
                         &size),
            ERROR_SUCCESS);
  EXPECT_EQ(rewritten, 8u);
}
