#include "tests/run/run_harness.h"

PromptAnswer ScriptedPrompt::Show(const std::u16string& text, const std::u16string& caption,
                                  PromptButtons buttons) {
  shown.push_back({text, caption, buttons});
  if (answers.empty())
    return PromptAnswer::Ok;
  PromptAnswer answer = answers.front();
  answers.pop_front();
  return answer;
}

void FakeView::AddResultRow(const CFileResult& result, int row, size_t index) {
  rows.push_back({result.name, row, index});
  if (onRowAdded)
    onRowAdded();
}

ConfirmAnswer FakeView::ShowConfirmation(const std::u16string& fullPath,
                                         const CFileResult::replace_info&, const ChangeLines*) {
  confirmationPaths.push_back(fullPath);
  return confirmationAnswer;
}

int FakeView::CountStatus(const std::u16string& prefix) const {
  int count = 0;
  for (const std::u16string& text : statusTexts)
    count += text.starts_with(prefix) ? 1 : 0;
  return count;
}

RunHarness::RunHarness() {
  channel.SetHandler(&controller);
}

RunHarness::~RunHarness() {
  controller.StopAndWait(channel);
}

void RunHarness::RecordFiles(bool withMatches) {
  controller.worker().SetFileProcessor(
      [this, withMatches](SearchWorker& worker, std::unique_ptr<CFileResult> entry) {
        processed.paths.push_back(FullPathOf(*entry));
        processed.sizes.push_back(entry->size);
        if (withMatches)
          entry->matches.push_back({0, 0});
        worker.SendFileResult(ResultStatus::FileResult, std::move(entry));
      });
}

bool RunHarness::Run(const RunFields& fields) {
  controller.OnRun(fields);
  return WaitUntilIdle();
}

bool RunHarness::WaitUntilIdle(std::chrono::milliseconds timeout) {
  return channel.ServeUntil([this] { return controller.runState() == RunState::Idle; }, timeout);
}

RunFields FieldsFor(const std::u16string& folders, const std::u16string& masks,
                    bool includeSubfolders) {
  RunFields fields;
  fields.searchPaths = folders;
  fields.masks = masks;
  fields.action = ActionType::FindOnly;
  fields.includeSubfolders = includeSubfolders;
  fields.findText = std::u16string(1, u'x');
  return fields;
}
