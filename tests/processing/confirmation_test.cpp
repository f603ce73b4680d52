#include "processing/confirmation.h"

#include <gtest/gtest.h>

#include <vector>

#include "processing/confirmation_text.h"
#include "tests/support/recording_channel.h"

TEST(AskConfirmation, EachAnswerStandsUntilAToAllAnswer) {
  RecordingChannel window({ConfirmAnswer::No, ConfirmAnswer::Yes, ConfirmAnswer::YesToAll});
  RunParameters parameters;
  parameters.targetWindow = &window;
  CFileResult file;
  std::vector<bool> consents;
  for (int i = 0; i < 5; ++i)
    consents.push_back(AskConfirmation(parameters, {0, i}, file));
  EXPECT_EQ(consents, (std::vector<bool>{false, true, true, true, true}));
  EXPECT_EQ(window.asked.size(), 3u) << "no question after Yes To All";
  EXPECT_EQ(parameters.confirmState, ConfirmAnswer::YesToAll);
}

TEST(AskConfirmation, NoToAllDeclinesTheRestWithoutAsking) {
  RecordingChannel window({ConfirmAnswer::NoToAll});
  RunParameters parameters;
  parameters.targetWindow = &window;
  CFileResult file;
  EXPECT_FALSE(AskConfirmation(parameters, {0, 0}, file));
  EXPECT_FALSE(AskConfirmation(parameters, {3, 1}, file));
  EXPECT_EQ(window.asked.size(), 1u);
}

TEST(ConfirmationText, ThreeLinesWithPositionsFromOne) {
  EXPECT_EQ(ConfirmationText(u"C:\\w\\a.txt", {0, 0}),
            u"The following file:\n\"C:\\w\\a.txt\"\n(line 1, character 1) will be processed. "
            u"Continue?");
  EXPECT_EQ(ConfirmationText(u"x", {9, 41}),
            u"The following file:\n\"x\"\n(line 10, character 42) will be processed. Continue?");
}
