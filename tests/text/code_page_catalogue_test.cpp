#include "text/code_page_catalogue.h"

#include <gtest/gtest.h>

#include <set>

#include "text/program_settings.h"

TEST(CodePageCatalogue, HoldsEveryCodePageOnceWithADistinctName) {
  const CodePageCatalogue catalogue;
  EXPECT_EQ(catalogue.size(), 154u);
  std::set<CodePage> codePages;
  std::set<std::u16string> names;
  for (const auto& [codePage, name] : catalogue) {
    EXPECT_FALSE(name.empty()) << codePage;
    codePages.insert(codePage);
    names.insert(name);
  }
  EXPECT_EQ(codePages.size(), 154u);
  EXPECT_EQ(names.size(), 154u) << "the settings lists sort by name";
  EXPECT_EQ(*codePages.begin(), -2);
  EXPECT_EQ(*codePages.rbegin(), 65001);
}

TEST(CodePageCatalogue, NamesComeFromTheStringTable) {
  const CodePageCatalogue catalogue;
  const struct {
    CodePage codePage;
    std::u16string_view name;
  } rows[] = {
      {0, u"ASCII"},
      {1, u"OEM"},
      {2, u"MAC"},
      {37, u"US-Canada (IBM EBCDIC)"},
      {1252, u"Western European (Windows)"},
      {12000, u"Unicode UTF-32, little endian byte order"},
      {12001, u"Unicode UTF-32, big endian byte order"},
      {21025, u"Cyrillic Serbian-Bulgarian - IBM EBCDIC"},
      {21866, u"Cyrillic (KOI8-U)"},
      {65000, u"Unicode (UTF-7)"},
      {65001, u"Unicode (UTF-8)"},
      {-1, u"Unicode (UTF-16LE)"},
      {-2, u"Unicode (UTF-16BE)"},
  };
  for (const auto& row : rows) {
    const std::u16string* name = catalogue.Find(row.codePage);
    ASSERT_NE(name, nullptr) << row.codePage;
    EXPECT_EQ(*name, row.name) << row.codePage;
  }
  EXPECT_EQ(catalogue.Find(1200), nullptr);
  EXPECT_EQ(catalogue.Find(3), nullptr);
}

TEST(CodePageCatalogue, EverySettingsRecordBuildsItsOwn) {
  ProgramSettings source;
  ProgramSettings destination;
  EXPECT_EQ(source.catalogue.size(), 154u);
  const std::u16string* name = destination.catalogue.Find(1252);
  CopySettings(source, destination);
  EXPECT_EQ(destination.catalogue.Find(1252), name) << "CopySettings leaves the catalogue alone";
  EXPECT_NE(source.catalogue.Find(1252), name);
}
