#include "processing/search/plain_name_search.h"

#include <gtest/gtest.h>

#include <vector>

#include "tests/support/recording_channel.h"

namespace {

struct NameSearch : testing::Test {
  NameSearch() {
    parameters.targetWindow = &window;
    parameters.confirmState = ConfirmAnswer::Ask;
  }

  // Runs the search on the name; returns the new name.
  std::u16string Search(ActionType action, std::u16string name, std::u16string find,
                        std::u16string replace = u"") {
    parameters.action = action;
    parameters.findText = std::move(find);
    parameters.replaceText = std::move(replace);
    file.name = name;
    SearchNamePlain(parameters, file, name);
    return name;
  }

  std::vector<std::int64_t> Recorded() const {
    std::vector<std::int64_t> characters;
    for (const CFileResult::replace_info& match : file.matches) {
      EXPECT_EQ(match.line, 0);
      characters.push_back(match.character);
    }
    return characters;
  }

  RecordingChannel window;
  RunParameters parameters;
  CFileResult file;
};

using Positions = std::vector<std::int64_t>;

}  // namespace

TEST_F(NameSearch, ReplaceChangesEveryOccurrence) {
  EXPECT_EQ(Search(ActionType::Replace, u"old_old.txt", u"old", u"new"), u"new_new.txt");
  EXPECT_EQ(Recorded(), (Positions{0, 4}));
  EXPECT_EQ(window.AskedCharacters(), (Positions{0, 4}));
}

TEST_F(NameSearch, ReplaceGoesOnAfterTheInsertedText) {
  // A replacement that contains the find text is not searched again.
  EXPECT_EQ(Search(ActionType::Replace, u"aa", u"a", u"aa"), u"aaaa");
  EXPECT_EQ(Recorded(), (Positions{0, 2}));
}

TEST_F(NameSearch, WithoutCaseSensitivityUpperAndLowerCaseAreAlike) {
  EXPECT_EQ(Search(ActionType::Replace, u"a.txt", u"TXT", u"doc"), u"a.doc");
  EXPECT_EQ(Recorded(), (Positions{2}));
  file.matches.clear();
  EXPECT_EQ(Search(ActionType::Replace, u"A.TXT", u"txt", u"doc"), u"A.doc");
}

TEST_F(NameSearch, CaseSensitiveSearchTellsCasesApart) {
  parameters.caseSensitive = true;
  EXPECT_EQ(Search(ActionType::Replace, u"a.txt", u"TXT", u"doc"), u"a.txt");
  EXPECT_TRUE(file.matches.empty());
  EXPECT_TRUE(window.asked.empty());
}

TEST_F(NameSearch, NonAsciiLettersFoldToo) {
  EXPECT_EQ(Search(ActionType::Delete, u"ÄRGER-ärger", u"ä"), u"RGER-rger");
  EXPECT_EQ(Recorded(), (Positions{0, 5}));
}

TEST_F(NameSearch, DeleteRemovesEveryOccurrence) {
  EXPECT_EQ(Search(ActionType::Delete, u"report_copy.txt", u"_copy"), u"report.txt");
  file.matches.clear();
  // Removal searches on at the same place, so occurrences brought together are found too.
  EXPECT_EQ(Search(ActionType::Delete, u"aaa", u"a"), u"");
  EXPECT_EQ(Recorded(), (Positions{0, 0, 0}));
}

TEST_F(NameSearch, PlaceBeforeAndAfterInsertAtEveryOccurrence) {
  EXPECT_EQ(Search(ActionType::PlaceBefore, u"abab", u"b", u"x"), u"axbaxb");
  EXPECT_EQ(Recorded(), (Positions{1, 4}));
  file.matches.clear();
  EXPECT_EQ(Search(ActionType::PlaceAfter, u"abab", u"a", u"a"), u"aabaab");
  EXPECT_EQ(Recorded(), (Positions{0, 3}));
}

TEST_F(NameSearch, FindOnlyRecordsTheFirstOccurrenceWithoutAsking) {
  EXPECT_EQ(Search(ActionType::FindOnly, u"banana", u"a"), u"banana");
  EXPECT_EQ(Recorded(), (Positions{1}));
  EXPECT_TRUE(window.asked.empty());
}

TEST_F(NameSearch, AddToBeginningAndEndChangeTheNameOnce) {
  EXPECT_EQ(Search(ActionType::AddToBeginning, u"a_a.txt", u"a", u"new-"), u"new-a_a.txt");
  EXPECT_EQ(Recorded(), (Positions{0}));
  file.matches.clear();
  EXPECT_EQ(Search(ActionType::AddToEnd, u"a_a.txt", u"_a", u".bak"), u"a_a.txt.bak");
  EXPECT_EQ(Recorded(), (Positions{1}));
  file.matches.clear();
  EXPECT_EQ(Search(ActionType::AddToEnd, u"a.txt", u"zzz", u".bak"), u"a.txt");
  EXPECT_TRUE(file.matches.empty());
}

TEST_F(NameSearch, ADeclinedFirstOccurrenceEndsAddToBeginning) {
  window.answers = {ConfirmAnswer::No};
  EXPECT_EQ(Search(ActionType::AddToBeginning, u"a_a", u"a", u"x"), u"a_a");
  EXPECT_TRUE(file.matches.empty());
  EXPECT_EQ(window.AskedCharacters(), (Positions{0}));
}

TEST_F(NameSearch, ADeclinedMatchIsSkippedAndTheSearchGoesOn) {
  window.answers = {ConfirmAnswer::No, ConfirmAnswer::Yes, ConfirmAnswer::No};
  EXPECT_EQ(Search(ActionType::Replace, u"a-a-a", u"a", u"bb"), u"a-bb-a");
  EXPECT_EQ(window.AskedCharacters(), (Positions{0, 2, 5}));
  EXPECT_EQ(Recorded(), (Positions{2}));
}

TEST_F(NameSearch, NoToAllLeavesTheNameAndStandsForLaterFiles) {
  window.answers = {ConfirmAnswer::NoToAll};
  EXPECT_EQ(Search(ActionType::Delete, u"x_x_x", u"x"), u"x_x_x");
  EXPECT_TRUE(file.matches.empty());
  EXPECT_EQ(Search(ActionType::Delete, u"xx", u"x"), u"xx");
  EXPECT_EQ(window.AskedCharacters(), (Positions{0})) << "asked once for the whole run";
}
