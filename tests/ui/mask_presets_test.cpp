#include "ui/mask_presets.h"

#include "platform/program_files.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

using ::testing::ElementsAre;
using ::testing::IsEmpty;

namespace {

class MaskPresets : public ::testing::Test {
 protected:
  void SetUp() override {
    path_ = std::filesystem::temp_directory_path() /
            ("voxalon_ext_" + std::to_string(reinterpret_cast<uintptr_t>(this)) + ".txt");
  }
  void TearDown() override { std::filesystem::remove(path_); }

  std::vector<std::u16string> LoadWith(const std::string& bytes) {
    std::ofstream(path_, std::ios::binary) << bytes;
    return LoadMaskPresets({path_.u16string()});
  }

  std::filesystem::path path_;
};

}  // namespace

TEST_F(MaskPresets, MissingFileGivesTheBuiltInPresetsInOrder) {
  EXPECT_THAT(
      LoadMaskPresets({path_.u16string()}),
      ElementsAre(u"\"*.*\"", u"\"*.txt\"", u"\"*.rtf\"", u"\"*.doc\"", u"\"*.bat\", \"*.cmd\"",
                  u"\"*.htm\", \"*.html\"", u"\"*.cfg\", \"*.conf\"", u"\"*.xml\", \"*.xsl\""));
}

TEST_F(MaskPresets, EachLineIsOnePresetWithoutItsLineBreak) {
  EXPECT_THAT(LoadWith("\"*.c\"\n\"*.h\", \"*.hpp\"\r\n\"*.log\""),
              ElementsAre(u"\"*.c\"", u"\"*.h\", \"*.hpp\"", u"\"*.log\""));
  EXPECT_THAT(LoadWith("a\n\nb\n"), ElementsAre(u"a", u"", u"b"));
}

TEST_F(MaskPresets, EmptyFileGivesNoPresets) {
  EXPECT_THAT(LoadWith(""), IsEmpty());
}

TEST_F(MaskPresets, LongLineArrivesInPiecesAndBytesAreWidened) {
  std::vector<std::u16string> presets = LoadWith(std::string(1030, 'x') + "\n\xE9\n");
  ASSERT_EQ(presets.size(), 3u);
  EXPECT_EQ(presets[0], std::u16string(1023, u'x'));
  EXPECT_EQ(presets[1], std::u16string(7, u'x'));
  EXPECT_EQ(presets[2], u"\xE9");
}

TEST(MaskPresetFiles, CurrentFolderFirstThenBesideTheProgram) {
  namespace fs = std::filesystem;
  const fs::path previous = fs::current_path();
  const fs::path current = fs::temp_directory_path() / "voxalon_ext_current";
  const fs::path besideProgram = fs::path(platform::ProgramFolder()) / "ext.txt";
  ASSERT_FALSE(fs::exists(besideProgram));
  fs::create_directories(current);
  fs::current_path(current);
  struct Case {
    bool inCurrent, beside;
    std::u16string first;
  } cases[] = {{true, true, u"current"}, {false, true, u"beside"}, {false, false, u"\"*.*\""}};
  for (const Case& c : cases) {
    fs::remove(current / "ext.txt");
    fs::remove(besideProgram);
    if (c.inCurrent)
      std::ofstream(current / "ext.txt") << "current\n";
    if (c.beside)
      std::ofstream(besideProgram) << "beside\n";
    const std::vector<std::u16string> presets = LoadMaskPresets(MaskPresetFiles());
    ASSERT_FALSE(presets.empty());
    EXPECT_EQ(presets.front(), c.first);
  }
  fs::current_path(previous);
  fs::remove(besideProgram);
  fs::remove_all(current);
}
