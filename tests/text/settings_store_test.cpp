#include "text/settings_store.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

using ::testing::ElementsAre;

namespace {

std::vector<unsigned char> Number(std::int32_t value) {
  auto bits = static_cast<std::uint32_t>(value);
  return {static_cast<unsigned char>(bits), static_cast<unsigned char>(bits >> 8),
          static_cast<unsigned char>(bits >> 16), static_cast<unsigned char>(bits >> 24)};
}

std::vector<unsigned char> Characters(const std::u16string& text) {
  const auto* bytes = reinterpret_cast<const unsigned char*>(text.data());
  return {bytes, bytes + text.size() * 2};
}

StoredDialogState SampleState() {
  StoredDialogState state;
  state.searchPath = u"\"C:\\Work\"";
  state.masks = u"\"*.txt\"";
  state.recentFolders = {u"C:\\Work", u"D:\\Old"};
  state.includeSubfolders = 1;
  state.action = 4;
  state.useVariables = 1;
  state.findHistory = {u"zebra", u"two\r\nlines"};
  state.maskHistory = {u"*.txt, *.md"};
  state.excludeHistory = {u".git\\, bin\\"};
  return state;
}

const char16_t* const kAllValues[] = {u"1",  u"2",  u"3",  u"4",  u"5",  u"6",  u"7",  u"8",
                                      u"9",  u"10", u"11", u"12", u"13", u"14", u"15", u"16",
                                      u"17", u"18", u"19", u"20", u"21", u"22", u"23", u"25",
                                      u"26", u"27", u"28", u"29", u"30", u"31", u"45", u"46",
                                      u"47", u"48", u"49", u"50", u"51", u"55", u"56", u"57",
                                      u"58", u"59", u"63"};

}  // namespace

TEST(SettingsStore, FirstStartWritesEveryValueWithDefaults) {
  MemorySettingsKeyStore store;
  ProgramSettings settings;
  settings.maxFilesShown = 99;  // replaced by the default
  StoredDialogState state;
  state.masks = u"\"*.*\"";
  state.includeSubfolders = 1;
  EXPECT_TRUE(LoadSettings(store, settings, state));
  EXPECT_EQ(settings.maxFilesShown, 0);
  EXPECT_EQ(state.masks, u"\"*.*\"") << "the dialog's fields stay as they are";
  EXPECT_EQ(store.values.size(), std::size(kAllValues));
  for (const char16_t* name : kAllValues)
    EXPECT_TRUE(store.values.count(name)) << static_cast<int>(name[0]);
  EXPECT_EQ(store.values[u"5"].bytes, Number(1)) << "searchHidden";
  EXPECT_EQ(store.values[u"10"].bytes, Number(3)) << "newLineMode";
  EXPECT_EQ(store.values[u"11"].bytes, Number(0)) << "empty log directory: zero count";
  EXPECT_TRUE(store.values[u"12"].bytes.empty()) << "and an empty data value";
  EXPECT_EQ(store.values[u"16"].bytes, Characters(u"\"*.*\""));
  EXPECT_EQ(store.values[u"19"].bytes, Number(1));
}

TEST(SettingsStore, SaveThenLoadRestoresEverything) {
  MemorySettingsKeyStore store;
  ProgramSettings saved;
  saved.keepFileDate = 1;
  saved.inputCodePage = 1252;
  saved.outputCodePage = -2;
  saved.logDirectory = u"C:\\Logs";
  saved.backupDirectory = u"C:\\Backup";
  saved.logType = 2;
  saved.searchOnlineOnly = 1;
  saved.editorCommand = u"ed.exe %path%";
  ASSERT_TRUE(SaveSettings(store, saved, SampleState()));

  ProgramSettings loaded;
  StoredDialogState state;
  ASSERT_TRUE(LoadSettings(store, loaded, state));
  EXPECT_EQ(loaded.keepFileDate, 1);
  EXPECT_EQ(loaded.inputCodePage, 1252);
  EXPECT_EQ(loaded.outputCodePage, -2);
  EXPECT_EQ(loaded.logDirectory, u"C:\\Logs");
  EXPECT_EQ(loaded.backupDirectory, u"C:\\Backup");
  EXPECT_EQ(loaded.logType, 2);
  EXPECT_EQ(loaded.searchOnlineOnly, 1);
  EXPECT_EQ(state.searchPath, u"\"C:\\Work\"");
  EXPECT_EQ(state.masks, u"\"*.txt\"");
  EXPECT_THAT(state.recentFolders, ElementsAre(u"C:\\Work", u"D:\\Old"));
  EXPECT_EQ(state.includeSubfolders, 1);
  EXPECT_EQ(state.action, 4);
  EXPECT_EQ(state.useVariables, 1);
  EXPECT_EQ(loaded.editorCommand, u"ed.exe %path%");
  EXPECT_THAT(state.findHistory, ElementsAre(u"zebra", u"two\r\nlines"));
  EXPECT_TRUE(state.replaceHistory.empty());
  EXPECT_THAT(state.maskHistory, ElementsAre(u"*.txt, *.md"));
  EXPECT_THAT(state.excludeHistory, ElementsAre(u".git\\, bin\\"));
  EXPECT_EQ(store.values[u"18"].bytes, Characters(u"\"C:\\Work\",\"D:\\Old\""));
}

