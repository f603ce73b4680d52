#include "run/standard_run_checks.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "platform/string_table.h"
#include "tests/run/run_harness.h"
#include "tests/support/temp_tree.h"
#include "text/regex/regex_compiler.h"
#include "text/text_format.h"

namespace {

class StandardChecks : public ::testing::Test {
 protected:
  StandardChecks() { run.controller.SetChecks(StandardRunChecks(program)); }

  RunFields Replace(std::u16string find, std::u16string replace) const {
    RunFields fields = FieldsFor(tree.root(), u"*.txt");
    fields.action = ActionType::Replace;
    fields.findText = std::move(find);
    fields.replaceText = std::move(replace);
    return fields;
  }

  std::string Content(std::u16string_view name) const {
    std::ifstream in(tree.FsPath(name), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }

  void ExpectRefusedWith(const RunFields& fields, const std::u16string& message) {
    run.controller.OnRun(fields);
    EXPECT_EQ(run.controller.runState(), RunState::Idle);
    ASSERT_EQ(run.prompt.shown.size(), 1u);
    EXPECT_EQ(run.prompt.shown[0].text, message);
    EXPECT_EQ(Content(u"a.txt"), "a.txt 100");
  }

  TempTree tree;
  RegexProgram program;
  RunHarness run;
};

TEST_F(StandardChecks, BrokenVariablesInEitherTextStopTheRun) {
  tree.MakeFile(u"a.txt", "a.txt 100");
  RunFields fields = Replace(u"100", u"100%");
  fields.useVariables = true;
  ExpectRefusedWith(fields, FormatString(IDS_VARIABLE_PARSE_ERROR,
                                         {platform::LoadText(IDS_VARIABLE_UNEXPECTED_PERCENT)}));
  run.prompt.shown.clear();
  fields = Replace(u"%size%", u"x");
  fields.useVariables = true;
  ExpectRefusedWith(fields, FormatString(IDS_VARIABLE_PARSE_ERROR, {u"Unknown varable 'size'"}));
}

TEST_F(StandardChecks, PatternThatDoesNotCompileStopsTheRun) {
  tree.MakeFile(u"a.txt", "a.txt 100");
  RunFields fields = Replace(u"(1", u"x");
  fields.useRegex = true;
  ExpectRefusedWith(fields, RegexErrorMessage(kRegexParenthesisExpected));
}

TEST_F(StandardChecks, RunReplacesTextInAFolderTreeEndToEnd) {
  tree.MakeFile(u"a.txt", "a.txt 100");
  tree.MakeFile(u"sub/b.txt", "b 100 100");
  tree.MakeFile(u"sub/c.txt", "none");
  tree.MakeFile(u"sub/d.dat", "100");
  RunFields fields = Replace(u"100", u"[%filename%]");
  fields.useVariables = true;
  ASSERT_TRUE(run.Run(fields));
  EXPECT_EQ(Content(u"a.txt"), "a.txt [a.txt]");
  EXPECT_EQ(Content(u"sub/b.txt"), "b [b.txt] [b.txt]");
  EXPECT_EQ(Content(u"sub/c.txt"), "none");
  EXPECT_EQ(Content(u"sub/d.dat"), "100");
  ASSERT_EQ(run.controller.results().size(), 2u);
  for (const auto& result : run.controller.results()) {
    const std::int64_t count = result->name == u"a.txt" ? 1 : 2;
    EXPECT_EQ(result->resultText, FormatString(IDS_MATCHES_FOUND, {count}));
  }
  EXPECT_EQ(run.view.status(), FormatString(IDS_FOUND_FILES, {std::int64_t{2}}));

  fields = Replace(u"\\[[a-z]+", u"<");
  fields.useRegex = true;
  ASSERT_TRUE(run.Run(fields));
  EXPECT_EQ(Content(u"a.txt"), "a.txt <.txt]");
  EXPECT_EQ(Content(u"sub/b.txt"), "b <.txt] <.txt]");
}

}  // namespace
