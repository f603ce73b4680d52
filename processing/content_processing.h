// What a run does to the content of one found file, on the worker thread.
#pragma once

#include <memory>

#include "platform/file_attributes.h"
#include "run/file_result.h"
#include "run/run_types.h"
#include "text/program_settings.h"

class SearchWorker;

// The result text of a file whose content is left alone for its attributes (read-only outside
// Find only, hidden, online-only: reading would download it), or 0 when the content is read.
unsigned AttributeSkipText(const platform::FileAttributes& attributes,
                           const ProgramSettings& settings, ActionType action);

// Takes over the entry and reports it to the window with exactly one result message.
void ProcessFileContent(SearchWorker& worker, std::unique_ptr<CFileResult> entry);