TEST(SettingsStore, MistypedValueStopsTheLoadAndRewritesTheSet) {
  MemorySettingsKeyStore store;
  ProgramSettings stored;
  stored.keepFileDate = 1;      // "1"
  stored.searchHidden = 0;      // "5"
  stored.outputCodePage = 850;  // "6"
  stored.inputCodePage = 850;   // "7"
  stored.logType = 2;           // "8"
  ASSERT_TRUE(SaveSettings(store, stored, SampleState()));
  store.values[u"7"].binary = false;  // stored as a DWORD

  ProgramSettings loaded;
  StoredDialogState state;
  EXPECT_TRUE(LoadSettings(store, loaded, state));
  EXPECT_EQ(loaded.keepFileDate, 1);
  EXPECT_EQ(loaded.searchHidden, 0);
  EXPECT_EQ(loaded.outputCodePage, 850) << "the first six keep their stored values";
  EXPECT_EQ(loaded.inputCodePage, 0) << "the rest keep their defaults";
  EXPECT_EQ(loaded.logType, 1);
  EXPECT_EQ(state.searchPath, u"");
  EXPECT_TRUE(store.values[u"7"].binary) << "the whole set is rewritten as binary";
  EXPECT_EQ(store.values[u"7"].bytes, Number(0));
}

TEST(SettingsStore, OversizedOrMissingValuesEndTheLoad) {
  MemorySettingsKeyStore store;
  ASSERT_TRUE(SaveSettings(store, ProgramSettings(), SampleState()));
  store.values[u"9"].bytes = {1, 0, 0, 0, 0};  // five bytes for a number
  ProgramSettings loaded;
  loaded.newLineMode = 2;
  StoredDialogState state;
  EXPECT_TRUE(LoadSettings(store, loaded, state));
  EXPECT_EQ(loaded.newLineMode, 2) << "values after the failure are not read";

  store.values.erase(u"14");
  state = {};
  EXPECT_TRUE(LoadSettings(store, loaded, state));
  EXPECT_EQ(state.masks, u"");
}

TEST(SettingsStore, ASetWithoutTheOnlineOnlyValueKeepsEveryStoredOne) {
  MemorySettingsKeyStore store;
  ProgramSettings stored;
  stored.keepFileDate = 1;
  stored.makeBackup = 0;
  ASSERT_TRUE(SaveSettings(store, stored, SampleState()));
  store.values.erase(u"31");
  ProgramSettings loaded;
  loaded.searchOnlineOnly = 1;
  StoredDialogState state;
  EXPECT_TRUE(LoadSettings(store, loaded, state));
  EXPECT_EQ(loaded.keepFileDate, 1);
  EXPECT_EQ(loaded.makeBackup, 0);
  EXPECT_EQ(state.useVariables, 1);
  EXPECT_EQ(store.values[u"31"].bytes, Number(1)) << "added with the value in the record";
}

