#include "ui/mask_presets.h"

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
    return LoadMaskPresets(path_.string().c_str());
  }

  std::filesystem::path path_;
};

}  // namespace

TEST_F(MaskPresets, MissingFileGivesTheBuiltInPresetsInOrder) {
  EXPECT_THAT(
      LoadMaskPresets(path_.string().c_str()),
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
