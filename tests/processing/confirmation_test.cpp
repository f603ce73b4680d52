#include "processing/confirmation.h"

#include <gtest/gtest.h>

#include <vector>

#include "processing/confirmation_text.h"
#include "run/record/run_channel.h"

namespace {

// Answers each question with the next scripted answer and counts the questions.
class ScriptedWindow : public RunChannel {
 public:
  explicit ScriptedWindow(std::vector<ConfirmAnswer> answers) : answers_(std::move(answers)) {}
  void SendResult(ResultMessage) override {}
  ConfirmAnswer SendConfirmation(const CFileResult::replace_info&, const CFileResult&) override {
    return answers_.at(asked++);
  }
  size_t asked = 0;

 private:
  std::vector<ConfirmAnswer> answers_;
};

}  // namespace

TEST(AskConfirmation, EachAnswerStandsUntilAToAllAnswer) {
  ScriptedWindow window({ConfirmAnswer::No, ConfirmAnswer::Yes, ConfirmAnswer::YesToAll});
  RunParameters parameters;
  parameters.targetWindow = &window;
  CFileResult file;
  std::vector<bool> consents;
  for (int i = 0; i < 5; ++i)
    consents.push_back(AskConfirmation(parameters, {0, i}, file));
  EXPECT_EQ(consents, (std::vector<bool>{false, true, true, true, true}));
  EXPECT_EQ(window.asked, 3u) << "no question after Yes To All";
  EXPECT_EQ(parameters.confirmState, ConfirmAnswer::YesToAll);
}

TEST(AskConfirmation, NoToAllDeclinesTheRestWithoutAsking) {
  ScriptedWindow window({ConfirmAnswer::NoToAll});
  RunParameters parameters;
  parameters.targetWindow = &window;
  CFileResult file;
  EXPECT_FALSE(AskConfirmation(parameters, {0, 0}, file));
  EXPECT_FALSE(AskConfirmation(parameters, {3, 1}, file));
  EXPECT_EQ(window.asked, 1u);
}

TEST(ConfirmationText, ThreeLinesWithPositionsFromOne) {
  EXPECT_EQ(ConfirmationText(u"C:\\w\\a.txt", {0, 0}),
            u"The following file:\n\"C:\\w\\a.txt\"\n(line 1, character 1) will be processed. "
            u"Continue?");
  EXPECT_EQ(ConfirmationText(u"x", {9, 41}),
            u"The following file:\n\"x\"\n(line 10, character 42) will be processed. Continue?");
}