TEST(SettingsStore, FilterValuesComeBackAndAnOlderSetReadsThemAsOn) {
  MemorySettingsKeyStore store;
  ProgramSettings stored;
  stored.skipBinaryFiles = 0;
  stored.useByteOrderMarks = 0;
  stored.minFileSize = u"1K";
  stored.modifiedBefore = u"2024-05-31";
  StoredDialogState state = SampleState();
  state.exclusions = u".git\\,*.min.js";
  ASSERT_TRUE(SaveSettings(store, stored, state));
  ProgramSettings loaded;
  StoredDialogState loadedState;
  ASSERT_TRUE(LoadSettings(store, loaded, loadedState));
  EXPECT_EQ(loaded.skipBinaryFiles, 0);
  EXPECT_EQ(loaded.useByteOrderMarks, 0);
  EXPECT_EQ(loaded.minFileSize, u"1K");
  EXPECT_EQ(loaded.maxFileSize, u"");
  EXPECT_EQ(loaded.modifiedBefore, u"2024-05-31");
  EXPECT_EQ(loadedState.exclusions, u".git\\,*.min.js");
  EXPECT_EQ(store.values[u"51"].bytes, Characters(u".git\\,*.min.js"));

  for (const char16_t* name : {u"45", u"46", u"47", u"48", u"49", u"50", u"51"})
    store.values.erase(name);
  ProgramSettings older;
  StoredDialogState olderState;
  ASSERT_TRUE(LoadSettings(store, older, olderState));
  EXPECT_EQ(older.skipBinaryFiles, 1);
  EXPECT_EQ(older.useByteOrderMarks, 1);
  EXPECT_EQ(olderState.masks, u"\"*.txt\"") << "the older values are kept";
  EXPECT_EQ(store.values[u"45"].bytes, Number(1)) << "and the new ones added";
  store.values[u"49"].bytes = {1, 2, 3};  // an odd size
  EXPECT_TRUE(LoadSettings(store, older, olderState));
  EXPECT_EQ(older.modifiedAfter, u"");
}

TEST(SettingsStore, TextLongerThanItsCountFails) {
  MemorySettingsKeyStore store;
  ASSERT_TRUE(SaveSettings(store, ProgramSettings(), SampleState()));
  store.values[u"13"].bytes = Number(4);  // two characters announced, nine stored
  ProgramSettings loaded;
  StoredDialogState state;
  state.searchPath = u"kept";
  LoadSettings(store, loaded, state);
  EXPECT_EQ(state.searchPath, u"kept");
}

// A damaged count must not size the buffer: the load fails there and the set is rewritten.
TEST(SettingsStore, TextCountBeyondItsStoredCharactersFails) {
  for (std::int32_t count : {20, 0x7FFFFFFF}) {  // 18 bytes stored
    MemorySettingsKeyStore store;
    ASSERT_TRUE(SaveSettings(store, ProgramSettings(), SampleState()));
    store.values[u"13"].bytes = Number(count);
    ProgramSettings loaded;
    StoredDialogState state;
    state.searchPath = u"kept";
    EXPECT_TRUE(LoadSettings(store, loaded, state));
    EXPECT_EQ(state.searchPath, u"kept") << count;
    EXPECT_EQ(state.masks, u"") << "values after the failure are not read";
    EXPECT_EQ(store.values[u"13"].bytes, Number(8));
  }
}

TEST(SettingsStore, RecentFolderWithACommaComesBackAsTwo) {
  MemorySettingsKeyStore store;
  StoredDialogState state = SampleState();
  state.recentFolders = {u"C:\\a,b"};
  ASSERT_TRUE(SaveSettings(store, ProgramSettings(), state));
  ProgramSettings loaded;
  StoredDialogState back;
  ASSERT_TRUE(LoadSettings(store, loaded, back));
  EXPECT_THAT(back.recentFolders, ElementsAre(u"C:\\a", u"b"));
}

TEST(SettingsStore, UnparsableRecentFoldersEndTheLoadKeepingTheList) {
  MemorySettingsKeyStore store;
  ASSERT_TRUE(SaveSettings(store, ProgramSettings(), SampleState()));
  store.values[u"17"].bytes = Number(6);
  store.values[u"18"].bytes = Characters(u"a,,b");
  ProgramSettings loaded;
  StoredDialogState state;
  state.recentFolders = {u"C:\\Current"};
  state.action = 6;
  EXPECT_TRUE(LoadSettings(store, loaded, state));
  EXPECT_THAT(state.recentFolders, ElementsAre(u"C:\\Current"));
  EXPECT_EQ(state.action, 6) << "values after the folders keep their current value";
}

TEST(SettingsStore, WriteProtectedKeyFailsTheSave) {
  MemorySettingsKeyStore store;
  ASSERT_TRUE(SaveSettings(store, ProgramSettings(), SampleState()));
  store.writeProtected = true;
  EXPECT_FALSE(SaveSettings(store, ProgramSettings(), SampleState()));
  // The start-up recovery save fails the same way; the caller decides what to show.
  store.values.erase(u"3");
  ProgramSettings loaded;
  StoredDialogState state;
  EXPECT_FALSE(LoadSettings(store, loaded, state));
}
