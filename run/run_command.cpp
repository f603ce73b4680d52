#include "run/run_command.h"

#include <algorithm>

#include "platform/absolute_path.h"
#include "platform/clock.h"
#include "run/file_limit_checks.h"
#include "platform/path_queries.h"
#include "platform/string_table.h"
#include "text/quoted_list.h"
#include "text/text_format.h"

namespace {

void ShowError(Prompt& prompt, const std::u16string& text) {
  prompt.Show(text, platform::LoadText(IDS_ERROR_CAPTION), PromptButtons::Ok);
}

bool ConfirmWarning(Prompt& prompt, unsigned textId) {
  return prompt.Show(platform::LoadText(textId), platform::LoadText(IDS_WARNING_CAPTION),
                     PromptButtons::OkCancel) == PromptAnswer::Ok;
}

// Carriage returns go; with the trailing-new-line setting on, so do line breaks at the end.
std::u16string PrepareFindText(std::u16string text, const ProgramSettings& settings) {
  std::erase(text, u'\r');
  if (settings.trimTrailingNewLines) {
    while (!text.empty() && (text.back() == u'\r' || text.back() == u'\n'))
      text.pop_back();
  }
  return text;
}

// The exclusions and the size and date limits; false, after the message, when one is malformed.
bool PrepareFilters(const RunFields& fields, const ProgramSettings& settings, Prompt& prompt,
                    RunParameters& parameters) {
  parameters.exclusions.clear();
  const bool blank = fields.exclusions.find_first_not_of(u' ') == std::u16string::npos;
  if (!blank && !ParseQuotedList(fields.exclusions, parameters.exclusions)) {
    ShowError(prompt, platform::LoadText(IDS_EXCLUSIONS_PARSE_FAILED));
    return false;
  }
  parameters.limits = {};
  std::u16string message;
  const LimitTexts texts{settings.minFileSize, settings.maxFileSize, settings.modifiedAfter,
                         settings.modifiedBefore};
  if (!ParseFileLimits(texts, platform::LocalCalendarTime(platform::CurrentFileTime()), parameters.limits, message)) {
    ShowError(prompt, message);
    return false;
  }
  return true;
}

// Checks the texts against the action: false when the run must not start.
bool CheckTextsForAction(const RunParameters& parameters, Prompt& prompt) {
  const bool noFindText = parameters.findText.empty();
  switch (parameters.action) {
    case ActionType::FindOnly:
      return true;
    case ActionType::Delete:
      return !noFindText ||
             ConfirmWarning(prompt, parameters.renameMode ? IDS_DELETE_FILES_WARNING
                                                          : IDS_DELETE_CONTENT_WARNING);
    case ActionType::Replace:
    case ActionType::PlaceBefore:
    case ActionType::PlaceAfter:
      if (parameters.replaceText.empty())
        break;
      return !noFindText || parameters.renameMode ||
             ConfirmWarning(prompt, IDS_WHOLE_CONTENT_WARNING);
    case ActionType::AddToBeginning:
    case ActionType::AddToEnd:
      if (parameters.replaceText.empty())
        break;
      return true;
  }
  ShowError(prompt, platform::LoadText(IDS_REPLACEMENT_MISSING));
  return false;
}

}  // namespace

void RecordRecentFolder(std::vector<std::u16string>& recentFolders, const std::u16string& path) {
  if (std::find(recentFolders.begin(), recentFolders.end(), path) != recentFolders.end())
    return;
  recentFolders.insert(recentFolders.begin(), path);
  if (recentFolders.size() > kMaxRecentFolders)
    recentFolders.pop_back();
}

bool PrepareRun(const RunFields& fields, RunCommandContext& context, RunParameters& parameters) {
  Prompt& prompt = context.prompt;

  if (fields.searchPaths.empty() || !ParseQuotedList(fields.searchPaths, parameters.searchPaths)) {
    ShowError(prompt, platform::LoadText(IDS_PATHS_PARSE_FAILED));
    return false;
  }
  // Every later call, the results and the log see the full path, whatever the current
  // directory: the shell's recycle bin deletes a relative path for good.
  for (std::u16string& path : parameters.searchPaths) {
    std::u16string absolute;
    if (!platform::MakeAbsolutePath(path, absolute) || !platform::IsDirectory(absolute)) {
      ShowError(prompt, FormatString(IDS_PATH_NOT_DIRECTORY, {path}));
      return false;
    }
    path = std::move(absolute);
    RecordRecentFolder(context.recentFolders, path);
  }
  if (fields.masks.empty() || !ParseQuotedList(fields.masks, parameters.masks)) {
    ShowError(prompt, platform::LoadText(IDS_MASKS_PARSE_FAILED));
    return false;
  }
  if (!PrepareFilters(fields, context.settings, prompt, parameters))
    return false;

  parameters.action = fields.action;
  parameters.caseSensitive = fields.caseSensitive;
  parameters.confirmReplace = fields.confirmReplace;
  parameters.renameMode = fields.renameMode;
  parameters.includeSubfolders = fields.includeSubfolders;
  parameters.targetWindow = context.targetWindow;
  parameters.ownerDialog = context.ownerDialog;
  parameters.confirmState = ConfirmAnswer::Ask;

  parameters.findText = PrepareFindText(fields.findText, context.settings);
  parameters.replaceText = fields.replaceText;

  if (parameters.renameMode && (parameters.findText.find(u'\n') != std::u16string::npos ||
                                parameters.replaceText.find(u'\n') != std::u16string::npos)) {
    ShowError(prompt, platform::LoadText(IDS_RENAME_SINGLE_LINE));
    return false;
  }
  if (!CheckTextsForAction(parameters, prompt))
    return false;

  parameters.regex = nullptr;
  parameters.useRegex = fields.useRegex;
  if (parameters.useRegex) {
    if (context.settings.regexMode == 1) {
      std::u16string pattern;
      for (char16_t c : parameters.findText) {
        if (c == u'\n')
          pattern += u"\\n";
        else
          pattern += c;
      }
      parameters.findText = std::move(pattern);
    }
    const RegexProgram* program = nullptr;
    std::u16string message;
    if (context.checks.compilePattern &&
        !context.checks.compilePattern(parameters.findText, parameters.caseSensitive, program,
                                       message)) {
      ShowError(prompt, message);
      return false;
    }
    parameters.regex = program;
  }

  parameters.useVariables = fields.useVariables;
  parameters.preview = fields.preview;
  // Each text whose variables the files will expand; the replacement too, so that no file ever
  // receives an error message as its new text.
  const auto variablesParse = [&](const std::u16string& text) {
    std::u16string copy = text;
    if (context.checks.checkVariables(copy))
      return true;
    ShowError(prompt, FormatString(IDS_VARIABLE_PARSE_ERROR, {copy}));
    return false;
  };
  if (context.checks.checkVariables &&
      ((ExpandsFindVariables(parameters) && !variablesParse(parameters.findText)) ||
       (ExpandsReplaceVariables(parameters) && !variablesParse(parameters.replaceText))))
    return false;

  CopySettings(context.settings, parameters.settings);
  return true;
}
