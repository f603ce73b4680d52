// The window side of a run without a dialog: a recording view, a prompt that answers from a
// script, the queued channel and the controller, all on the test's thread.
#pragma once

#include <chrono>
#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "run/queued_run_channel.h"
#include "run/run_controller.h"
#include "run/search_worker.h"

struct PromptRecord {
  std::u16string text;
  std::u16string caption;
  PromptButtons buttons;
};

class ScriptedPrompt : public Prompt {
 public:
  PromptAnswer Show(const std::u16string& text, const std::u16string& caption,
                    PromptButtons buttons) override;

  std::vector<PromptRecord> shown;
  std::deque<PromptAnswer> answers;  // the next answers; OK once they run out
};

struct RowRecord {
  std::u16string name;
  int row;
  size_t index;
};

class FakeView : public RunView {
 public:
  void SetStatusText(const std::u16string& text) override { statusTexts.push_back(text); }
  void ClearStatusEdit() override { ++statusEditClears; }
  void ClearTextFields() override { ++textFieldClears; }
  int ResultRowCount() const override { return static_cast<int>(rows.size()); }
  void AddResultRow(const CFileResult& result, int row, size_t index) override;
  void DeleteAllResultRows() override { rows.clear(); }
  bool IsRenameModeChecked() const override { return renameModeChecked; }
  std::int32_t ShownAction() const override { return shownAction; }
  void ApplyRunningUi(const RunningUi& ui) override { uiStates.push_back(ui); }
  void WriteErrorLog(const std::u16string& text) override { errorLog.push_back(text); }
  ConfirmAnswer ShowConfirmation(const std::u16string& fullPath,
                                 const CFileResult::replace_info& position,
                                 const ChangeLines* change) override;

  std::u16string status() const { return statusTexts.empty() ? u"" : statusTexts.back(); }
  int CountStatus(const std::u16string& prefix) const;

  std::vector<std::u16string> statusTexts;
  std::vector<RowRecord> rows;
  std::vector<RunningUi> uiStates;
  std::vector<std::u16string> errorLog;
  int statusEditClears = 0;
  int textFieldClears = 0;
  bool renameModeChecked = false;
  std::int32_t shownAction = 0;
  // Called after each added row, on the window thread.
  std::function<void()> onRowAdded;
  std::vector<std::u16string> confirmationPaths;
  ConfirmAnswer confirmationAnswer = ConfirmAnswer::Yes;
};

// What a test's file processor saw, in the order the walk handed the files over.
struct ProcessedFiles {
  std::vector<std::u16string> paths;
  std::vector<std::uint64_t> sizes;
};

struct RunHarness {
  RunHarness();
  ~RunHarness();

  // Every file gets one match when withMatches, none otherwise.
  void RecordFiles(bool withMatches);
  // Run, then serves the worker until the run is idle again; false on a time-out.
  bool Run(const RunFields& fields);
  bool WaitUntilIdle(std::chrono::milliseconds timeout = std::chrono::seconds(60));

  QueuedRunChannel channel;
  FakeView view;
  ScriptedPrompt prompt;
  ProgramSettings settings;
  std::vector<std::u16string> recentFolders;
  RunController controller{view, prompt, channel, settings, recentFolders};
  ProcessedFiles processed;  // written by the worker, read once the run is idle
};

// Fields for a run over one folder with the given masks: Find only, "x" as the text.
RunFields FieldsFor(const std::u16string& folders, const std::u16string& masks,
                    bool includeSubfolders = true);
